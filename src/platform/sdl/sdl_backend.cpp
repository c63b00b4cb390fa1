#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio/sound_system.h"
#include "platform/backend.h"
#include "platform/sdl/message_box_font.h"
#include "platform/sdl/message_box_window.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_window.h"
#include "platform/sdl/session_end.h"

namespace {

// The main window's client area before start-up fits it to the game picture.
constexpr int kMainDesignWidth = 631;
constexpr int kMainDesignHeight = 563;
constexpr int kSplashWidth = 200;
constexpr int kSplashHeight = 70;
// The window background around a picture smaller than the client area.
constexpr Colour kFormColour = RGB(240, 240, 240);
// How often Idle looks at the window system while the game pumps no events.
constexpr std::uint32_t kIdleLookMs = 10;
// The longest sleep of one look: the window is looked after at least this often.
constexpr std::uint32_t kLongestIdleMs = 10;
// How long a first showing waits for the window manager to report the frame.
constexpr std::uint32_t kFrameWaitMs = 200;

[[noreturn]] void CannotOpenWindow(const std::string& reason) {
  std::fprintf(stderr, "fumbo2: cannot open a window: %s\n", reason.c_str());
  std::exit(1);
}

[[noreturn]] void CannotOpenWindow() { CannotOpenWindow(SDL_GetError()); }

// The value of an environment variable, or null when it is unset or empty.
const char* Setting(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Only a driver that shows windows on the desktop is tried: left to itself SDL falls back
// to its offscreen driver when no display answers, and the game would play unseen and
// wait for ever in a box nobody can answer. SDL_VIDEODRIVER still picks any driver by name
// (the tests use the dummy one). A desktop driver is tried only when its display is named,
// so no library complains of a display that was never there.
bool ChooseDesktopVideo() {
  if (Setting("SDL_VIDEODRIVER")) return true;
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const std::string name = SDL_GetVideoDriver(i);
    if ((name == "x11" && Setting("DISPLAY")) || (name == "wayland" && Setting("WAYLAND_DISPLAY")))
      drivers += (drivers.empty() ? "" : ",") + name;
  }
  if (drivers.empty()) return false;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  return true;
}

[[noreturn]] void NoDisplay() {
  const char* display = Setting("DISPLAY") ? Setting("DISPLAY") : Setting("WAYLAND_DISPLAY");
  if (display == nullptr) CannotOpenWindow("no display (is DISPLAY set?)");
  CannotOpenWindow(std::string("no display at ") + display + " (" + SDL_GetError() + ")");
}

std::uint32_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

struct WindowSlot {
  std::unique_ptr<SdlWindow> window;
  Surface* surface = nullptr;
  std::uint64_t presentedGeneration = 0;
  bool stale = true;  // must be presented whatever the generation says
  bool shown = false;
  bool placeRequested = false;  // Move before the frame was known: placed again on showing
  int outerLeft = 0;
  int outerTop = 0;
  int outerWidthAtMove = 0;  // the frame as it was when the place was computed
  int outerHeightAtMove = 0;
};

class SdlBackend final : public Backend {
 public:
  explicit SdlBackend(const char* argv0) : argv0_(argv0 ? argv0 : "") {}
  ~SdlBackend() override { CloseEverything(); }

  std::uint32_t TickCount() override { return MonotonicMilliseconds(); }
  void Idle() override;
  void IdleFor(std::uint32_t msLeft) override;
  void PumpEvents() override;
  std::uint32_t RandomSeed() override;

  void SetMainHandlers(MainWindowHandlers handlers) override { handlers_ = std::move(handlers); }
  void AttachSurface(WindowId id, Surface* surface) override;
  void SetCaption(WindowId id, const std::string& utf8) override;
  void SetIcon(WindowId id, ImagePtr icon) override;
  void SetClientSize(WindowId id, int width, int height) override;
  void Move(WindowId id, int left, int top) override;
  void Show(WindowId id) override;
  void Hide(WindowId id) override;
  void Unload(WindowId id) override;
  WindowRect OuterRect(WindowId id) override;
  void ClientSize(WindowId id, int& width, int& height) override;
  void ScreenSize(int& width, int& height) override;

