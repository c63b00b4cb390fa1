// A window manager that takes every request to show a window and never answers one, as a
// window manager starting up with the session can: it holds the redirection of the root
// window's children until it is killed. Prints "ready" once it holds it.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "deaf_window_manager: no display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask);
  XSync(display, False);
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) pause();
}
