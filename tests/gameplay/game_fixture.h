// A fresh game on the headless back end (1 ms of virtual clock per Idle, no window events),
// with hooks into its pumps and waits, and sheets and backgrounds of known synthetic pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/headless/headless_backend.h"
#include "scratch_folder.h"

namespace play_test {

struct StopTest {};  // thrown by a hook to leave GameLoop

class GameTestBackend : public HeadlessBackend {
 public:
  explicit GameTestBackend(std::uint32_t clock)
      : HeadlessBackend({.clock = clock, .programFolder = ScratchProgramFolder()}) {}
  std::function<void()> onPump;  // inside every DoEvents
  std::function<void()> onIdle;  // after every tick of the clock
  int pumps = 0;
  std::vector<std::string> captions;  // of the main window

  void Idle() override;
  void PumpEvents() override;
  void SetCaption(WindowId window, const std::string& utf8) override;
  int EffectsNamed(const std::string& file);  // times the WAV `file` was played
};

class GameFixture : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kStartClock = 100000;
  void SetUp() override;
  void TearDown() override;
  virtual std::uint32_t StartClock() const { return kStartClock; }

  // As StartUp leaves the game: level 1, the first pair (2, 2) dealt at the spawn point.
  void StartPlay();
  void Wait(std::uint32_t ms);
  std::uint32_t Now() { return backend->TickCount(); }

  std::unique_ptr<GameTestBackend> backend;
};

Colour BackgroundAt(int x, int y);  // the picture of Main, BackP and BackPSub
// The masked-sprite rule applied pixel by pixel: the reference drawings are checked against.
void ApplySprite(Surface& target, int x, int y, int w, int h, Sheet& sheet, int sx, int sy);
::testing::AssertionResult Unchanged(const Surface& after, const Surface& before, int x, int y,
                                     int w, int h);
std::unique_ptr<Surface> CopyOf(const Surface& surface);
constexpr int Cell(int row, int column) { return row * 10 + column; }

}  // namespace play_test
