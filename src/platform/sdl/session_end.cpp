#include "platform/sdl/session_end.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "platform/file_access.h"

namespace {

std::atomic<bool> gEndSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may set only this");

extern "C" void NoteEndSignal(int) { gEndSignal.store(true); }

void (*gLost)() = nullptr;

extern "C" int ConnectionBroken(Display*) {
  if (gLost != nullptr) gLost();
  std::_Exit(1);  // the X library would end the program as soon as this returned
}

// A refused request costs that request alone. Focus given to a window not mapped yet is
// refused while a window manager is still starting, since showing a window does not wait
// for the map: that refusal is expected and nothing is said. Any other kind is told once.
extern "C" int RequestRefused(Display*, XErrorEvent* error) {
  if (error->request_code == X_SetInputFocus && error->error_code == BadMatch) return 0;
  static std::set<std::pair<int, int>> told;
  if (told.emplace(error->request_code, error->error_code).second)
    std::fprintf(stderr, "fumbo2: the X server refused a request (request %d, error %d)\n",
                 error->request_code, error->error_code);
  return 0;
}

}  // namespace

void CatchEndSignals() {
  LetFailedWritesFailAlone();
  for (int number : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction old {};
    if (sigaction(number, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    // A library's blocking call that the signal interrupts goes on rather than failing with
    // EINTR, which not every library expects.
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
  }
}

bool EndSignalled() { return gEndSignal.load(); }

void WatchXConnection(void (*lost)()) {
  gLost = lost;
  XSetIOErrorHandler(ConnectionBroken);
  XSetErrorHandler(RequestRefused);
}
