#include "gameplay/key_handling.h"

#include <gtest/gtest.h>

#include <functional>

#include "game_fixture.h"

namespace play_test {
namespace {

class KeyHandlingTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    StartPlay();
    UserSettings.KeySense = 0;
  }

  void Place(int pos, int dir) {
    CurPos = std::uint8_t(pos);
    CurDir = std::uint8_t(dir);
  }

  // One pass with only `key` down, in manual mode; the pair's new pivot.
  int PressOnce(std::uint8_t& key, int pos, int dir) {
    Place(pos, dir);
    key = 1;
    HandleKeys();
    key = 0;
    return CurPos;
  }
};

struct SideCase {
  int dir;
  int tested;    // offset of the cell that must be empty
  int boundCol;  // a pivot column at which the move is refused by the wall
};

TEST_F(KeyHandlingTest, LeftTestsOneCellAndTheWall) {
  const SideCase cases[] = {{0, -11, 0}, {1, -2, 1}, {2, -1, 0}, {3, -1, 0}};
  for (const SideCase& c : cases) {
    const int pos = Cell(5, 4);
    EXPECT_EQ(PressOnce(PressLeft, pos, c.dir), pos - 1) << "dir " << c.dir;
    Board[pos + c.tested] = 6;
    EXPECT_EQ(PressOnce(PressLeft, pos, c.dir), pos) << "dir " << c.dir;
    Board[pos + c.tested] = 0;
    EXPECT_EQ(PressOnce(PressLeft, Cell(5, c.boundCol), c.dir), Cell(5, c.boundCol));
    EXPECT_EQ(PressOnce(PressLeft, Cell(5, c.boundCol + 1), c.dir), Cell(5, c.boundCol));
  }
}

TEST_F(KeyHandlingTest, RightTestsOneCellAndTheWall) {
  const SideCase cases[] = {{0, -9, 9}, {1, 1, 9}, {2, 1, 9}, {3, 2, 8}};
  for (const SideCase& c : cases) {
    const int pos = Cell(5, 4);
    EXPECT_EQ(PressOnce(PressRight, pos, c.dir), pos + 1) << "dir " << c.dir;
    Board[pos + c.tested] = 6;
    EXPECT_EQ(PressOnce(PressRight, pos, c.dir), pos) << "dir " << c.dir;
    Board[pos + c.tested] = 0;
    EXPECT_EQ(PressOnce(PressRight, Cell(5, c.boundCol), c.dir), Cell(5, c.boundCol));
    EXPECT_EQ(PressOnce(PressRight, Cell(5, c.boundCol - 1), c.dir), Cell(5, c.boundCol));
  }
}

TEST_F(KeyHandlingTest, AVerticalPairTestsOnlyItsLowerCell) {
  const int pos = Cell(5, 4);
  Board[pos - 1] = 6;  // beside the upper cell (cannot happen on a settled board)
  EXPECT_EQ(PressOnce(PressLeft, pos, 0), pos - 1);
}

struct TurnCase {
  int from;
  int to;
  int blocker;  // offset whose cell refuses the turn
  int edgePos;  // a pivot at which the wall or the floor refuses it
};

void CheckTurns(std::uint8_t& key, const TurnCase (&cases)[4],
                std::function<int(std::uint8_t&, int, int)> press) {
  for (const TurnCase& c : cases) {
    const int pos = Cell(5, 4);
    press(key, pos, c.from);
    EXPECT_EQ(CurDir, c.to) << "from " << c.from;
    Board[pos + c.blocker] = 6;
    press(key, pos, c.from);
    EXPECT_EQ(CurDir, c.from) << "blocked from " << c.from;
    Board[pos + c.blocker] = 0;
    press(key, c.edgePos, c.from);
    EXPECT_EQ(CurDir, c.from) << "at the edge from " << c.from;
    EXPECT_EQ(CurPos, c.edgePos) << "a turn never moves the pivot";
  }
}

TEST_F(KeyHandlingTest, ZTurnsCounterClockwiseWithoutKicks) {
  const TurnCase cases[4] = {{0, 3, 1, Cell(5, 9)},
                             {1, 0, -10, Cell(0, 4)},
                             {2, 1, -1, Cell(5, 0)},
                             {3, 2, 10, Cell(15, 4)}};
  CheckTurns(PressZ, cases,
             [this](std::uint8_t& k, int pos, int dir) { return PressOnce(k, pos, dir); });
}

TEST_F(KeyHandlingTest, XTurnsClockwiseWithoutKicks) {
  const TurnCase cases[4] = {{0, 1, -1, Cell(5, 0)},
                             {1, 2, 10, Cell(15, 4)},
                             {2, 3, 1, Cell(5, 9)},
                             {3, 0, -10, Cell(0, 4)}};
  CheckTurns(PressX, cases,
             [this](std::uint8_t& k, int pos, int dir) { return PressOnce(k, pos, dir); });
}

