// The cost of one frame of the super-clear effect against its 30 ms period (50 ms for the
// fade from white), with the well full and every cell under a triangle: the heaviest frame
// the game can ask for.
#include <benchmark/benchmark.h>

#include "gameplay/game_state.h"
#include "gameplay/super_effect_frames.h"
#include "gameplay/surfaces.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

class FullWell {
 public:
  FullWell() {
    SetBackend(&backend_);
    ResetGameState();
    ResetSurfaces();
    BackPSub().SetPicture(GameBackgroundPicture());
    for (int i = 0; i < 150; ++i) {
      Board[i] = static_cast<std::uint8_t>(2 + (i * 7) % 9);
      Marked[i] = True;
    }
  }
  ~FullWell() {
    ResetGameState();
    ResetSurfaces();
    SetBackend(nullptr);
  }

 private:
  HeadlessBackend backend_;
};

// The period the frame has to fit in, beside its measured time (both in ms).
void ReportBudget(benchmark::State& state, double budgetMs) {
  state.counters["budget_ms"] = budgetMs;
}

void BM_SpinFrame(benchmark::State& state) {
  FullWell well;
  const int frame = static_cast<int>(state.range(0));
  for (auto _ : state) {
    clearing::DrawSpinFrame(frame);
    benchmark::DoNotOptimize(Main().Pixel(120, 200));
  }
  ReportBudget(state, 30);
}
// Frame 20: small triangles; 85: the largest triangles under the whole white disc.
BENCHMARK(BM_SpinFrame)->Arg(20)->Arg(85)->Unit(benchmark::kMillisecond);

void BM_WhiteFadeFrame(benchmark::State& state) {
  FullWell well;
  for (auto _ : state) {
    clearing::DrawWhiteFadeFrame(7);
    benchmark::DoNotOptimize(Main().Pixel(120, 200));
  }
  ReportBudget(state, 50);
}
BENCHMARK(BM_WhiteFadeFrame)->Unit(benchmark::kMillisecond);

}  // namespace
