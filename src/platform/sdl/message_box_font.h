// The font of the message boxes: the game's Japanese gothic face.
#pragma once

#include <memory>

#include "platform/sdl/message_box_layout.h"

// Never null: without the font file the box still works, with its text left out (the
// reason is said once on standard error).
std::unique_ptr<BoxText> OpenBoxFont();
