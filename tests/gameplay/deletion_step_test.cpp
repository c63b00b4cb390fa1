// One deletion step: the banner, the count-up, the level and the fall interval, the super
// pair, the neighbour rule and the lamp.
#include "gameplay/deletion_step.h"

#include <cmath>
#include <vector>

#include "clearing_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

class DeletionStepTest : public ClearingFixture {
 protected:
  void Mark(std::initializer_list<int> cells, int digit) {
    for (int c : cells) {
      Board[c] = Digit(digit);
      Marked[c] = True;
    }
  }
};

TEST_F(DeletionStepTest, CountUpShowsExactRunningValuesEveryTenMilliseconds) {
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 5);
  struct Shown {
    std::int32_t score, delSum, levelSum;
    std::uint64_t time;
  };
  std::vector<Shown> shown;
  backend.onIdle = [&] {
    if (Score != (shown.empty() ? 0 : shown.back().score))
      shown.push_back({Score, DelSum, LevelSum, backend.Elapsed()});
  };
  const std::int32_t points = 15;
  const std::int32_t digitSum = 15;
  DeleteMarked(points, digitSum);

  ASSERT_EQ(shown.size(), 50u);
  for (int k = 1; k <= 50; ++k) {
    const Shown& s = shown[k - 1];
    const auto expected = static_cast<std::int32_t>(std::nearbyint(3 * k / 10.0));
    EXPECT_EQ(s.score, 3 * k) << "frame " << k;
    EXPECT_EQ(s.delSum, expected) << "frame " << k;
    EXPECT_EQ(s.levelSum, expected) << "frame " << k;
    if (k > 1) {
      EXPECT_EQ(s.time - shown[k - 2].time, 10u) << "frame " << k;
    }
  }
  EXPECT_EQ(shown[4].delSum, 2);   // 1.5
  EXPECT_EQ(shown[14].delSum, 4);  // 4.5
  EXPECT_EQ(Score, 150);
  EXPECT_EQ(HiScore, 150);
  EXPECT_EQ(DelSum, 15);
  EXPECT_EQ(points, 15);
  EXPECT_EQ(digitSum, 15);
}

TEST_F(DeletionStepTest, BannerShowsTheCellOfTheComboCount) {
  const struct {
    int combo;
    int cell;
  } cases[] = {{1, 0}, {5, 4}, {6, 5}, {19, 18}, {20, 19}, {21, 19}};
  for (const auto& c : cases) {
    Combo = static_cast<std::uint8_t>(c.combo);
    Mark({At(15, 5)}, 1);  // out of sight: the fade draws no frame
    WatchMainPixel(60, 80);
    DeleteMarked(0, 1);
    ASSERT_GE(mainPixels.size(), 1u);
    EXPECT_EQ(mainPixels.front(), ComboColour(c.cell)) << "combo " << c.combo;
    mainPixels.clear();
  }
}

TEST_F(DeletionStepTest, BannerDropsTheNumberAndBouncesTheWordOverTwentyOneFrames) {
  Combo = 2;
  Mark({At(15, 5)}, 1);
  const int wordTops[21] = {50,  63,  76,  89,  102, 115, 128, 141, 154, 167, 180,
                            170, 160, 150, 140, 130, 140, 150, 160, 170, 180};
  std::vector<bool> placed;
  backend.onPump = [&] {
    const int k = static_cast<int>(placed.size());
    if (k > 20) return;
    const int numberTop = 50 + 6 * k;
    const int wordTop = wordTops[k];
    placed.push_back(Main().Pixel(30, numberTop) == ComboColour(1) &&
                     Main().Pixel(89, numberTop + 59) == ComboColour(1) &&
                     (k == 0 || Main().Pixel(30, numberTop - 1) == kBackdrop) &&
                     Main().Pixel(90, wordTop) == kComboWord &&
                     Main().Pixel(209, wordTop + 39) == kComboWord &&
                     (k == 0 || Main().Pixel(150, wordTop - 1) == kBackdrop) &&
                     Main().Pixel(150, wordTop + 40) == kBackdrop);
  };
  DeleteMarked(0, 1);
  ASSERT_GE(backend.pumpTimes.size(), 21u);
  EXPECT_EQ(placed, std::vector<bool>(21, true));
  for (int k = 0; k < 21; ++k) EXPECT_EQ(backend.pumpTimes[k], 20u * (k + 1)) << "frame " << k;
}

TEST_F(DeletionStepTest, DeletedDigitsAddToTheirNeighboursModuloTheRange) {
  Kinds = 3;  // modulus 5
  Mark({At(0, 0)}, 3);
  Board[At(0, 1)] = Digit(4);
  Mark({At(0, 3), At(0, 5)}, 3);
  Board[At(0, 4)] = Digit(4);
  WatchBoardAfterRemoval();
  DeleteMarked(0, 9);
  ASSERT_FALSE(boardAfterRemoval.empty());
  EXPECT_EQ(boardAfterRemoval[At(0, 1)], Digit(2));
  EXPECT_EQ(boardAfterRemoval[At(0, 4)], Digit(0));  // never forms a line again
  EXPECT_EQ(Board[At(0, 4)], Digit(0));
  for (int c : {At(0, 0), At(0, 3), At(0, 5)}) EXPECT_EQ(boardAfterRemoval[c], 0);
  for (Bool16 changed : Changed) EXPECT_EQ(changed, False);
}

