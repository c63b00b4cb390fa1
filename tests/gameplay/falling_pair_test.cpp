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
  // The pair at `pos` resting on its cells' places, gravity due at every call.
  void Place(int pos, int dir, std::uint8_t a = 2, std::uint8_t b = 3) {
    CurPos = std::uint8_t(pos), CurDir = std::uint8_t(dir), FallOfs = 20, FallWait = -1;
    CurPiece[0] = a, CurPiece[1] = b;
  }
  // Progress after a lock of a pair on the floor, the lock's random number chosen to give the
  // bonus (one lock in five) or not.
  std::int32_t LevelSumAfterLock(std::int32_t levelSum, std::int32_t goal, bool bonus) {
    Place(Cell(1, 0), 0);
    Gravity();
    LevelSum = levelSum, LevelNorm = goal;
    Wait(1001);
    std::uint32_t seed = 1;
    for (RandomizeWith(seed); (Rnd() * 5.0f >= 4.0f) != bonus; RandomizeWith(++seed)) {
    }
    RandomizeWith(seed);
    Gravity();
    EXPECT_EQ(Board[Cell(1, 0)], 2);
    Board[Cell(0, 0)] = Board[Cell(1, 0)] = 0;
    return LevelSum;
  }
};

TEST_F(FallingPairTest, DealsComeFromTheLevelRangeAndTheSuperPairIsArmedAtItsThreshold) {
  EXPECT_EQ(CurPiece[0] * 10 + CurPiece[1], 22) << "the first pair";
  EXPECT_EQ(CurPos, 154);
  EXPECT_EQ(FallTick, kStartClock);
  Kinds = 8;
  std::map<int, int> counts;
  for (int i = 0; i < 4000; ++i, NewPiece()) ++counts[NextPiece[i % 2]];
  EXPECT_EQ(counts.begin()->first * 100 + counts.rbegin()->first, 210) << "values 2..10";
  EXPECT_NEAR(counts[2], 250, 100) << "the end values come half as often";
  EXPECT_NEAR(counts[6], 500, 100);
  NextPiece[0] = NextPiece[1] = kSuperCell;
  DelSum = SuperAt = 80;
  CurDir = 2;
  NewPiece();
  EXPECT_EQ(SuperArmed, True);
  EXPECT_EQ(CurPiece[0], kSuperCell);
  EXPECT_EQ(CurDir, 0);
}

TEST_F(FallingPairTest, GravityWaitsOutFallWaitThenStepsRowsWithoutAJump) {
  Wait(500);
  Gravity();
  EXPECT_EQ(FallOfs, 0) << "exactly FallWait is not enough";
  Wait(1);
  Gravity();
  EXPECT_EQ(FallOfs, 1);
  FallStep = 5, FallOfs = 0, FallWait = -1;
  for (auto [offset, row] : {std::pair{5, 154}, {10, 154}, {15, 154}, {20, 154}, {5, 144}}) {
    Gravity();
    EXPECT_EQ(FallOfs * 1000 + CurPos, offset * 1000 + row);
  }
}

class FallingPairAtTheWrapTest : public FallingPairTest {
  std::uint32_t StartClock() const override { return 0xFFFFFF00u; }
};

TEST_F(FallingPairAtTheWrapTest, GravityKeepsTimeAcrossTheWrap) {
  Wait(0x100 - 100);
  NewPiece();
  Wait(500);
  Gravity();
  EXPECT_EQ(FallOfs, 0);
  Wait(1);
  Gravity();
  EXPECT_EQ(FallOfs, 1);
}

TEST_F(FallingPairTest, LandingStartsTheLockDelayAndTheLockDealsAnew) {
  Board[Cell(0, 4)] = 5;
  Place(Cell(2, 4), 0);
  Gravity();
  ASSERT_EQ(Landed, True);
  EXPECT_EQ(backend->EffectsNamed("Fall.wav"), 1);
  Wait(1000);
  Gravity();
  EXPECT_EQ(Landed, True) << "locks only after more than 1000 ms";
  Wait(1);
  Gravity();
  EXPECT_EQ(Board[Cell(2, 4)], 2);
  EXPECT_EQ(Board[Cell(1, 4)], 3);
  EXPECT_EQ(Busy, False);
  EXPECT_EQ(CurPos, 154);
}

TEST_F(FallingPairTest, APairMovedOffItsSupportFallsOnAndLandsAnew) {
  Board[Cell(0, 4)] = 5;
  Place(Cell(2, 4), 0);
  Gravity();
  Board[Cell(0, 4)] = 0;  // as if slid over a gap
  Wait(600);
  Gravity();
  EXPECT_EQ(Landed, False);
  EXPECT_EQ(CurPos, Cell(1, 4));
  EXPECT_EQ(FallOfs, 0) << "a row lower at offset 0 is drawn where it was";
  for (int i = 0; i < 21; ++i) Gravity();
  ASSERT_EQ(Landed, True);
  Wait(1000);
  Gravity();
  EXPECT_EQ(Landed, True) << "the new landing restarts the delay";
}

