#include "gameplay/falling_pair.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <climits>
#include <cstdlib>
#include <map>

#include "game_fixture.h"
#include "platform/system.h"

namespace play_test {
namespace {

class FallingPairTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    StartPlay();
    UserSettings.SoundOn = True;
  }

  void Gravity() {
    FromLoop = True;
    FallPair();
    FromLoop = False;
  }

  void SoftDrop() {
    PressDown = 1;
    FallPair();
  }

  // Puts the pair at `pos` resting on its cells, with gravity due on the next call.
  void PlaceOnCells(int pos, int dir) {
    CurPos = std::uint8_t(pos);
    CurDir = std::uint8_t(dir);
    FallOfs = 20;
    FallWait = -1;
  }

  // Gravity steps until the pair has landed (at most `limit`).
  void FallUntilLanded(int limit = 1000) {
    for (int i = 0; i < limit && Landed == False; ++i) {
      Wait(1);
      Gravity();
    }
    ASSERT_EQ(Landed, True);
  }

  // A seed whose first random number gives (or withholds) the lock bonus.
  static std::uint32_t SeedForBonus(bool bonus) {
    for (std::uint32_t seed = 1;; ++seed) {
      RandomizeWith(seed);
      if ((Rnd() * 5.0f >= 4.0f) == bonus) return seed;
    }
  }

  // Lands a pair on the floor and locks it with the given goal and progress.
  std::int32_t LevelSumAfterLock(std::int32_t levelSum, std::int32_t goal, bool bonus) {
    CurPiece[0] = 2;
    CurPiece[1] = 3;
    PlaceOnCells(Cell(1, 0), 0);
    FallUntilLanded();
    LevelSum = levelSum;
    LevelNorm = goal;
    Wait(1001);
    RandomizeWith(SeedForBonus(bonus));
    Gravity();
    EXPECT_EQ(Board[Cell(1, 0)], 2);
    std::int32_t after = LevelSum;
    Board[Cell(0, 0)] = Board[Cell(1, 0)] = 0;
    return after;
  }
};

TEST_F(FallingPairTest, TheFirstPairIsTwoTwoAtTheSpawnPoint) {
  EXPECT_EQ(CurPiece[0], 2);
  EXPECT_EQ(CurPiece[1], 2);
  EXPECT_EQ(CurPos, 154);
  EXPECT_EQ(CurDir, 0);
  EXPECT_EQ(FallOfs, 0);
  EXPECT_EQ(FallTick, kStartClock);
  EXPECT_EQ(NextAnim, True);
  EXPECT_EQ(StepDue, False);
  for (int k = 0; k < 2; ++k) {
    EXPECT_GE(NextPiece[k], 2);
    EXPECT_LE(NextPiece[k], 3);
  }
}

TEST_F(FallingPairTest, DealtDigitsSpanTheRangeWithHalfWeightedEnds) {
  Kinds = 8;
  std::map<int, int> counts;
  constexpr int kDeals = 8000;
  for (int i = 0; i < kDeals / 2; ++i) {
    NewPiece();
    ++counts[NextPiece[0]];
    ++counts[NextPiece[1]];
  }
  EXPECT_EQ(counts.begin()->first, 2);
  EXPECT_EQ(counts.rbegin()->first, 10);
  EXPECT_EQ(counts.size(), 9u);
  // Ends 1/16 of the deals, the others 1/8.
  EXPECT_NEAR(counts[2], kDeals / 16, kDeals / 40);
  EXPECT_NEAR(counts[10], kDeals / 16, kDeals / 40);
  EXPECT_NEAR(counts[6], kDeals / 8, kDeals / 40);
}

TEST_F(FallingPairTest, NewPieceDealsTheSuperPairOnceTheThresholdIsReached) {
  NextPiece[0] = NextPiece[1] = kSuperCell;
  DelSum = 80;
  SuperAt = 80;
  CurDir = 2;
  NewPiece();
  EXPECT_EQ(SuperArmed, True);
  EXPECT_EQ(CurPiece[0], kSuperCell);
  EXPECT_EQ(CurPiece[1], kSuperCell);
  EXPECT_EQ(CurDir, 0);
  EXPECT_NE(NextPiece[0], kSuperCell);
}

TEST_F(FallingPairTest, GravityWaitsForFallWaitThenSlidesByTheStep) {
  Gravity();
  EXPECT_EQ(FallOfs, 0);
  Wait(500);
  Gravity();
  EXPECT_EQ(FallOfs, 0) << "exactly FallWait has not yet passed";
  Wait(1);
  Gravity();
  EXPECT_EQ(FallOfs, 1);
  EXPECT_EQ(FallTick, kStartClock + 501);
}

