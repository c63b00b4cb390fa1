// A small program that opens the game's windows through the real back end and reports what
// reaches it, one line per event on standard output, for the end-to-end window tests.
//   window_probe main     the main window; M shows an OK box, Q a Yes/No box; the first
//                         close request is refused, the second one ends the program
//   window_probe ask      the main window; a close request asks "終了しますか？" as the game does
//   window_probe splash   the borderless splash window at (100, 50)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/sdl/sdl_backend.h"
#include "platform/system.h"

namespace {

constexpr Colour kBackground = RGB(40, 120, 200);
constexpr Colour kMarker = RGB(250, 30, 30);   // drawn on request (key D)
constexpr Colour kPainted = RGB(30, 200, 60);  // drawn by the paint handler
constexpr const char* kCaption = "#Fumbo!2nd  （体験版）";
constexpr const char* kExitText =
    "このバージョンは体験版ですので、まだまだ制作中です。\n"
    "この下の値を作者まで送っていただけると幸いです。\n"
    "詳しくはReadme.txtをお読み下さい。\n\nFPS = 20";

const char* AnswerName(MsgBoxAnswer answer) {
  switch (answer) {
    case MsgBoxAnswer::Ok:
      return "ok";
    case MsgBoxAnswer::Yes:
      return "yes";
    default:
      return "no";
  }
}

Surface* gPicture = nullptr;

void DrawSquare(Surface& surface, int left, Colour colour) {
  for (int y = 10; y < 30; ++y)
    for (int x = left; x < left + 20; ++x) surface.SetPixel(x, y, colour);
  surface.Touch();
}

// The game background stands in as the picture; squares mark what is drawn over it.
std::unique_ptr<Surface> MakePicture(int width, int height) {
  auto surface = std::make_unique<Surface>(width, height);
  surface->SetPicture(std::make_shared<Image>(width, height, kBackground));
  DrawSquare(*surface, 10, kMarker);
  gPicture = surface.get();
  return surface;
}

// Fits the client area to the picture and centres the frame, as start-up does.
void PlaceMainWindow(Backend& backend) {
  backend.SetClientSize(WindowId::Main, 380, 400);
  int screenWidth = 0, screenHeight = 0;
  backend.ScreenSize(screenWidth, screenHeight);
  const WindowRect outer = backend.OuterRect(WindowId::Main);
  backend.Move(WindowId::Main, screenWidth / 2 - outer.width / 2,
               screenHeight / 2 - outer.height / 2);
}

void InstallHandlers(Backend& backend, bool ask) {
  static int closeRequests = 0;
  MainWindowHandlers handlers;
  handlers.KeyDown = [](int code, int shift) {
    std::printf("keydown %d %d\n", code, shift);
    if (code == 'D') DrawSquare(*gPicture, 10, kMarker);
    if (code == 'M') std::printf("answer %s\n", AnswerName(MsgBox(kExitText, MsgBoxButtons::Ok)));
    if (code == 'Q')
      std::printf("answer %s\n", AnswerName(MsgBox("終了しますか？", MsgBoxButtons::YesNo)));
  };
  handlers.KeyPress = [](int character) { std::printf("keypress %d\n", character); };
  handlers.KeyUp = [](int code, int shift) { std::printf("keyup %d %d\n", code, shift); };
  handlers.Paint = [] {
    std::printf("paint\n");
    DrawSquare(*gPicture, 40, kPainted);
  };
  handlers.QueryUnload = [ask](int& cancel) {
    std::printf("queryunload %d\n", ++closeRequests);
    if (ask) {
      CurrentBackend().Hide(WindowId::Main);
      const MsgBoxAnswer answer = MsgBox("終了しますか？", MsgBoxButtons::YesNo);
      std::printf("answer %s\n", AnswerName(answer));
      if (answer == MsgBoxAnswer::Yes) return;
      CurrentBackend().Show(WindowId::Main);
      cancel = -1;
    } else if (closeRequests == 1) {
      cancel = -1;
    }
  };
  backend.SetMainHandlers(std::move(handlers));
}

// The frame gate of the game's main loop, with a little drawing in every frame. Every 100
// frames it reports the longest frame, in milliseconds.
[[noreturn]] void RunFrames(Surface& picture) {
  std::uint32_t frameStart = GetTickCount();
  std::uint32_t longest = 0;
  for (std::uint32_t frame = 1;; ++frame) {
    while (TickSince(frameStart) < 49) Idle();
    longest = std::max(longest, TickSince(frameStart));
    frameStart = GetTickCount();
    picture.SetPixel(static_cast<int>(frame % 100), picture.Height() - 1,
                     (frame & 1) ? kMarker : kBackground);
    picture.Touch();
    DoEvents();
    if (frame % 100 == 0) {
      std::printf("frames %u longest %u\n", frame, longest);
      longest = 0;
    }
  }
}

void RunMain(bool ask) {
  Backend& backend = CurrentBackend();
  auto picture = MakePicture(380, 400);
  backend.AttachSurface(WindowId::Main, picture.get());
  backend.SetCaption(WindowId::Main, kCaption);
  backend.SetIcon(WindowId::Main, std::make_shared<Image>(32, 32, kMarker));
  PlaceMainWindow(backend);
  InstallHandlers(backend, ask);
  backend.Show(WindowId::Main);
  const WindowRect outer = backend.OuterRect(WindowId::Main);
  std::printf("folder %s\n", AppPath().c_str());
  std::printf("ready %d %d %d %d\n", outer.left, outer.top, outer.width, outer.height);
  RunFrames(*picture);
}

void RunSplash() {
  Backend& backend = CurrentBackend();
  auto picture = MakePicture(200, 70);
  backend.AttachSurface(WindowId::Splash, picture.get());
  backend.SetClientSize(WindowId::Splash, 200, 70);
  backend.Move(WindowId::Splash, 100, 0);
  backend.Show(WindowId::Splash);
  // The slide-in moves the shown splash once a frame; moving must not hold the frames up.
  const std::uint32_t start = GetTickCount();
  for (int top = 1; top <= 50; ++top) backend.Move(WindowId::Splash, 100, top);
  std::printf("moves 50 took %u ms\n", TickSince(start));
  std::printf("ready\n");
  RunFrames(*picture);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::string mode = argc > 1 ? argv[1] : "main";
  return RunWithSdlBackend(argv[0], [mode] {
    if (mode == "splash")
      RunSplash();
    else
      RunMain(mode == "ask");
  });
}