TEST_F(FallingPairTest, LockBonusIsAHundredthOfTheGoalRoundedToEven) {
  EXPECT_EQ(LevelSumAfterLock(10, 48, true), 10);
  EXPECT_EQ(LevelSumAfterLock(10, 50, true), 10);
  EXPECT_EQ(LevelSumAfterLock(11, 50, true), 12);
  EXPECT_EQ(LevelSumAfterLock(0, 150, true), 2);
  EXPECT_EQ(LevelSumAfterLock(1, 150, true), 2);
  EXPECT_EQ(LevelSumAfterLock(7, 99999, true), 1007);
  EXPECT_EQ(LevelSumAfterLock(7, 99999, false), 7);
}

TEST_F(FallingPairTest, TheLockSettlesLooseCellsWhileBusyWithThePairHidden) {
  Board[Cell(0, 3)] = 5;
  Place(Cell(1, 3), 3);  // the second cell hangs over column 4
  Gravity();
  Bool16 busy = False, hidden = False;
  backend->onPump = [&] { busy = Busy, hidden = HidePair; };
  Wait(1001);
  const std::uint32_t lockTime = Now();
  Gravity();
  EXPECT_EQ(Board[Cell(0, 4)], 3);
  EXPECT_EQ(busy, True);
  EXPECT_EQ(hidden, True);
  EXPECT_EQ(HidePair, False);
  EXPECT_GE(Now() - lockTime, 500u);
  EXPECT_EQ(backend->EffectsNamed("Fall.wav"), 2);
}

TEST_F(FallingPairTest, SettleBoardDropsCellsOntoTheirStacksOrDoesNothing) {
  Board[Cell(0, 2)] = 4, Board[Cell(3, 2)] = 5, Board[Cell(5, 2)] = 6, Board[Cell(15, 7)] = 7;
  std::uint32_t start = Now();
  SettleBoard();
  EXPECT_EQ(Board[Cell(1, 2)], 5);
  EXPECT_EQ(Board[Cell(2, 2)], 6);
  EXPECT_EQ(Board[Cell(0, 7)], 7) << "the spawn row takes part";
  EXPECT_EQ(Board[Cell(5, 2)] | Board[Cell(3, 2)] | Board[Cell(15, 7)], 0);
  EXPECT_EQ(backend->pumps, 1);
  EXPECT_EQ(Now() - start, 500u);
  start = Now();
  SettleBoard();
  EXPECT_EQ(backend->pumps, 1);
  EXPECT_EQ(Now(), start);
  EXPECT_EQ(backend->EffectsNamed("Fall.wav"), 1);
}

TEST_F(FallingPairTest, SoftDropScoresTheLevelPerStepUntilThePairRests) {
  Level = 3, Score = 10, HiScore = 12, FallOfs = 7;
  SoftDrop();
  EXPECT_EQ(CurPos, 144);
  EXPECT_EQ(FallOfs, 7);
  EXPECT_EQ(HiScore, 13);
  Place(Cell(1, 0), 0);
  FallOfs = 4;
  SoftDrop();
  EXPECT_EQ(Landed, True);
  EXPECT_EQ(FallOfs, 20) << "snaps onto its cells";
  EXPECT_EQ(Score, 16) << "the landing drop still scores";
  SoftDrop();
  EXPECT_EQ(Score, 16);
  Wait(1001);
  SoftDrop();
  EXPECT_EQ(Board[Cell(1, 0)], 2) << "locks on a soft-drop call too";
  Level = 100, Score = INT_MAX - 50;
  SoftDrop();
  EXPECT_EQ(Score, INT_MAX) << "the score stops at its limit";
}

// A pair dealt onto an occupied cell 134 rests in rows 15 and 14 and locks; the next deal finds
// cell 144 taken and the game-over sequence ends the program.
TEST_F(FallingPairTest, ADealOntoATakenGameOverCellEndsTheGame) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (int row = 0; row < 14; ++row) Board[Cell(row, 4)] = std::uint8_t(2 + row % 2 * 5);
  auto ended = [](int status) {
    return (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT) ||
           (WIFEXITED(status) && WEXITSTATUS(status) == 3);
  };
  EXPECT_EXIT(
      {
        try {
          FallWait = -1;
          for (int i = 0; i < 21; ++i) Gravity();
          if (Landed != True || CurPos != 154) std::_Exit(1);
          Wait(1001);
          Gravity();
        } catch (const ProgramEnded&) {
          std::_Exit(3);
        }
        std::_Exit(0);
      },
      ended, "");
}

}  // namespace
}  // namespace play_test