TEST_F(FallingPairTest, RowStepsFollowTheSlideWithoutAJump) {
  FallStep = 5;
  FallWait = -1;
  const int offsets[] = {5, 10, 15, 20, 5, 10};
  const int rows[] = {154, 154, 154, 154, 144, 144};
  for (int i = 0; i < 6; ++i) {
    Gravity();
    EXPECT_EQ(FallOfs, offsets[i]) << "tick " << i;
    EXPECT_EQ(CurPos, rows[i]) << "tick " << i;
    EXPECT_EQ(StepDue, False);
  }
}

TEST_F(FallingPairTest, StepTwentyMovesAWholeRowEveryTick) {
  FallStep = 20;
  FallWait = -1;
  Gravity();
  EXPECT_EQ(FallOfs, 20);
  Gravity();
  EXPECT_EQ(CurPos, 144);
  EXPECT_EQ(FallOfs, 20);
  Gravity();
  EXPECT_EQ(CurPos, 134);
}

class FallingPairAtTheWrapTest : public FallingPairTest {
 protected:
  std::uint32_t StartClock() const override { return 0xFFFFFF00u; }
};

TEST_F(FallingPairAtTheWrapTest, GravityKeepsTimeAcrossTheWrapOfTheTickCounter) {
  Wait(0x100 - 100);
  NewPiece();  // dealt 100 ms before the wrap
  Wait(400);
  EXPECT_EQ(Now(), 300u);
  Gravity();
  EXPECT_EQ(FallOfs, 0);
  Wait(101);
  Gravity();
  EXPECT_EQ(FallOfs, 1);
}

TEST_F(FallingPairTest, LandingStartsTheLockDelayAndLocksAfterMoreThanASecond) {
  Board[Cell(0, 4)] = 5;
  CurPiece[0] = 3;
  CurPiece[1] = 4;
  PlaceOnCells(Cell(2, 4), 0);
  Gravity();
  ASSERT_EQ(Landed, True);
  EXPECT_EQ(LandTick, Now());
  EXPECT_EQ(FallOfs, 20);
  EXPECT_EQ(backend->EffectsNamed("Fall.wav"), 1);
  const std::uint32_t landed = Now();

  WaitUntil(landed + 1000);
  Gravity();
  EXPECT_EQ(Landed, True) << "the pair locks only after more than 1000 ms";
  EXPECT_EQ(Board[Cell(1, 4)], 0);

  WaitUntil(landed + 1001);
  Gravity();
  EXPECT_EQ(Board[Cell(2, 4)], 3);
  EXPECT_EQ(Board[Cell(1, 4)], 4);
  EXPECT_EQ(Landed, False);
  EXPECT_EQ(Busy, False);
  EXPECT_EQ(CurPos, 154) << "the next pair is dealt";
}

TEST_F(FallingPairTest, APairMovedOffItsSupportFallsOnAndLandsAnew) {
  Board[Cell(0, 4)] = 5;
  PlaceOnCells(Cell(2, 4), 0);
  Gravity();
  ASSERT_EQ(Landed, True);
  const Tick fallTick = FallTick;
  Board[Cell(0, 4)] = 0;  // as if slid over a gap
  Wait(600);
  Gravity();
  EXPECT_EQ(Landed, False);
  EXPECT_EQ(CurPos, Cell(1, 4));
  EXPECT_EQ(FallOfs, 0) << "a row lower at offset 0 is drawn where it was";
  EXPECT_EQ(FallTick, fallTick);

  FallUntilLanded();
  EXPECT_EQ(CurPos, Cell(1, 4));
  const std::uint32_t landed = Now();
  WaitUntil(landed + 1000);
  Gravity();
  EXPECT_EQ(Landed, True) << "the second landing restarts the delay";
}

TEST_F(FallingPairTest, LockBonusFollowsTheGoal) {
  EXPECT_EQ(LevelSumAfterLock(10, 48, true), 10) << "0.48 rounds away";
  EXPECT_EQ(LevelSumAfterLock(10, 50, true), 10) << "10.5 rounds to even";
  EXPECT_EQ(LevelSumAfterLock(11, 50, true), 12);
  EXPECT_EQ(LevelSumAfterLock(0, 150, true), 2);
  EXPECT_EQ(LevelSumAfterLock(1, 150, true), 2);
  EXPECT_EQ(LevelSumAfterLock(7, 99999, true), 1007);
  EXPECT_EQ(LevelSumAfterLock(7, 99999, false), 7) << "four locks in five get nothing";
}

TEST_F(FallingPairTest, LockSequenceSettlesAHangingCellWhileBusy) {
  Board[Cell(0, 3)] = 5;
  CurPiece[0] = 2;
  CurPiece[1] = 3;
  PlaceOnCells(Cell(1, 3), 3);  // second cell right, over an empty column 4
  Gravity();
  ASSERT_EQ(Landed, True);
  Bool16 busyInPump = False, hiddenInPump = False;
  backend->onPump = [&] {
    busyInPump = Busy;
    hiddenInPump = HidePair;
  };
  Wait(1001);
  const std::uint32_t lockTime = Now();
  Gravity();
  EXPECT_EQ(Board[Cell(1, 3)], 2);
  EXPECT_EQ(Board[Cell(0, 4)], 3) << "the hanging cell has fallen";
  EXPECT_EQ(Board[Cell(1, 4)], 0);
  EXPECT_EQ(busyInPump, True);
  EXPECT_EQ(hiddenInPump, True);
  EXPECT_EQ(HidePair, False);
  EXPECT_EQ(Busy, False);
  EXPECT_GE(Now() - lockTime, 500u);
  EXPECT_EQ(backend->EffectsNamed("Fall.wav"), 2);
}

