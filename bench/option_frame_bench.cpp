// The cost of one frame of the option screen (background, title, the seven texts with their
// shadows, the help panel and its lines) against the 49 ms frame period.
#include <benchmark/benchmark.h>

#include "frontend/option_screen.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

void BM_OptionFrame(benchmark::State& state) {
  HeadlessBackend backend;
  SetBackend(&backend);
  ResetGameState();
  ResetSurfaces();
  OptionShown = True;
  OptCursor = 1;
  UserSettings.KeySense = 3;
  UserSettings.BgmOn = True;
  for (auto _ : state) {
    DrawOptionFrame();
    benchmark::DoNotOptimize(Main().Pixel(190, 60));
  }
  // How many such frames fit in one 49 ms period (the library prints a rate's "/s" after it).
  state.counters["fit_in_period"] = benchmark::Counter(
      0.049 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  ResetGameState();
  ResetSurfaces();
  SetBackend(nullptr);
}
BENCHMARK(BM_OptionFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
