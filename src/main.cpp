// The game: the real back end, then StartUp, which never returns.
#include "frontend/startup.h"
#include "platform/sdl/sdl_backend.h"

int main(int argc, char** argv) {
  (void)argc;
  return RunWithSdlBackend(argv[0], [] { StartUp(); });
}
