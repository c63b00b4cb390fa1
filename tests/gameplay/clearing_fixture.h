// A fresh well on the headless back end for the line check, the deletion step and their
// effects: the virtual clock advances 1 ms per Idle, no window events arrive, every pump and
// sound is recorded, and the sheets and backdrops hold plain known colours so that a pixel
// tells exactly what was drawn there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/game_state.h"
#include "platform/colour.h"
#include "platform/headless/headless_backend.h"
#include "platform/surface.h"

namespace clearing_test {

// The headless back end with hooks into its waits and pumps.
class ClearingBackend : public HeadlessBackend {
 public:
  ClearingBackend();
  ~ClearingBackend() override;

  std::function<void()> onIdle;          // after every Idle's millisecond
  std::function<void()> onPump;          // inside every DoEvents
  std::vector<std::uint64_t> pumpTimes;  // Elapsed() at each DoEvents
  struct Heard {
    std::uint64_t time;
    std::string path;
  };
  std::vector<Heard> sounds;         // WAV files handed to the sound service
  std::vector<std::string> records;  // what the platform recorded

  void Idle() override;
  void PumpEvents() override;
  SoundSystem& Sound() override;
  void Record(const TraceEvent& event) override;

  // Effects whose file name ends in `name`, from the sound service or the record.
  int EffectsNamed(const std::string& name) const;

 private:
  std::unique_ptr<SoundSystem> sound_;
};

// Known colours of the test pictures.
constexpr Colour kBackdrop = RGB(40, 80, 120);  // game background, everywhere
constexpr Colour kComboWord = RGB(200, 30, 90);
Colour DigitColour(int digit);     // BlP cell of the digit, solid over its 10 x 20
Colour ComboColour(int cell);      // CmbNP cell 0..19, solid over its 60 x 60
Colour Merge(Colour a, Colour b);  // bitwise OR
Colour Mask(Colour a, Colour b);   // bitwise AND

// The first `count` numbers the generator gives after RandomizeWith(seed), leaving it
// seeded afresh with `seed`.
std::vector<float> RandomStream(std::uint32_t seed, int count);
// The lamp colour that the three numbers give.
Colour LampColour(float r1, float r2, float r3);

// Board index of row r (0 at the bottom), column c.
constexpr int At(int row, int column) { return row * 10 + column; }
// A cell value from the digit it shows.
constexpr std::uint8_t Digit(int d) { return static_cast<std::uint8_t>(d + 1); }

class ClearingFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Records the board at the first Idle after the marked cells are gone (the pause after the
  // removal, before the loose cells fall).
  void WatchBoardAfterRemoval();
  std::vector<std::uint8_t> boardAfterRemoval;

  // The colour of a pixel of Main at each DoEvents, in order.
  void WatchMainPixel(int x, int y);
  std::vector<Colour> mainPixels;

  ClearingBackend backend;
};

}  // namespace clearing_test
