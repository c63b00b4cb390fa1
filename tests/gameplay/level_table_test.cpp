#include "gameplay/level_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "game_fixture.h"

namespace play_test {
namespace {

class LevelTableTest : public GameFixture {
 protected:
  // The parameters that row `row` gives, read by playing into it.
  void EnterRow(int row) {
    Level = std::int16_t(row);
    LevelSum = LevelNorm;
    NextLevel();
  }
};

TEST_F(LevelTableTest, FirstAdvanceFromStartMakesLevelOne) {
  NextLevel();
  EXPECT_EQ(Level, 1);
  EXPECT_EQ(LevelNorm, 48);
  EXPECT_EQ(FallStep, 1);
  EXPECT_EQ(Kinds, 1);
  EXPECT_EQ(LevelSum, 0);
}

TEST_F(LevelTableTest, ProgressBeyondTheGoalCarriesOver) {
  NextLevel();
  LevelSum = 60;
  NextLevel();
  EXPECT_EQ(Level, 2);
  EXPECT_EQ(LevelSum, 12);
  EXPECT_EQ(LevelNorm, 49);
  EXPECT_EQ(FallStep, 2);
}

TEST_F(LevelTableTest, LevelTwentyFiveIsShortAndFast) {
  EnterRow(23);
  EXPECT_EQ(LevelNorm, 159);
  EnterRow(24);
  EXPECT_EQ(Level, 25);
  EXPECT_EQ(LevelNorm, 45);
  EXPECT_EQ(FallStep, 20);
  EXPECT_EQ(Kinds, 5);
}

TEST_F(LevelTableTest, TheShortLevelsBreakThePattern) {
  struct Row {
    int row, goal, step;
  };
  for (Row r : {Row{24, 45, 20}, Row{31, 55, 20}, Row{35, 65, 20}, Row{39, 55, 20}, Row{42, 75, 20},
                Row{47, 45, 5}, Row{49, 55, 10}}) {
    EnterRow(r.row);
    EXPECT_EQ(LevelNorm, r.goal) << "row " << r.row;
    EXPECT_EQ(FallStep, r.step) << "row " << r.row;
  }
}

TEST_F(LevelTableTest, EveryStepFitsTheRowAndTheRangeClimbsInBlocks) {
  const int blockStarts[] = {0, 3, 7, 12, 18, 25, 32, 40};
  int previousKinds = 1;
  for (int row = 0; row <= 60; ++row) {
    EnterRow(row);
    EXPECT_EQ(20 % FallStep, 0) << "row " << row;
    EXPECT_TRUE(std::set<int>({1, 2, 4, 5, 10, 20}).count(FallStep)) << "row " << row;
    int block = 0;
    for (int start : blockStarts)
      if (row >= start) ++block;
    EXPECT_EQ(Kinds, block) << "row " << row;
    EXPECT_GE(Kinds, previousKinds);
    previousKinds = Kinds;
  }
}

TEST_F(LevelTableTest, LastRowsGrowBySixUpToTheFinalGoal) {
  for (int row = 50; row <= 59; ++row) {
    EnterRow(row);
    EXPECT_EQ(LevelNorm, 244 + 6 * (row - 50)) << "row " << row;
    EXPECT_EQ(FallStep, 20);
    EXPECT_EQ(Kinds, 8);
  }
  EnterRow(60);
  EXPECT_EQ(LevelNorm, 99999);
  EXPECT_EQ(Level, 61);
}

TEST_F(LevelTableTest, PastTheTableOnlyTheLevelCountsOn) {
  EnterRow(60);
  LevelSum = 150000;
  NextLevel();
  EXPECT_EQ(Level, 62);
  EXPECT_EQ(LevelSum, 150000 - 99999);
  EXPECT_EQ(LevelNorm, 99999);
  EXPECT_EQ(FallStep, 20);
  EXPECT_EQ(Kinds, 8);
}

TEST_F(LevelTableTest, LevelStopsAtItsLimitAndProgressDoesNotWrap) {
  Level = 32767;
  LevelNorm = 100;
  LevelSum = INT_MIN + 10;
  NextLevel();
  EXPECT_EQ(Level, 32767);
  EXPECT_EQ(LevelSum, INT_MIN);
}

TEST_F(LevelTableTest, NegativeLevelKeepsTheParameters) {
  Level = -3;
  LevelNorm = 77;
  FallStep = 4;
  Kinds = 2;
  NextLevel();
  EXPECT_EQ(Level, -2);
  EXPECT_EQ(LevelNorm, 77);
  EXPECT_EQ(FallStep, 4);
}

}  // namespace
}  // namespace play_test
