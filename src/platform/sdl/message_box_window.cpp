#include "platform/sdl/message_box_window.h"

#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_window.h"

namespace {

// How often the box looks for its events. The box polls rather than waits: while SDL waits it
// wakes itself by sending an event to the newest window through a second display
// connection, and that event can reach the server after the box window is destroyed, which
// the X library answers by ending the program.
constexpr Uint32 kBoxPollMs = 10;

struct OpenBox {
  MessageBoxLayout layout;
  MessageBoxChoice choice;
  Surface picture;
  SdlWindow window;
  BoxText& font;

  OpenBox(MessageBoxLayout boxLayout, MsgBoxButtons buttons, const std::string& caption,
          BoxText& boxFont)
      : layout(std::move(boxLayout)),
        choice(buttons),
        picture(layout.width, layout.height, kBoxTextArea),
        window(caption, layout.width, layout.height, false),
        font(boxFont) {}

  void Redraw() {
    DrawMessageBox(picture, layout, choice, font);
    window.Present(picture, kBoxStrip);
  }
};

void ShowCentred(OpenBox& box) {
  SDL_Rect screen{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(0, &screen) == 0)
    SDL_SetWindowPosition(box.window.Handle(), screen.x + (screen.w - box.layout.width) / 2,
                          screen.y + (screen.h - box.layout.height) / 2);
  box.window.Show();
  SDL_RaiseWindow(box.window.Handle());
  box.Redraw();
}

// One event for the box; the answer when it gives one.
std::optional<MsgBoxAnswer> BoxEvent(OpenBox& box, const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      auto answer = box.choice.Key(VirtualKeyCode(event.key.keysym.sym),
                                   ShiftMask(event.key.keysym.mod), event.key.repeat != 0);
      box.Redraw();
      return answer;
    }
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT) return std::nullopt;
      box.choice.MouseDown(ButtonAt(box.layout, event.button.x, event.button.y));
      box.Redraw();
      return std::nullopt;
    case SDL_MOUSEBUTTONUP: {
      if (event.button.button != SDL_BUTTON_LEFT) return std::nullopt;
      auto answer = box.choice.MouseUp(ButtonAt(box.layout, event.button.x, event.button.y));
      box.Redraw();
      return answer;
    }
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) return box.choice.CloseRequest();
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
          event.window.event == SDL_WINDOWEVENT_SHOWN)
        box.Redraw();
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

Uint32 WindowOf(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    default:
      return 0;
  }
}

}  // namespace

std::optional<MsgBoxAnswer> RunMessageBox(const std::string& text, MsgBoxButtons buttons,
                                          const std::string& caption, BoxText& font,
                                          const std::function<void(const SDL_Event&)>& otherEvent,
                                          const std::function<bool()>& giveUp) {
  SDL_Rect screen{0, 0, 1024, 768};
  SDL_GetDisplayBounds(0, &screen);
  OpenBox box(LayOutMessageBox(text, buttons, font, screen.w), buttons, caption, font);
  if (box.window.Handle() == nullptr) {
    // Without a window there is no one to ask: take the default button.
    return buttons == MsgBoxButtons::YesNo ? MsgBoxAnswer::Yes : MsgBoxAnswer::Ok;
  }
  ShowCentred(box);
  std::optional<MsgBoxAnswer> answer;
  while (!answer) {
    if (giveUp && giveUp()) return std::nullopt;
    SDL_Event event;
    if (!SDL_PollEvent(&event)) {
      SDL_Delay(kBoxPollMs);
      continue;
    }
    if (WindowOf(event) == box.window.Id())
      answer = BoxEvent(box, event);
    else if (otherEvent)
      otherEvent(event);
  }
  return *answer;
}
