#include "gameplay/level_table.h"

#include <gtest/gtest.h>

#include <climits>

#include "game_fixture.h"

namespace play_test {
namespace {

class LevelTableTest : public GameFixture {
 protected:
  void EnterRow(int row) {
    Level = std::int16_t(row);
    LevelSum = LevelNorm;
    NextLevel();
  }
};

TEST_F(LevelTableTest, StartAndCarryOver) {
  NextLevel();
  EXPECT_EQ(Level, 1);
  EXPECT_EQ(LevelNorm, 48);
  EXPECT_EQ(FallStep, 1);
  EXPECT_EQ(Kinds, 1);
  LevelSum = 60;
  NextLevel();
  EXPECT_EQ(LevelSum, 12);
  EXPECT_EQ(LevelNorm, 49);
}

TEST_F(LevelTableTest, RowsFollowTheirBlocksAndTheShortLevelsBreakThem) {
  const int blockStarts[] = {0, 3, 7, 12, 18, 25, 32, 40};
  for (int row = 0; row <= 60; ++row) {
    EnterRow(row);
    EXPECT_EQ(20 % FallStep, 0) << "row " << row;
    int block = 0;
    for (int start : blockStarts) block += row >= start;
    EXPECT_EQ(Kinds, block) << "row " << row;
    if (row >= 50 && row < 60) {
      EXPECT_EQ(LevelNorm, 244 + 6 * (row - 50));
    }
  }
  EXPECT_EQ(LevelNorm, 99999);
  struct Row {
    int row, goal, step;
  };
  for (Row r : {Row{23, 159, 20}, Row{24, 45, 20}, Row{31, 55, 20}, Row{35, 65, 20},
                Row{39, 55, 20}, Row{42, 75, 20}, Row{47, 45, 5}, Row{49, 55, 10}}) {
    EnterRow(r.row);
    EXPECT_EQ(LevelNorm, r.goal) << "row " << r.row;
    EXPECT_EQ(FallStep, r.step) << "row " << r.row;
  }
}

TEST_F(LevelTableTest, PastTheTableOnlyTheLevelCountsOnUpToItsLimit) {
  EnterRow(60);
  LevelSum = 150000;
  NextLevel();
  EXPECT_EQ(Level, 62);
  EXPECT_EQ(LevelSum, 150000 - 99999);
  EXPECT_EQ(LevelNorm, 99999);
  EXPECT_EQ(FallStep, 20);
  EXPECT_EQ(Kinds, 8);
  Level = 32767, LevelSum = INT_MIN + 10;
  NextLevel();
  EXPECT_EQ(Level, 32767);
  EXPECT_EQ(LevelSum, INT_MIN);
}

}  // namespace
}  // namespace play_test
