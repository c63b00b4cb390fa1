// A fresh game on the headless back end: a virtual clock that advances 1 ms per Idle, no
// window events unless a test pumps its own, sounds and captions recorded, and sprite sheets
// and backgrounds with known synthetic pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/backend.h"
#include "platform/colour.h"
#include "platform/headless/headless_backend.h"

namespace play_test {

// Thrown by a test's hook to leave a loop that never returns (GameLoop).
struct StopTest {};

// The headless back end with two hooks: one run inside every event pump (where window events
// would arrive) and one after every tick of the virtual clock.
class GameTestBackend : public HeadlessBackend {
 public:
  explicit GameTestBackend(std::uint32_t clock) : HeadlessBackend({.clock = clock}) {}

  std::function<void()> onPump;
  std::function<void()> onIdle;
  int pumps = 0;
  std::vector<std::string> captions;  // of the main window, in order

  void Idle() override;
  void PumpEvents() override;
  void SetCaption(WindowId window, const std::string& utf8) override;

  // How many times the effect `file` ("Fall.wav") was played.
  int EffectsNamed(const std::string& file);
};

class GameFixture : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kStartClock = 100000;

  void SetUp() override;
  void TearDown() override;
  // The tick count at the start of the test.
  virtual std::uint32_t StartClock() const { return kStartClock; }

  // The state StartUp leaves before GameLoop: first level, first super threshold, the first
  // pair (2, 2) dealt at the spawn point.
  void StartPlay();
  // Lets `ms` milliseconds of the virtual clock pass.
  void Wait(std::uint32_t ms);
  // Lets the clock run on to the tick `tick`.
  void WaitUntil(std::uint32_t tick);
  std::uint32_t Now() { return backend->TickCount(); }

  std::unique_ptr<GameTestBackend> backend;
};

// The synthetic background every surface shows as its picture.
Colour BackgroundAt(int x, int y);
// What the masked-sprite rule leaves at a destination pixel `under`, for the sheet pixel at
// (sx, sy) (outside the sheet: unchanged).
Colour SpritePixel(Colour under, Sheet& sheet, int sx, int sy);
// Applies the masked-sprite rule to `target` pixel by pixel (the reference the drawing is
// checked against).
void ApplySprite(Surface& target, int x, int y, int w, int h, Sheet& sheet, int sx, int sy);
// Checks every pixel of the w x h block at (x, y) of `after` against the masked sprite from
// (sx, sy) of `sheet` drawn over `before`.
::testing::AssertionResult SpriteDrawn(const Surface& after, const Surface& before, int x, int y,
                                       int w, int h, Sheet& sheet, int sx, int sy);
// Checks that the block at (x, y) of `after` equals the same block of `before`.
::testing::AssertionResult Unchanged(const Surface& after, const Surface& before, int x, int y,
                                     int w, int h);
// A copy of a surface's pixels, to compare against later.
std::unique_ptr<Surface> CopyOf(const Surface& surface);
// Board index of row r (0 at the bottom), column c.
constexpr int Cell(int row, int column) { return row * 10 + column; }

}  // namespace play_test
