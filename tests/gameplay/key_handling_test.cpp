#include "gameplay/key_handling.h"

#include <gtest/gtest.h>

#include "game_fixture.h"

namespace play_test {
namespace {

class KeyHandlingTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    StartPlay();
  }
  // One manual-mode pass with only `key` down, from the given pair; the new pivot.
  int PressOnce(std::uint8_t& key, int pos, int dir) {
    CurPos = std::uint8_t(pos), CurDir = std::uint8_t(dir);
    key = 1;
    HandleKeys();
    key = 0;
    return CurPos;
  }
  // A held key in the auto-repeat mode `sense`, one pass per 49 ms frame.
  void HoldLeftForFrames(int sense, int frames) {
    UserSettings.KeySense = std::uint8_t(sense);
    CurPos = Cell(5, 9), CurDir = 2, PressLeft = 1, KeyTick = 0;
    for (int frame = 0; frame < frames; ++frame, Wait(49)) HandleKeys();
  }
};

struct SideCase {
  int dir, tested, boundCol;  // the cell that must be empty, a column the wall refuses
};

TEST_F(KeyHandlingTest, SideMovesTestOneCellAndTheWall) {
  const SideCase left[] = {{0, -11, 0}, {1, -2, 1}, {2, -1, 0}, {3, -1, 0}};
  const SideCase right[] = {{0, -9, 9}, {1, 1, 9}, {2, 1, 9}, {3, 2, 8}};
  for (int side = 0; side < 2; ++side) {
    std::uint8_t& key = side == 0 ? PressLeft : PressRight;
    const int step = side == 0 ? -1 : 1;
    for (const SideCase& c : side == 0 ? left : right) {
      const int pos = Cell(5, 4);
      EXPECT_EQ(PressOnce(key, pos, c.dir), pos + step) << side << c.dir;
      Board[pos + c.tested] = 6;
      EXPECT_EQ(PressOnce(key, pos, c.dir), pos) << side << c.dir;
      Board[pos + c.tested] = 0;
      EXPECT_EQ(PressOnce(key, Cell(5, c.boundCol), c.dir), Cell(5, c.boundCol)) << side;
    }
  }
}

struct TurnCase {
  int from, to, blocker, edgePos;  // a cell that refuses the turn; a pivot the edge refuses
};

TEST_F(KeyHandlingTest, TurnsSwingAboutThePivotWithoutKicks) {
  const TurnCase z[] = {
      {0, 3, 1, Cell(5, 9)}, {1, 0, -10, Cell(0, 4)}, {2, 1, -1, Cell(5, 0)}, {3, 2, 10, 154}};
  const TurnCase x[] = {
      {0, 1, -1, Cell(5, 0)}, {1, 2, 10, 154}, {2, 3, 1, Cell(5, 9)}, {3, 0, -10, Cell(0, 4)}};
  for (int turn = 0; turn < 2; ++turn) {
    std::uint8_t& key = turn == 0 ? PressZ : PressX;
    for (const TurnCase& c : turn == 0 ? z : x) {
      const int pos = Cell(5, 4);
      PressOnce(key, pos, c.from);
      EXPECT_EQ(CurDir, c.to) << turn << c.from;
      Board[pos + c.blocker] = 6;
      PressOnce(key, pos, c.from);
      EXPECT_EQ(CurDir, c.from) << turn << c.from;
      Board[pos + c.blocker] = 0;
      EXPECT_EQ(PressOnce(key, c.edgePos, c.from), c.edgePos);
      EXPECT_EQ(CurDir, c.from) << turn << c.from;
    }
  }
  PressOnce(PressX, 10, 3);
  EXPECT_EQ(CurDir, 0) << "down into the bottom row";
  PressOnce(PressZ, 159, 0);
  EXPECT_EQ(CurDir, 0) << "right wall of the spawn row";
}

TEST_F(KeyHandlingTest, OnlyATurnThatHappensPlaysItsSound) {
  UserSettings.SoundOn = True;
  PressOnce(PressZ, Cell(5, 4), 0);
  PressOnce(PressZ, Cell(5, 9), 0);
  UserSettings.SoundOn = 1;  // only exactly True is on
  PressOnce(PressZ, Cell(5, 4), 0);
  EXPECT_EQ(backend->EffectsNamed("Turn.wav"), 1);
}

TEST_F(KeyHandlingTest, ManualModeUsesUpAPressEvenWhenNothingMoves) {
  CurPos = Cell(5, 0), PressLeft = 1, PressZ = 1;
  Board[Cell(5, 1)] = 6;
  HandleKeys();
  EXPECT_EQ(PressLeft, 2);
  EXPECT_EQ(PressZ, 2);
  Board[Cell(5, 1)] = 0;
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 0));
  EXPECT_EQ(CurDir, 0);
}

TEST_F(KeyHandlingTest, TheRepeatGateActsEveryKeySenseTimesFortyMs) {
  HoldLeftForFrames(1, 5);
  EXPECT_EQ(CurPos, Cell(5, 4)) << "40 ms: every frame";
  EXPECT_EQ(PressLeft, 1);
  HoldLeftForFrames(5, 11);
  EXPECT_EQ(CurPos, Cell(5, 6)) << "200 ms: frames 0, 5 and 10";
}

TEST_F(KeyHandlingTest, LeftThenRightAndZBeforeX) {
  CurPos = Cell(5, 9), PressLeft = PressRight = 1;
  HandleKeys();
  EXPECT_EQ(CurPos, Cell(5, 9)) << "right first would have hit the wall";
  CurPos = Cell(5, 4), PressZ = PressX = 1;
  HandleKeys();
  EXPECT_EQ(CurDir, 3) << "only Z turned";
  EXPECT_EQ(PressX, 1);
}

TEST_F(KeyHandlingTest, NoTurnWhileASuperPairFalls) {
  SuperArmed = True;
  CurPos = Cell(5, 4), PressZ = 1;
  HandleKeys();
  EXPECT_EQ(CurDir, 0);
  EXPECT_EQ(PressZ, 1) << "kept for the next ordinary pair";
  SuperArmed = False;
  HandleKeys();
  EXPECT_EQ(CurDir, 3);
}

TEST_F(KeyHandlingTest, DownGivesOneSoftDropPerPress) {
  Level = 4, PressDown = 1;
  HandleKeys();
  HandleKeys();
  EXPECT_EQ(CurPos, 144);
  EXPECT_EQ(Score, 4);
  EXPECT_EQ(PressDown, 2);
}

TEST_F(KeyHandlingTest, DownReleasedDuringTheLockSequenceIsNotMarkedUsed) {
  Board[Cell(0, 3)] = 5;
  CurPos = Cell(1, 3), CurDir = 3, CurPiece[1] = 3;  // the second cell settles after the lock
  Landed = True, LandTick = Now() - 2000;
  backend->onPump = [] { PressDown = 0; };
  PressDown = 1;
  HandleKeys();
  ASSERT_EQ(Board[Cell(0, 4)], 3);
  EXPECT_EQ(PressDown, 0);
}

}  // namespace
}  // namespace play_test