  MsgBoxAnswer MessageBox(const std::string& text, MsgBoxButtons buttons,
                          const std::string& caption) override;
  SoundSystem& Sound() override;
  std::string ProgramFolder() override;
  [[noreturn]] void End() override;
  // The connection to the display broke: the session ends without another window call.
  [[noreturn]] void LoseDisplay();

 private:
  WindowSlot& Slot(WindowId id) { return slots_[id == WindowId::Main ? 0 : 1]; }
  SdlWindow& Window(WindowId id);
  void PresentChanged();
  void PresentSlot(WindowSlot& slot);
  void MarkPendingExposes();
  void Dispatch(const SDL_Event& event);
  void DispatchWindowEvent(const SDL_WindowEvent& event);
  void DispatchKey(const SDL_KeyboardEvent& event);
  void DispatchText(const SDL_TextInputEvent& event);
  void RepaintMain();
  void CloseRequest();
  void EndIfSignalled();
  [[noreturn]] void EndSession();
  [[noreturn]] void Leave();
  void PlaceAfterShowing(WindowSlot& slot);
  bool IsMainWindow(Uint32 windowId) { return windowId != 0 && windowId == MainId(); }
  Uint32 MainId() { return slots_[0].window ? slots_[0].window->Id() : 0; }
  void CloseEverything();

  std::string argv0_;
  WindowSlot slots_[2];
  MainWindowHandlers handlers_;
  std::unique_ptr<SoundSystem> sound_;
  std::unique_ptr<BoxText> boxFont_;
  std::uint32_t lastIdleLook_ = 0;
  Uint32 lastExposeSeen_ = 0;
  bool ending_ = false;       // End() is taking the windows and the sound down
  bool displayLost_ = false;  // no window call may follow
  int exitStatus_ = 0;
};

SdlWindow& SdlBackend::Window(WindowId id) {
  WindowSlot& slot = Slot(id);
  if (!slot.window) {
    const bool main = id == WindowId::Main;
    slot.window = std::make_unique<SdlWindow>(main ? "" : "Ad of Rilo",
                                              main ? kMainDesignWidth : kSplashWidth,
                                              main ? kMainDesignHeight : kSplashHeight, !main);
    if (slot.window->Handle() == nullptr) CannotOpenWindow();
    slot.stale = true;
  }
  return *slot.window;
}

void SdlBackend::PresentSlot(WindowSlot& slot) {
  if (!slot.window || !slot.shown || slot.surface == nullptr) return;
  // A play frame changes the well and the NEXT box: only the box around the changes goes
  // to the screen, unless the window must be shown whole again.
  const Surface::Box changed = slot.surface->TakeChanged();
  if (slot.stale)
    slot.window->Present(*slot.surface, kFormColour);
  else
    slot.window->PresentPart(*slot.surface, changed);
  slot.presentedGeneration = slot.surface->Generation();
  slot.stale = false;
}

void SdlBackend::PresentChanged() {
  for (WindowSlot& slot : slots_)
    if (slot.surface != nullptr &&
        (slot.stale || slot.surface->Generation() != slot.presentedGeneration))
      PresentSlot(slot);
}

// True for the window events after which SDL's window surface holds nothing of ours.
bool LosesPicture(const SDL_WindowEvent& event) {
  return event.event == SDL_WINDOWEVENT_EXPOSED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED;
}

// An expose or resize the game has not pumped yet still gets the picture back on screen at
// once; the paint handler runs later, when the game pumps its events.
void SdlBackend::MarkPendingExposes() {
  SDL_PumpEvents();
  SDL_Event events[64];
  int count = SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
  for (int i = 0; i < count; ++i) {
    const SDL_WindowEvent& w = events[i].window;
    if (!LosesPicture(w) || w.timestamp <= lastExposeSeen_) continue;
    lastExposeSeen_ = w.timestamp;
    for (WindowSlot& slot : slots_)
      if (slot.window && slot.window->Id() == w.windowID) slot.stale = true;
  }
}

void SdlBackend::Idle() { IdleFor(1); }

// Sleeps until a millisecond before the wait's deadline (the last millisecond is taken in
// steps of one, so the deadline is met), and never longer than kLongestIdleMs.
void SdlBackend::IdleFor(std::uint32_t msLeft) {
  EndIfSignalled();
  if (sound_) sound_->WatchDevice();  // every frame of every state idles here
  const std::uint32_t now = MonotonicMilliseconds();
  if (static_cast<std::uint32_t>(now - lastIdleLook_) >= kIdleLookMs) {
    lastIdleLook_ = now;
    MarkPendingExposes();
  }
  PresentChanged();
#ifndef FUMBO_SPIN_WAITS
  SDL_Delay(std::clamp<std::uint32_t>(msLeft > 1 ? msLeft - 1 : 1, 1, kLongestIdleMs));
#else
  (void)msLeft;
#endif
}

void SdlBackend::PumpEvents() {
  EndIfSignalled();
  PresentChanged();
  SDL_Event event;
  while (SDL_PollEvent(&event)) Dispatch(event);
  PresentChanged();
}

void SdlBackend::Dispatch(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      // With SDL's signal handlers off and the last window's close left to the game, SDL
      // asks to quit only when the display connection is gone (Wayland).
      LoseDisplay();
    case SDL_WINDOWEVENT:
      DispatchWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (IsMainWindow(event.key.windowID)) DispatchKey(event.key);
      break;
    case SDL_TEXTINPUT:
      if (IsMainWindow(event.text.windowID)) DispatchText(event.text);
      break;
    default:
      break;
  }
}

