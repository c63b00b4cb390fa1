// The real game (SDL window, audio with FluidSynth) with a meter around its back end:
//   play_meter [SECONDS] [REPORT]
// plays SECONDS of play (default 60) with nobody at the keyboard, closes the window, writes
// one line of figures to REPORT (default standard output) and ends as the game does. The
// program's folder is the one that holds this executable, as for the game.
#include <cstdlib>
#include <string>

#include "frontend/startup.h"
#include "metering_backend.h"
#include "platform/sdl/sdl_backend.h"

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
  const std::string report = argc > 2 ? argv[2] : "";
  return RunWithSdlBackend(argv[0], [seconds, report] {
    static MeteringBackend meter(CurrentBackend(), seconds, report);
    SetBackend(&meter);
    StartUp();
  });
}