TEST_F(KeyHandlingTest, XTurnsDownIntoTheBottomRow) {
  PressOnce(PressX, 10, 3);
  EXPECT_EQ(CurDir, 0);
}

TEST_F(KeyHandlingTest, ZAtTheRightWallOfTheSpawnRowIsRefused) {
  PressOnce(PressZ, 159, 0);
  EXPECT_EQ(CurDir, 0);
}

TEST_F(KeyHandlingTest, ATurnPlaysItsSound) {
  UserSettings.SoundOn = True;
  PressOnce(PressZ, Cell(5, 4), 0);
  PressOnce(PressZ, Cell(5, 9), 0);  // refused: silent
  EXPECT_EQ(backend->EffectsNamed("Turn.wav"), 1);
  UserSettings.SoundOn = 1;  // only exactly True counts as on
  PressOnce(PressZ, Cell(5, 4), 0);
  EXPECT_EQ(backend->EffectsNamed("Turn.wav"), 1);
}

TEST_F(KeyHandlingTest, ManualModeUsesUpAPressEvenWhenNothingMoves) {
  Place(Cell(5, 0), 0);
  PressLeft = 1;
  PressZ = 1;
  Board[Cell(5, 1)] = 6;  // blocks the turn to the right
  HandleKeys();
  EXPECT_EQ(PressLeft, 2);
  EXPECT_EQ(PressZ, 2);
  Board[Cell(5, 1)] = 0;
  PressRight = 1;
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 1));
  EXPECT_EQ(CurDir, 0) << "a used-up Z does not act again";
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 1)) << "a used-up Right does not act again";
}

TEST_F(KeyHandlingTest, AutoRepeatKeepsTheStateAndActsEveryPassOfTheGate) {
  UserSettings.KeySense = 1;
  Place(Cell(5, 9), 2);
  PressLeft = 1;
  for (int frame = 0; frame < 5; ++frame, Wait(49)) HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 4)) << "40 ms fits in one 49 ms frame";
  EXPECT_EQ(PressLeft, 1);
}

TEST_F(KeyHandlingTest, TheRepeatGateHoldsBackForKeySenseTimesFortyMs) {
  UserSettings.KeySense = 5;
  Place(Cell(5, 9), 2);
  PressLeft = 1;
  for (int frame = 0; frame <= 10; ++frame, Wait(49)) HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 6)) << "frames 0, 5 and 10 act (200 ms is five frames)";
}

TEST_F(KeyHandlingTest, TheGateIsRenewedWithNoKeyDown) {
  UserSettings.KeySense = 5;
  Place(Cell(5, 9), 2);
  HandleKeys();
  Wait(100);
  PressLeft = 1;
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 9));
  Wait(100);
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 8));
}

TEST_F(KeyHandlingTest, LeftAndRightTogetherMoveLeftThenRight) {
  Place(Cell(5, 9), 0);
  PressLeft = PressRight = 1;
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 9));
}

TEST_F(KeyHandlingTest, ZWinsOverX) {
  Place(Cell(5, 4), 0);
  PressZ = PressX = 1;
  HandleKeys();
  EXPECT_EQ(CurDir, 3);
  EXPECT_EQ(PressZ, 2);
  EXPECT_EQ(PressX, 1) << "X is skipped in that pass";
}

TEST_F(KeyHandlingTest, NoTurnWhileASuperPairFalls) {
  SuperArmed = True;
  Place(Cell(5, 4), 0);
  PressZ = 1;
  HandleKeys();
  PressZ = 0;
  PressX = 1;
  HandleKeys();
  EXPECT_EQ(CurDir, 0);
  EXPECT_EQ(PressX, 1) << "the state is kept for the next ordinary pair";
  SuperArmed = False;
  HandleKeys();
  EXPECT_EQ(CurDir, 1);
}

TEST_F(KeyHandlingTest, DownGivesOneSoftDropPerPress) {
  Level = 4;
  PressDown = 1;
  HandleKeys();
  EXPECT_EQ(CurPos, 144);
  EXPECT_EQ(Score, 4);
  EXPECT_EQ(PressDown, 2);
  HandleKeys();
  EXPECT_EQ(CurPos, 144);
  EXPECT_EQ(Score, 4);
}

TEST_F(KeyHandlingTest, DownReleasedDuringTheLockSequenceIsNotMarkedUsed) {
  Board[Cell(0, 3)] = 5;
  Place(Cell(1, 3), 3);  // second cell over the empty column 4: it settles after the lock
  CurPiece[0] = 2;
  CurPiece[1] = 3;
  Landed = True;
  LandTick = Now() - 2000;
  backend->onPump = [] { PressDown = 0; };
  PressDown = 1;
  HandleKeys();
  ASSERT_EQ(Board[Cell(0, 4)], 3) << "the soft drop ran the lock sequence";
  EXPECT_EQ(PressDown, 0);
}

}  // namespace
}  // namespace play_test
