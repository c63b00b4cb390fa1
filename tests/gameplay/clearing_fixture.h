// A fresh well on the headless back end: 1 ms per Idle, no window events, every pump and
// sound recorded with its time, and plain colours in the sheets and backdrops.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gameplay/game_state.h"
#include "platform/headless/headless_backend.h"
#include "scratch_folder.h"

namespace clearing_test {

class ClearingBackend : public HeadlessBackend {
 public:
  ClearingBackend()
      : HeadlessBackend({.clock = 4294966000u, .programFolder = ScratchProgramFolder()}) {
  }  // wraps within a second
  std::function<void()> onIdle, onPump;
  std::vector<std::uint64_t> pumpTimes;                       // Elapsed() at each DoEvents
  std::vector<std::pair<std::uint64_t, std::string>> sounds;  // time, recorded line
  void Idle() override;
  void PumpEvents() override;
  void Record(const TraceEvent& event) override;
};

constexpr Colour kBackdrop = RGB(40, 80, 120);
constexpr Colour kComboWord = RGB(200, 30, 90);
constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour Grey(int g) { return RGB(g, g, g); }
constexpr Colour DigitColour(int d) { return RGB(20 + 20 * d, 100 + 10 * d, 200 - 15 * d); }
constexpr Colour ComboColour(int cell) { return RGB(10 * cell + 5, 250 - 10 * cell, 77); }
constexpr int At(int row, int column) { return row * 10 + column; }
constexpr std::uint8_t Digit(int d) { return static_cast<std::uint8_t>(d + 1); }

// The next `count` random numbers, the generator seeded afresh with `seed` before and after.
std::vector<float> RandomStream(std::uint32_t seed, int count);
Colour LampColour(const float* r);  // from three numbers

class ClearingFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Put(std::initializer_list<int> cells, int digit, bool mark = false);
  std::vector<int> MarkedCells() const;
  // Main's pixel at (x, y) at every DoEvents.
  std::vector<Colour> mainPixels;
  void WatchMainPixel(int x, int y);

  ClearingBackend backend;
};

}  // namespace clearing_test