TEST_F(DeletionStepTest, NeighbourRuleStopsAtTheWallsAndAboveTheSpawnRow) {
  Kinds = 3;
  for (int c : {At(0, 0), At(2, 0), At(3, 0), At(0, 9), At(1, 9), At(15, 7)}) Board[c] = Digit(1);
  Board[At(15, 5)] = Digit(1);
  Mark({At(1, 0), At(2, 9), At(14, 5), At(15, 6)}, 3);
  WatchBoardAfterRemoval();
  DeleteMarked(0, 12);
  ASSERT_FALSE(boardAfterRemoval.empty());
  EXPECT_EQ(boardAfterRemoval[At(0, 9)], Digit(1));  // not the left neighbour of (1, 0)
  EXPECT_EQ(boardAfterRemoval[At(3, 0)], Digit(1));  // not the right neighbour of (2, 9)
  EXPECT_EQ(boardAfterRemoval[At(0, 0)], Digit(4));
  EXPECT_EQ(boardAfterRemoval[At(2, 0)], Digit(4));
  EXPECT_EQ(boardAfterRemoval[At(1, 9)], Digit(4));
  EXPECT_EQ(boardAfterRemoval[At(15, 5)], Digit(2));  // from row 14 and from its side
  EXPECT_EQ(boardAfterRemoval[At(15, 7)], Digit(4));
  EXPECT_EQ(Board[160], 0);
}

TEST_F(DeletionStepTest, LevelUpComesBeforeTheNeighbourRule) {
  Level = 7;  // the next row of the level table widens the range to 3
  Kinds = 2;
  LevelNorm = 5;
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 2);
  Board[At(0, 3)] = Digit(3);
  DeleteMarked(18, 6);
  EXPECT_EQ(Level, 8);
  EXPECT_EQ(Kinds, 3);
  EXPECT_EQ(Board[At(0, 3)], Digit(0));  // (3 + 2) mod 5, not mod 4
  EXPECT_EQ(LevelSum, 1);
  EXPECT_EQ(LevelNorm, 96);
  EXPECT_EQ(FallWait, 197);  // 200 - (1 / 96 * 200 + 1)
}

TEST_F(DeletionStepTest, FallWaitFollowsTheGauge) {
  LevelNorm = 48;
  Mark({At(0, 0)}, 0);
  DeleteMarked(0, 0);
  EXPECT_EQ(FallWait, 199);  // replaces the 500 of the start

  LevelSum = 21;
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 1);
  DeleteMarked(3, 3);
  EXPECT_EQ(FallWait, 99);

  // Far past the goal: one level per step, and a negative interval until it catches up.
  Level = 1;
  LevelSum = 200;
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 1);
  DeleteMarked(3, 3);
  EXPECT_EQ(Level, 2);
  EXPECT_EQ(LevelSum, 155);
  EXPECT_EQ(FallWait, -434);  // 200 - (155 / 49 * 200 + 1) = -433.65
}

TEST_F(DeletionStepTest, ReachingTheThresholdArmsTheSuperPairAndLightsTheLamp) {
  DelSum = 5;
  SuperAt = 10;
  NextPiece[0] = NextPiece[1] = Digit(1);
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 2);
  // The counting digit total reaches 10 at frame 38 (9.56): thirteen lamps of three numbers.
  const std::vector<float> stream = RandomStream(77, 40);
  DeleteMarked(6, 6);
  EXPECT_EQ(Rnd(), stream[39]);
  EXPECT_EQ(LampOn, True);
  EXPECT_EQ(Main().Pixel(240, 35), LampColour(stream[36], stream[37], stream[38]));
  EXPECT_EQ(NextPiece[0], kSuperCell);
  EXPECT_EQ(NextPiece[1], kSuperCell);
}

TEST_F(DeletionStepTest, NoLampNorNewSuperPairWhileOneIsInPlay) {
  DelSum = 50;
  SuperAt = 10;
  // The super pair in play has landed on the bottom row; the next check sees it vanish and
  // draws one number for the next threshold.
  SuperArmed = True;
  CurPos = At(1, 9);
  Board[At(1, 9)] = Board[At(0, 9)] = kSuperCell;
  NextPiece[0] = NextPiece[1] = Digit(1);
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 2);
  const std::vector<float> stream = RandomStream(5, 2);
  DeleteMarked(6, 6);
  EXPECT_EQ(Rnd(), stream[1]);
  EXPECT_EQ(LampOn, False);
  EXPECT_EQ(NextPiece[0], Digit(1));
}

TEST_F(DeletionStepTest, TotalsHoldAtTheTopOfTheirWidth) {
  Score = 2147483000;
  DelSum = 40000;  // past the 16 bits of the old digit total
  LevelSum = 10;
  Mark({At(0, 0), At(0, 1), At(0, 2)}, 9);
  DeleteMarked(2000000, 27);
  EXPECT_EQ(Score, 2147483647);
  EXPECT_EQ(HiScore, 2147483647);
  EXPECT_EQ(DelSum, 40027);
}

}  // namespace
}  // namespace clearing_test