TEST_F(FallingPairTest, SettleBoardDropsEveryLooseCellOntoItsStack) {
  Board[Cell(0, 2)] = 4;
  Board[Cell(3, 2)] = 5;
  Board[Cell(5, 2)] = 6;
  Board[Cell(15, 7)] = 7;  // the spawn row takes part
  int pumps = 0;
  backend->onPump = [&] {
    ++pumps;
    EXPECT_EQ(HidePair, True);
  };
  const std::uint32_t start = Now();
  SettleBoard();
  EXPECT_EQ(Board[Cell(1, 2)], 5);
  EXPECT_EQ(Board[Cell(2, 2)], 6);
  EXPECT_EQ(Board[Cell(3, 2)], 0);
  EXPECT_EQ(Board[Cell(5, 2)], 0);
  EXPECT_EQ(Board[Cell(0, 7)], 7);
  EXPECT_EQ(Board[Cell(15, 7)], 0);
  EXPECT_EQ(pumps, 1);
  EXPECT_EQ(Now() - start, 500u);
  EXPECT_EQ(backend->EffectsNamed("Fall.wav"), 1);
}

TEST_F(FallingPairTest, SettleBoardWithNothingLooseDoesNothing) {
  Board[Cell(0, 2)] = 4;
  Board[Cell(1, 2)] = 5;
  const std::uint32_t start = Now();
  SettleBoard();
  EXPECT_EQ(backend->pumps, 0);
  EXPECT_EQ(Now(), start);
  EXPECT_EQ(Board[Cell(1, 2)], 5);
}

TEST_F(FallingPairTest, SoftDropMovesARowAndScoresTheLevel) {
  Level = 3;
  Score = 10;
  HiScore = 12;
  FallOfs = 7;
  SoftDrop();
  EXPECT_EQ(CurPos, 144);
  EXPECT_EQ(FallOfs, 7) << "a soft drop keeps the offset";
  EXPECT_EQ(Score, 13);
  EXPECT_EQ(HiScore, 13);
}

TEST_F(FallingPairTest, SoftDropLandingSnapsAndLaterDropsScoreNothing) {
  Level = 2;
  PlaceOnCells(Cell(1, 0), 0);
  FallOfs = 4;
  SoftDrop();
  EXPECT_EQ(Landed, True);
  EXPECT_EQ(FallOfs, 20);
  EXPECT_EQ(Score, 2) << "the landing drop still scores";
  SoftDrop();
  SoftDrop();
  EXPECT_EQ(Score, 2);
  EXPECT_EQ(Landed, True) << "holding Down does not shorten the delay";
  Wait(1001);
  SoftDrop();
  EXPECT_EQ(Board[Cell(1, 0)], 2) << "the lock happens on a soft-drop call too";
}

TEST_F(FallingPairTest, SoftDropScoreStopsAtItsLimit) {
  Level = 100;
  Score = INT_MAX - 50;
  SoftDrop();
  EXPECT_EQ(Score, INT_MAX);
  EXPECT_EQ(HiScore, INT_MAX);
}

// The game-over sequence ends the program: reached when the game-over cell is taken at a
// deal. A pair dealt onto an occupied cell 134 rests in rows 15 and 14, locks, and the next
// deal ends the game.
TEST_F(FallingPairTest, ADealOntoATakenGameOverCellEndsTheGame) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Board[Cell(13, 4)] = 5;
  for (int row = 0; row < 13; ++row) Board[Cell(row, 4)] = std::uint8_t(2 + row % 2 * 5);
  auto gameEnded = [](int status) {
    return (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT) ||
           (WIFEXITED(status) && WEXITSTATUS(status) == 3);
  };
  EXPECT_EXIT(
      {
        try {
          FallWait = -1;
          for (int i = 0; i < 100; ++i) {
            Wait(50);
            Gravity();
          }
        } catch (const ProgramEnded&) {
          std::_Exit(3);
        }
        std::_Exit(0);
      },
      gameEnded, "");
}

TEST_F(FallingPairTest, ThePairLandsInTheSpawnRowOverAFullColumn) {
  for (int row = 0; row < 14; ++row) Board[Cell(row, 4)] = std::uint8_t(2 + row % 2 * 5);
  FallWait = -1;
  FallUntilLanded();
  EXPECT_EQ(CurPos, 154);
  EXPECT_EQ(FallOfs, 20);
}

}  // namespace
}  // namespace play_test
