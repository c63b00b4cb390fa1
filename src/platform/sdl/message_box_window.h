// The modal message box on screen: its own small window, centred, drawn with the game's
// font, answered by keys or mouse. The desktop's box is not used because it cannot be
// relied on to show Japanese.
#pragma once

#include <SDL.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/backend.h"
#include "platform/sdl/message_box_layout.h"

// Shows the box and returns only when it is answered, or with no answer once `giveUp` says
// so (it is asked between events). Every other event goes to `otherEvent` (the main window
// still repaints while the box is up, and SDL_QUIT means the display has gone).
std::optional<MsgBoxAnswer> RunMessageBox(const std::string& text, MsgBoxButtons buttons,
                                          const std::string& caption, BoxText& font,
                                          const std::function<void(const SDL_Event&)>& otherEvent,
                                          const std::function<bool()>& giveUp);