void SdlBackend::DispatchWindowEvent(const SDL_WindowEvent& event) {
  for (WindowSlot& slot : slots_) {
    if (!slot.window || slot.window->Id() != event.windowID) continue;
    const bool main = &slot == &slots_[0];
    if (event.event == SDL_WINDOWEVENT_EXPOSED && main) {
      RepaintMain();
    } else if (LosesPicture(event)) {
      slot.stale = true;
    } else if (event.event == SDL_WINDOWEVENT_CLOSE && main) {
      CloseRequest();
    }
    return;
  }
}

// The window system asked for the picture again: Main shows its own picture, then the
// paint handler draws the rest.
void SdlBackend::RepaintMain() {
  WindowSlot& slot = slots_[0];
  if (!slot.shown) return;
  if (slot.surface != nullptr) slot.surface->Cls();
  slot.stale = true;
  if (handlers_.Paint) handlers_.Paint();
  PresentSlot(slot);
}

void SdlBackend::DispatchKey(const SDL_KeyboardEvent& event) {
  const int keyCode = VirtualKeyCode(event.keysym.sym);
  const int shift = ShiftMask(event.keysym.mod);
  if (event.type == SDL_KEYUP) {
    if (keyCode != 0 && handlers_.KeyUp) handlers_.KeyUp(keyCode, shift);
    return;
  }
  // Key-down first, then the character it makes, as the desktop delivers them.
  if (keyCode != 0 && handlers_.KeyDown) handlers_.KeyDown(keyCode, shift);
  const int character = KeyPressCharacter(event.keysym.sym);
  if (character != 0 && handlers_.KeyPress) handlers_.KeyPress(character);
}

void SdlBackend::DispatchText(const SDL_TextInputEvent& event) {
  if (!handlers_.KeyPress) return;
  for (const char* c = event.text; *c != '\0'; ++c) {
    const unsigned char byte = static_cast<unsigned char>(*c);
    if (byte >= 32 && byte < 127) handlers_.KeyPress(byte);
  }
}

