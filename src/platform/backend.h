// Everything the game asks of the system, behind one interface with two implementations:
// the real one (SDL2 window, audio and FluidSynth) and the headless one (virtual clock,
// scripted input, recorded output). Game code never sees this class; it calls the free
// functions of system.h, which forward here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/surface.h"

class SoundSystem;  // sound effects and the MIDI sequencer (platform/audio)

enum class WindowId { Main, Splash };

struct WindowRect {
  int left = 0;  // outer frame, screen pixels
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class MsgBoxButtons { Ok, YesNo };
enum class MsgBoxAnswer { Ok, Yes, No };

// Windows virtual-key codes the game uses.
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeyLeft = 37;
constexpr int vbKeyUp = 38;
constexpr int vbKeyRight = 39;
constexpr int vbKeyDown = 40;
constexpr int vbKeyX = 88;
constexpr int vbKeyZ = 90;

// The main window's event handlers, set by the front end. They run only inside
// PumpEvents (DoEvents) and inside message boxes, on the game's one thread.
struct MainWindowHandlers {
  std::function<void(int keyCode, int shift)> KeyDown;
  std::function<void(int keyAscii)> KeyPress;
  std::function<void(int keyCode, int shift)> KeyUp;
  std::function<void()> Paint;                   // after the window has shown Main's picture again
  std::function<void(int& cancel)> QueryUnload;  // leave cancel at 0 to let the window go
  // The program is told to stop (a termination signal, the end of the session, the display
  // gone) and nobody may be there to answer a question. Runs where events are pumped, where a
  // wait idles and in a message box, which is taken down first; when the display is gone, at
  // the window call that found it so. It must end the program without touching windows or
  // sound before its files are written. Without it, or should it return, the back end ends
  // the program itself.
  std::function<void()> EndSession;
};

// One recorded happening (headless back end). Fields as in the replay trace.
struct TraceEvent {
  std::string json;  // the fields after "t" (without braces), already JSON-encoded
};

class Backend {
 public:
  virtual ~Backend() = default;

  // --- Time. TickCount wraps at 2^32; callers subtract modulo 2^32.
  virtual std::uint32_t TickCount() = 0;
  // Called in every waiting spin. Real: sleeps briefly, keeps Main on screen and lets the
  // sound system watch its audio device. Headless: advances the virtual clock by 1 ms. Runs
  // no event handler but EndSession.
  virtual void Idle() = 0;
  // One spin of a wait that still has `msLeft` milliseconds to go. The real back end may
  // sleep longer here, but wakes before the deadline; by default it is a plain Idle().
  virtual void IdleFor(std::uint32_t msLeft) {
    (void)msLeft;
    Idle();
  }
  // DoEvents: runs the pending window events through the handlers; never waits.
  virtual void PumpEvents() = 0;
  // Seed for the one random generator (real: from the clock; headless: the script's).
  virtual std::uint32_t RandomSeed() = 0;

  // --- Windows. Sizes and positions in pixels.
  virtual void SetMainHandlers(MainWindowHandlers handlers) = 0;
  // The surface shown in the window's client area at (0, 0). Copies onto it reach the screen
  // within one frame, also while no events are pumped.
  virtual void AttachSurface(WindowId window, Surface* surface) = 0;
  virtual void SetCaption(WindowId window, const std::string& utf8) = 0;
  virtual void SetIcon(WindowId window, ImagePtr icon) = 0;
  virtual void SetClientSize(WindowId window, int width, int height) = 0;
  virtual void Move(WindowId window, int left, int top) = 0;
  virtual void Show(WindowId window) = 0;
  virtual void Hide(WindowId window) = 0;
  virtual void Unload(WindowId window) = 0;
  virtual WindowRect OuterRect(WindowId window) = 0;
  virtual void ClientSize(WindowId window, int& width, int& height) = 0;
  virtual void ScreenSize(int& width, int& height) = 0;

  // --- Modal message box; returns only when answered. Texts in UTF-8.
  virtual MsgBoxAnswer MessageBox(const std::string& text, MsgBoxButtons buttons,
                                  const std::string& caption) = 0;

  // --- Sound effects and the MIDI sequencer.
  virtual SoundSystem& Sound() = 0;

  // --- The program's folder (no trailing separator).
  virtual std::string ProgramFolder() = 0;

  // --- Recording (headless only; the real back end ignores it).
  virtual void Record(const TraceEvent& event) { (void)event; }

  // --- The end of the program. Real: closes audio and windows, exits with status 0.
  // Headless: throws ProgramEnded.
  [[noreturn]] virtual void End() = 0;
};

struct ProgramEnded {};  // thrown by the headless End()

// The back end in use. Set once by main() or by a test before anything else runs.
void SetBackend(Backend* backend);
Backend& CurrentBackend();
