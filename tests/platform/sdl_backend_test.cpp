// The real back end on SDL's dummy video driver: what reaches the window surface, and which
// window events reach the game's handlers, when, and in what order.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace {

constexpr Colour kPicture = RGB(40, 120, 200);
constexpr Colour kDrawn = RGB(250, 30, 30);

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    backend = CreateSdlBackend("test");
    picture.SetPicture(std::make_shared<Image>(380, 400, kPicture));
    backend->AttachSurface(WindowId::Main, &picture);
    backend->SetCaption(WindowId::Main, "main under test");
    backend->SetClientSize(WindowId::Main, 380, 400);
    MainWindowHandlers handlers;
    handlers.KeyDown = [this](int code, int shift) { Log("down", code, shift); };
    handlers.KeyPress = [this](int character) { Log("press", character, 0); };
    handlers.KeyUp = [this](int code, int shift) { Log("up", code, shift); };
    handlers.Paint = [this] {
      log.push_back("paint");
      picture.SetPixel(50, 50, kDrawn);
      picture.Touch();
    };
    handlers.QueryUnload = [this](int& cancel) {
      log.push_back("query");
      cancel = cancelClose;
    };
    backend->SetMainHandlers(std::move(handlers));
    backend->Show(WindowId::Main);
    main = FindWindow("main under test");
    ASSERT_NE(main, nullptr);
  }
  void TearDown() override {
    backend.reset();
    SDL_Quit();
  }

  void Log(const char* what, int a, int b) {
    log.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b));
  }
  static SDL_Window* FindWindow(const std::string& title) {
    for (Uint32 id = 1; id < 64; ++id)
      if (SDL_Window* w = SDL_GetWindowFromID(id); w && title == SDL_GetWindowTitle(w)) return w;
    return nullptr;
  }
  Colour Shown(int x, int y) const {
    SDL_Surface* s = SDL_GetWindowSurface(main);
    EXPECT_EQ(s->format->BytesPerPixel, 4);
    Uint32 pixel = *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) +
                                                    y * s->pitch + x * 4);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return RGB(r, g, b);
  }
  void PushKey(Uint32 type, SDL_Keycode key, bool repeat = false, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = SDL_GetWindowID(main);
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    SDL_PushEvent(&e);
  }
  void PushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(main);
    e.window.event = event;
    SDL_PushEvent(&e);
  }
  void Pump() {
    backend->PumpEvents();
    log.erase(std::remove(log.begin(), log.end(), "paint"), log.end());  // the dummy exposes
  }

  std::unique_ptr<Backend> backend;
  Surface picture{380, 400};
  SDL_Window* main = nullptr;
  std::vector<std::string> log;
  int cancelClose = -1;
};

TEST_F(SdlBackendTest, IdleShowsEveryChangedPictureAndOnlyThat) {
  backend->Idle();
  EXPECT_EQ(Shown(0, 0), kPicture);
  EXPECT_EQ(Shown(379, 399), kPicture);
  // A screen pixel changed behind the game's back stays until the picture changes.
  SDL_Surface* screen = SDL_GetWindowSurface(main);
  SDL_Rect spot{10, 10, 1, 1};
  SDL_FillRect(screen, &spot, SDL_MapRGB(screen->format, 1, 2, 3));
  backend->Idle();
  EXPECT_EQ(Shown(10, 10), RGB(1, 2, 3));
  picture.SetPixel(10, 10, kDrawn);
  backend->Idle();
  EXPECT_EQ(Shown(10, 10), kDrawn);
}

TEST_F(SdlBackendTest, KeysWaitForTheEventPumpAndArriveInTheDesktopsOrder) {
  Pump();
  PushKey(SDL_KEYDOWN, SDLK_RETURN);
  PushKey(SDL_KEYDOWN, SDLK_LEFT, true);
  PushKey(SDL_KEYDOWN, SDLK_z, false, KMOD_LSHIFT);
  PushKey(SDL_KEYUP, SDLK_x);
  PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  backend->Idle();  // never runs a handler
  EXPECT_TRUE(log.empty());
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"down 13 0", "press 13 0", "down 37 0", "down 90 1",
                                           "up 88 0", "down 27 0", "press 27 0"}));
}

TEST_F(SdlBackendTest, ExposeShowsThePictureAgainAndThenPaints) {
  Pump();
  log.clear();
  picture.SetPixel(10, 10, kDrawn);
  picture.Touch();
  PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
  backend->PumpEvents();
  EXPECT_EQ(log, std::vector<std::string>{"paint"});
  EXPECT_EQ(picture.Pixel(10, 10), kPicture);  // wiped by the repaint
  EXPECT_EQ(Shown(10, 10), kPicture);
  EXPECT_EQ(Shown(50, 50), kDrawn);  // what the paint handler drew is on screen at once
}

TEST_F(SdlBackendTest, ARefusedCloseKeepsTheWindowAndAnAcceptedOneEndsTheProgram) {
  Pump();
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"query"});
  EXPECT_EQ(FindWindow("main under test"), main);
  cancelClose = 0;
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  EXPECT_EXIT(backend->PumpEvents(), ::testing::ExitedWithCode(0), "");
}

TEST_F(SdlBackendTest, ClientAreaIsWhatWasAskedAndTheFrameHoldsIt) {
  int width = 0, height = 0;
  backend->ClientSize(WindowId::Main, width, height);
  EXPECT_EQ(width, 380);
  EXPECT_EQ(height, 400);
  const WindowRect outer = backend->OuterRect(WindowId::Main);
  EXPECT_GE(outer.width, 380);
  EXPECT_GE(outer.height, 400);
  backend->Move(WindowId::Main, 30, 40);
  EXPECT_EQ(backend->OuterRect(WindowId::Main).left, 30);
  EXPECT_EQ(backend->OuterRect(WindowId::Main).top, 40);
}

}  // namespace