void SdlBackend::CloseRequest() {
  int cancel = 0;
  if (handlers_.QueryUnload) handlers_.QueryUnload(cancel);
  if (cancel == 0) End();
}

void SdlBackend::EndIfSignalled() {
  if (EndSignalled()) EndSession();
}

void SdlBackend::EndSession() {
  if (handlers_.EndSession) handlers_.EndSession();
  End();
}

void SdlBackend::LoseDisplay() {
  if (!displayLost_ && !ending_) {
    displayLost_ = true;
    std::fprintf(stderr, "fumbo2: the connection to the display was lost; the game ends\n");
    if (!EndSignalled()) exitStatus_ = 1;
    EndSession();
  }
  Leave();
}

std::uint32_t SdlBackend::RandomSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  return static_cast<std::uint32_t>(nanoseconds ^ (nanoseconds >> 32)) ^ MonotonicMilliseconds();
}

void SdlBackend::AttachSurface(WindowId id, Surface* surface) {
  WindowSlot& slot = Slot(id);
  slot.surface = surface;
  slot.stale = true;
}

void SdlBackend::SetCaption(WindowId id, const std::string& utf8) {
  SDL_SetWindowTitle(Window(id).Handle(), utf8.c_str());
}

void SdlBackend::SetIcon(WindowId id, ImagePtr icon) {
  if (icon) Window(id).SetIcon(*icon);
}

void SdlBackend::SetClientSize(WindowId id, int width, int height) {
  SDL_SetWindowSize(Window(id).Handle(), width, height);
  Slot(id).stale = true;
}

void SdlBackend::Move(WindowId id, int left, int top) {
  WindowSlot& slot = Slot(id);
  const SdlWindow::Borders b = Window(id).FrameBorders();
  SDL_SetWindowPosition(slot.window->Handle(), left + b.left, top + b.top);
  slot.outerLeft = left;
  slot.outerTop = top;
  const WindowRect outer = OuterRect(id);
  slot.outerWidthAtMove = outer.width;
  slot.outerHeightAtMove = outer.height;
  // A framed window not yet shown has no frame yet; it is placed again once it has one.
  slot.placeRequested = !slot.shown && id == WindowId::Main;
}

void SdlBackend::PlaceAfterShowing(WindowSlot& slot) {
  const std::uint32_t start = MonotonicMilliseconds();
  SdlWindow::Borders b = slot.window->FrameBorders();
  while (b.top == 0 && b.left == 0 &&
         static_cast<std::uint32_t>(MonotonicMilliseconds() - start) < kFrameWaitMs) {
    SDL_Delay(5);
    SDL_PumpEvents();  // queues events only; no handler runs here
    b = slot.window->FrameBorders();
  }
  // The place was computed from a frame without borders; keep its centre where it was meant.
  int width = 0, height = 0;
  SDL_GetWindowSize(slot.window->Handle(), &width, &height);
  const int grownWidth = width + b.left + b.right - slot.outerWidthAtMove;
  const int grownHeight = height + b.top + b.bottom - slot.outerHeightAtMove;
  SDL_SetWindowPosition(slot.window->Handle(), slot.outerLeft - grownWidth / 2 + b.left,
                        slot.outerTop - grownHeight / 2 + b.top);
}

void SdlBackend::Show(WindowId id) {
  WindowSlot& slot = Slot(id);
  Window(id).Show();
  slot.shown = true;
  slot.stale = true;
  if (slot.placeRequested) {
    slot.placeRequested = false;
    PlaceAfterShowing(slot);
  }
  SDL_RaiseWindow(slot.window->Handle());
  PresentSlot(slot);
}

void SdlBackend::Hide(WindowId id) {
  WindowSlot& slot = Slot(id);
  if (slot.window) SDL_HideWindow(slot.window->Handle());
  slot.shown = false;
}

void SdlBackend::Unload(WindowId id) {
  // The window goes with its place and picture; a later use makes it afresh.
  Slot(id) = WindowSlot{};
}

