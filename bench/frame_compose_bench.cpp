// The cost of composing one play frame, the well full to the top with the pair falling and the
// NEXT box scrolling, plus the whole status panel, against the 49 ms frame period.
#include <benchmark/benchmark.h>

#include "gameplay/game_state.h"
#include "gameplay/status_panel.h"
#include "gameplay/surfaces.h"
#include "gameplay/well_drawing.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

constexpr double kFramePeriodMs = 49.0;

class FullWellInPlay {
 public:
  FullWellInPlay() {
    SetBackend(&backend_);
    ResetGameState();
    ResetSurfaces();
    Main().SetPicture(GameBackgroundPicture());
    BackPSub().SetPicture(GameBackgroundPicture());
    DrawPanelLabels();
    for (int i = 0; i < 150; ++i) Board[i] = static_cast<std::uint8_t>(1 + (i * 7) % 10);
    CurPos = 154;
    CurDir = 0;
    FallOfs = 10;
    CurPiece[0] = 4;
    CurPiece[1] = 7;
    NextPiece[0] = 3;
    NextPiece[1] = 5;
    ShownNext[0] = ShownNext[1] = 2;
    Score = 12345678;
    HiScore = 87654321;
    Level = 61;
    DelSum = 99999;
    MaxCombo = 99;
    SuperAt = 99999;
    LevelNorm = 298;
    LevelSum = 200;
  }
  ~FullWellInPlay() {
    ResetGameState();
    ResetSurfaces();
    SetBackend(nullptr);
  }

 private:
  HeadlessBackend backend_;
};

void BM_ComposePlayFrame(benchmark::State& state) {
  FullWellInPlay game;
  for (auto _ : state) {
    NextAnim = True;  // keep the NEXT box scrolling, its busiest state
    DrawWell();
    DrawStatusPanel();
    benchmark::ClobberMemory();
  }
  // How many such frames fit in one 49 ms period (a plain number; the library prints a rate's
  // "/s" after it).
  const double periods = kFramePeriodMs / 1000.0 * static_cast<double>(state.iterations());
  state.counters["fit_in_period"] = benchmark::Counter(periods, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ComposePlayFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
