// One deletion step: the banner, the count-up, the level, the fall interval, the super pair
// and its lamp, the neighbour rule.
#include "gameplay/deletion_step.h"

#include <cmath>

#include "clearing_fixture.h"
#include "gameplay/surfaces.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

using DeletionStepTest = ClearingFixture;

TEST_F(DeletionStepTest, CountUpShowsExactRunningValuesEveryTenMilliseconds) {
  Put({At(0, 0), At(0, 1), At(0, 2)}, 5, true);
  std::vector<std::array<std::int64_t, 4>> shown;  // Score, DelSum, LevelSum, time
  backend.onIdle = [&] {
    if (Score != (shown.empty() ? 0 : shown.back()[0]))
      shown.push_back({Score, DelSum, LevelSum, std::int64_t(backend.Elapsed())});
  };
  const std::int32_t points = 15, digitSum = 15;
  DeleteMarked(points, digitSum);
  ASSERT_EQ(shown.size(), 50u);
  for (int k = 1; k <= 50; ++k) {
    const auto expected = std::int64_t(std::nearbyint(3 * k / 10.0));  // 0.3 k, half to even
    EXPECT_EQ(shown[k - 1],
              (std::array<std::int64_t, 4>{3 * k, expected, expected, shown[0][3] + 10 * (k - 1)}))
        << "frame " << k;
  }
  EXPECT_EQ(shown[4][1], 2);   // 1.5
  EXPECT_EQ(shown[14][1], 4);  // 4.5
  EXPECT_EQ(HiScore, 150);
  EXPECT_EQ(points + digitSum, 30);  // the caller's values stay
}

TEST_F(DeletionStepTest, BannerShowsTheComboCellDroppingAndTheWordBouncing) {
  const int wordTops[21] = {50,  63,  76,  89,  102, 115, 128, 141, 154, 167, 180,
                            170, 160, 150, 140, 130, 140, 150, 160, 170, 180};
  for (auto [combo, cell] : {std::pair{1, 0}, {5, 4}, {6, 5}, {19, 18}, {20, 19}, {21, 19}}) {
    Combo = static_cast<std::uint8_t>(combo);
    Put({At(15, 5)}, 1, true);  // out of sight: the fade draws no frame
    int k = 0;
    backend.onPump = [&, combo = combo, cell = cell] {
      if (k > 20) return;
      const int top = 50 + 6 * k;
      EXPECT_EQ(Main().Pixel(30, top), ComboColour(cell)) << combo << " frame " << k;
      EXPECT_EQ(Main().Pixel(89, top + 60), kBackdrop) << combo << " frame " << k;
      EXPECT_EQ(Main().Pixel(209, wordTops[k]), kComboWord) << "frame " << k;
      EXPECT_EQ(Main().Pixel(90, wordTops[k] + 40), kBackdrop) << "frame " << k;
      EXPECT_EQ(backend.pumpTimes.back() - backend.pumpTimes.front(), 20u * k);
      ++k;
    };
    backend.pumpTimes.clear();
    DeleteMarked(0, 1);
    EXPECT_EQ(k, 21);
  }
}

TEST_F(DeletionStepTest, DeletedDigitsAddToTheirNeighboursModuloTheRange) {
  Put({At(0, 0), At(0, 3), At(0, 5)}, 3, true);
  Put({At(0, 1), At(0, 4)}, 4);
  // (1, 0) is no neighbour of (0, 9), nor (2, 9) of (3, 0); row 14 reaches the spawn row,
  // which reaches nothing above.
  Put({At(1, 0), At(2, 9), At(14, 5), At(15, 6)}, 3, true);
  Put({At(0, 9), At(3, 0), At(2, 0), At(1, 9), At(15, 5), At(15, 7)}, 1);
  std::vector<std::uint8_t> b;  // as the removal leaves it, before cells fall
  backend.onIdle = [&] {
    if (b.empty() && MarkedCells().empty()) b.assign(std::begin(Board), std::end(Board));
  };
  DeleteMarked(0, 21);
  ASSERT_FALSE(b.empty());
  EXPECT_EQ(b[At(0, 1)], Digit(2));  // 4 + 3 mod 5
  EXPECT_EQ(b[At(0, 4)], Digit(0));  // 4 + 3 + 3 mod 5: a digit that never makes a line
  EXPECT_EQ(b[At(0, 9)] + b[At(3, 0)], 2 * Digit(1));
  EXPECT_EQ(b[At(2, 0)] + b[At(1, 9)] + b[At(15, 7)], 3 * Digit(4));
  EXPECT_EQ(b[At(15, 5)], Digit(2));  // from below and from its side
  EXPECT_EQ(b[At(0, 0)] + b[At(1, 0)] + b[At(14, 5)], 0);
}

TEST_F(DeletionStepTest, LevelUpComesBeforeTheNeighbourRuleAndFallWaitFollowsTheGauge) {
  Level = 7;  // the next row of the table widens the range from 2 to 3
  Kinds = 2;
  LevelNorm = 5;
  FallWait = 500;
  Put({At(0, 0), At(0, 1), At(0, 2)}, 2, true);
  Put({At(0, 3)}, 3);
  DeleteMarked(18, 6);
  EXPECT_EQ(Level, 8);
  EXPECT_EQ(Board[At(0, 3)], Digit(0));  // (3 + 2) mod 5, not mod 4
  EXPECT_EQ(FallWait, 197);              // 200 - (1 / 96 * 200 + 1)
  LevelSum = 45;
  Put({At(1, 0), At(1, 1), At(1, 2)}, 1, true);
  DeleteMarked(3, 3);
  EXPECT_EQ(FallWait, 99);  // half way
  // Far past the goal: one level per step, and a negative interval until it catches up.
  LevelSum = 500;
  Put({At(1, 0), At(1, 1), At(1, 2)}, 1, true);
  DeleteMarked(3, 3);
  EXPECT_EQ(Level, 9);
  EXPECT_EQ(FallWait, -632);  // 200 - (407 / 98 * 200 + 1) = -631.6
}

TEST_F(DeletionStepTest, ReachingTheThresholdArmsTheSuperPairAndLightsTheLamp) {
  DelSum = 5;
  SuperAt = 10;
  Put({At(0, 0), At(0, 1), At(0, 2)}, 2, true);
  // The counting total reaches 10 at frame 38 (9.56): thirteen lamps of three numbers each.
  const std::vector<float> stream = RandomStream(77, 40);
  DeleteMarked(6, 6);
  EXPECT_EQ(Rnd(), stream[39]);
  EXPECT_EQ(Main().Pixel(240, 35), LampColour(&stream[36]));
  EXPECT_EQ(NextPiece[0] & NextPiece[1], kSuperCell);
}

TEST_F(DeletionStepTest, TotalsHoldAtTheTopOfTheirWidth) {
  Score = 2147483000;
  DelSum = 40000;  // past 16 bits
  Put({At(0, 0), At(0, 1), At(0, 2)}, 9, true);
  DeleteMarked(2000000, 27);
  EXPECT_EQ(Score, 2147483647);
  EXPECT_EQ(HiScore, 2147483647);
  EXPECT_EQ(DelSum, 40027);
}

}  // namespace
}  // namespace clearing_test