WindowRect SdlBackend::OuterRect(WindowId id) {
  SdlWindow& window = Window(id);
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(window.Handle(), &x, &y);
  SDL_GetWindowSize(window.Handle(), &w, &h);
  const SdlWindow::Borders b = window.FrameBorders();
  return {x - b.left, y - b.top, w + b.left + b.right, h + b.top + b.bottom};
}

void SdlBackend::ClientSize(WindowId id, int& width, int& height) {
  SDL_GetWindowSize(Window(id).Handle(), &width, &height);
}

void SdlBackend::ScreenSize(int& width, int& height) {
  SDL_Rect bounds{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(0, &bounds) != 0) bounds = {0, 0, 1024, 768};
  width = bounds.w;
  height = bounds.h;
}

MsgBoxAnswer SdlBackend::MessageBox(const std::string& text, MsgBoxButtons buttons,
                                    const std::string& caption) {
  EndIfSignalled();  // nobody is there to answer
  if (!boxFont_) boxFont_ = OpenBoxFont();
  PresentChanged();
  // While the box is up the main window takes no keys and no close, but it repaints.
  const auto answer = RunMessageBox(
      text, buttons, caption, *boxFont_,
      [this](const SDL_Event& event) {
        if (event.type == SDL_QUIT) LoseDisplay();
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED)
          DispatchWindowEvent(event.window);
      },
      [this] {
        if (sound_) sound_->WatchDevice();  // the box is the game's frame loop while it is up
        return EndSignalled();
      });
  if (!answer) EndSession();  // the box is down already
  return *answer;
}

SoundSystem& SdlBackend::Sound() {
  // While the device opens the game idles, so that a termination signal still ends it.
  if (!sound_) sound_ = CreateSdlSoundSystem(kGeneralMidiSoundFonts, [this] { Idle(); });
  if (!sound_) sound_ = CreateVirtualSoundSystem([this] { return TickCount(); });
  if (!sound_) {
    std::fprintf(stderr, "fumbo2: no sound system is available\n");
    std::abort();
  }
  return *sound_;
}

std::string SdlBackend::ProgramFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) exe = std::filesystem::absolute(argv0_, error);
  return exe.parent_path().string();
}

void SdlBackend::CloseEverything() {
  sound_.reset();
  boxFont_.reset();
  for (WindowSlot& slot : slots_) slot = WindowSlot{};
}

void SdlBackend::End() {
  // Once the display is gone every window call would end in the X library again.
  if (!displayLost_ && !ending_) {
    ending_ = true;
    CloseEverything();
    // Not SDL_Quit: it would close an audio device that the sound system left stuck in its
    // driver, and wait for it for ever. Audio is the sound system's to end.
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }
  Leave();
}

void SdlBackend::Leave() {
  // Not every stream: the disk audio driver's file is locked by a device stuck in its write.
  std::fflush(stdout);
  std::fflush(stderr);
  // The game ends here and nothing of it runs again: exit() would destroy the game's own
  // objects, and a music player still open (a signal during the splash) would start the
  // sound system anew from its destructor, after the objects it needs were gone.
  std::_Exit(exitStatus_);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// The D-Bus library that SDL opens keeps one buffer to the end on purpose; the leak checker
// of the checked builds would otherwise turn every clean exit into a failure.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif

std::unique_ptr<Backend> CreateSdlBackend(const char* argv0) {
  return std::make_unique<SdlBackend>(argv0);
}

int RunWithSdlBackend(const char* argv0, std::function<void()> program) {
  if (!ChooseDesktopVideo()) NoDisplay();
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The game asks its own question when the window is closed.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // SDL would turn SIGINT and SIGTERM into a close request, which asks a question.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  CatchEndSignals();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) NoDisplay();
  // Lives until the program ends through End(), which never returns.
  static SdlBackend* backend = new SdlBackend(argv0);
  SetBackend(backend);
  WatchXConnection([] { backend->LoseDisplay(); });
  program();
  backend->End();
}
