#include "platform/sdl/x_connection.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

void (*gLost)() = nullptr;

extern "C" int ConnectionBroken(Display*) {
  if (gLost != nullptr) gLost();
  std::_Exit(1);  // the X library would end the program as soon as this returned
}

// For example focus given to a window that a window manager still starting has not mapped.
extern "C" int RequestRefused(Display*, XErrorEvent* error) {
  static std::set<std::pair<int, int>> told;
  if (told.emplace(error->request_code, error->error_code).second)
    std::fprintf(stderr, "fumbo2: the X server refused a request (request %d, error %d)\n",
                 error->request_code, error->error_code);
  return 0;
}

}  // namespace

void WatchXConnection(void (*lost)()) {
  gLost = lost;
  XSetIOErrorHandler(ConnectionBroken);
  XSetErrorHandler(RequestRefused);
}
