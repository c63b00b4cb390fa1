// The board check: which cells a line of three marks, what it scores, chains and the super
// pair's landing.
#include "gameplay/line_check.h"

#include <algorithm>
#include <string>

#include "clearing_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/key_handling.h"
#include "gameplay/line_check_steps.h"

namespace clearing_test {
namespace {

using clearing::LandSuperPair;
using clearing::NextSuperAt;
using clearing::ScanLines;

class LineScanTest : public ClearingFixture {
 protected:
  void Put(std::initializer_list<int> cells, int digit) {
    for (int c : cells) Board[c] = Digit(digit);
  }
  std::vector<int> MarkedCells() const {
    std::vector<int> cells;
    for (int i = 0; i < 160; ++i)
      if (Marked[i] != False) cells.push_back(i);
    return cells;
  }
};

TEST_F(LineScanTest, ThreeEqualDigitsScoreDigitTimesThreeTimesLevelTimesChain) {
  Put({At(0, 2), At(0, 3), At(0, 4)}, 5);
  EXPECT_EQ(ScanLines(), 15);
  EXPECT_EQ(MarkedCells(), (std::vector<int>{2, 3, 4}));

  std::fill(std::begin(Marked), std::end(Marked), False);
  Level = 2;
  Combo = 1;
  EXPECT_EQ(ScanLines(), 60);
}

TEST_F(LineScanTest, RunsOfFourAndFiveCountEveryLineOfThree) {
  Put({At(0, 0), At(0, 1), At(0, 2), At(0, 3)}, 4);
  EXPECT_EQ(ScanLines(), 2 * 12);
  Put({At(3, 5), At(4, 5), At(5, 5), At(6, 5), At(7, 5)}, 2);
  EXPECT_EQ(ScanLines(), 2 * 12 + 3 * 6);
  EXPECT_EQ(MarkedCells().size(), 9u);
}

TEST_F(LineScanTest, TAndCrossAddTheLinesOfEachDirection) {
  // A cross of digit 3 around (5, 5) and a T of digit 7 standing on its stem.
  Put({At(5, 4), At(5, 5), At(5, 6), At(4, 5), At(6, 5)}, 3);
  Put({At(2, 0), At(2, 1), At(2, 2), At(1, 1), At(0, 1)}, 7);
  EXPECT_EQ(ScanLines(), 2 * 9 + 2 * 21);
  EXPECT_EQ(MarkedCells().size(), 10u);
}

TEST_F(LineScanTest, DiagonalsRunBothWays) {
  Put({At(0, 2), At(1, 1), At(2, 0)}, 6);  // up and to the left from column 2
  Put({At(0, 7), At(1, 8), At(2, 9)}, 8);  // up and to the right from column 7
  EXPECT_EQ(ScanLines(), 18 + 24);
  EXPECT_EQ(MarkedCells(), (std::vector<int>{2, 7, 11, 18, 20, 29}));
}

TEST_F(LineScanTest, LinesDoNotWrapRoundTheWalls) {
  Put({At(0, 8), At(0, 9), At(1, 0)}, 1);  // a row may not start in column 8
  Put({At(3, 1), At(4, 0), At(4, 9)}, 2);  // up-left needs column 2 or more
  Put({At(6, 8), At(7, 9), At(9, 0)}, 3);  // up-right needs column 7 or less
  Put({At(10, 8), At(11, 9), At(12, 0)}, 4);
  EXPECT_EQ(ScanLines(), 0);
  EXPECT_TRUE(MarkedCells().empty());
}

TEST_F(LineScanTest, TheSpawnRowTakesPartButNoLineStartsAboveRowThirteen) {
  Put({At(13, 9), At(14, 9), At(15, 9)}, 1);  // the last column that may start upward
  Put({At(15, 0), At(15, 1), At(15, 2)}, 2);  // a row of the spawn row
  EXPECT_EQ(ScanLines(), 3 + 6);
  std::fill(std::begin(Marked), std::end(Marked), False);
  std::fill(std::begin(Board), std::end(Board), 0);
  // Rows 14 and 15 hold no room for a line of three upward or diagonally.
  Put({At(14, 1), At(15, 0), At(15, 9)}, 5);
  Put({At(14, 2), At(15, 3)}, 5);
  EXPECT_EQ(ScanLines(), 0);
}

TEST_F(LineScanTest, TheDigitZeroNeverMakesALine) {
  for (int c = 0; c < 10; ++c) Board[At(0, c)] = Digit(0);
  for (int r = 1; r < 5; ++r) Board[At(r, 0)] = Digit(0);
  EXPECT_EQ(ScanLines(), 0);
  EXPECT_TRUE(MarkedCells().empty());
}

TEST_F(LineScanTest, PointsOfManyLinesAtHighLevelsDoNotWrap) {
  Level = 32767;
  Combo = 255;
  for (int i = 0; i < 150; ++i) Board[i] = Digit(9);
  const std::int64_t points = ScanLines();
  EXPECT_GT(points, std::int64_t(2147483647));
  EXPECT_EQ(points % (27LL * 32767 * 256), 0);
}

TEST_F(LineScanTest, SuperPairClearsEveryCellOfTheDigitBeneathIt) {
  Level = 2;
  Combo = 1;
  CurPos = At(2, 5);
  Board[At(2, 5)] = Board[At(1, 5)] = kSuperCell;
  Put({At(0, 5), At(0, 0), At(3, 3), At(15, 7)}, 3);
  Put({At(0, 1), At(0, 2)}, 4);
  SuperArmed = True;
  const std::uint8_t countBefore = SuperCount;
  EXPECT_EQ(LandSuperPair(), 4 * 3 * 2 * 2);
  EXPECT_EQ(MarkedCells(), (std::vector<int>{0, 5, 33, 157}));
  EXPECT_EQ(Board[At(2, 5)], 0);
  EXPECT_EQ(Board[At(1, 5)], 0);
  EXPECT_EQ(ForceClear, True);
  EXPECT_EQ(SuperArmed, False);
  EXPECT_EQ(SuperCount, countBefore + 1);
}

TEST_F(LineScanTest, NextSuperThresholdGrowsWithLevelDigitsAndCount) {
  Level = 2;
  DelSum = 100;
  SuperCount = 1;
  // (2 * 15 + 100 + 2 * 50) = 230, raised by up to 5 %.
  EXPECT_EQ(NextSuperAt(0.0f), 230);
  EXPECT_EQ(NextSuperAt(0.5f), 236);   // 235.75
  EXPECT_EQ(NextSuperAt(0.25f), 233);  // 232.875
  SuperCount = 255;
  Level = 32767;
  DelSum = 2147483000;
  EXPECT_EQ(NextSuperAt(0.99f), 2147483647);
}

class CheckBoardTest : public LineScanTest {};

TEST_F(CheckBoardTest, AChainCountsItsCombosAndDoublesTheSecondStep) {
  // Deleting the row of 2s adds 2 to the 1 beside it: a column of 3s, the second step.
  Put({At(0, 0), At(0, 1), At(0, 2)}, 2);
  Put({At(0, 3)}, 1);
  Put({At(1, 3), At(2, 3)}, 3);
  MaxCombo = 1;
  std::vector<int> combos;
  backend.onPump = [&] {
    if (combos.empty() || combos.back() != Combo) combos.push_back(Combo);
  };
  CheckBoard();
  EXPECT_EQ(combos, (std::vector<int>{1, 2}));
  EXPECT_EQ(Combo, 0);
  EXPECT_EQ(MaxCombo, 2);
  EXPECT_EQ(Score, 10 * (2 * 3) + 10 * (3 * 3 * 2));
  EXPECT_EQ(DelSum, 6 + 9);
  EXPECT_TRUE(std::all_of(std::begin(Board), std::end(Board), [](std::uint8_t v) { return !v; }));
}

TEST_F(CheckBoardTest, MaxComboKeepsTheBestChain) {
  MaxCombo = 7;
  Combo = 4;  // left over: a check that finds nothing resets it
  Put({At(0, 0), At(0, 1), At(0, 2)}, 2);
  Put({At(1, 3)}, 1);
  CheckBoard();
  EXPECT_EQ(MaxCombo, 7);
  EXPECT_EQ(Combo, 0);
  EXPECT_EQ(Score, 10 * 2 * 3 * 5);
}

TEST_F(CheckBoardTest, ComboAndMaxComboStopAt255) {
  Combo = 255;
  MaxCombo = 255;
  Put({At(0, 0), At(0, 1), At(0, 2)}, 1);
  std::vector<int> combos;
  backend.onPump = [&] { combos.push_back(Combo); };
  CheckBoard();
  ASSERT_FALSE(combos.empty());
  EXPECT_EQ(combos.front(), 255);
  EXPECT_EQ(MaxCombo, 255);
  EXPECT_EQ(Score, 10 * 1 * 3 * 256);
}

TEST_F(CheckBoardTest, SuperPairOnTheBottomRowSimplyVanishes) {
  CurPos = At(1, 4);
  Board[At(1, 4)] = Board[At(0, 4)] = kSuperCell;
  Put({At(0, 3)}, 4);
  SuperArmed = True;
  Combo = 3;
  CheckBoard();
  EXPECT_EQ(Board[At(1, 4)], 0);
  EXPECT_EQ(Board[At(0, 4)], 0);
  EXPECT_EQ(Board[At(0, 3)], Digit(4));
  EXPECT_EQ(Combo, 0);
  EXPECT_EQ(ForceClear, False);
  EXPECT_EQ(SuperArmed, False);
  EXPECT_EQ(SuperCount, 2);
  EXPECT_TRUE(backend.pumpTimes.empty());  // no effect, no deletion step
  EXPECT_EQ(Score, 0);
}

TEST_F(CheckBoardTest, SuperClearOfTheDigitZeroStillRunsAStep) {
  CurPos = At(2, 4);
  Board[At(2, 4)] = Board[At(1, 4)] = kSuperCell;
  Put({At(0, 4), At(0, 8), At(5, 0)}, 0);
  Put({At(0, 9)}, 5);
  Put({At(1, 0), At(0, 0)}, 6);
  SuperArmed = True;
  DelSum = 40;
  Level = 3;
  CheckBoard();
  EXPECT_EQ(Board[At(0, 4)], 0);
  EXPECT_EQ(Board[At(0, 8)], 0);
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(DelSum, 40);
  EXPECT_EQ(MaxCombo, 1);
  EXPECT_EQ(Combo, 0);
  EXPECT_EQ(ForceClear, False);
  // Drawn from the digit total before the step: 3 * 15 + 40 + 2 * 50.
  EXPECT_GE(SuperAt, 185);
  EXPECT_LE(SuperAt, 194);
}

TEST_F(CheckBoardTest, SuperPairIsArmedWhenTheDigitTotalReachesItsThreshold) {
  SuperAt = 8;
  DelSum = 5;
  NextPiece[0] = Digit(1);
  NextPiece[1] = Digit(2);
  Put({At(0, 0), At(0, 1), At(0, 2)}, 1);
  CheckBoard();
  EXPECT_EQ(DelSum, 8);
  EXPECT_EQ(NextPiece[0], kSuperCell);
  EXPECT_EQ(NextPiece[1], kSuperCell);
  EXPECT_EQ(LampOn, True);
}

TEST_F(CheckBoardTest, SuperPairDoesNotTurn) {
  SuperArmed = True;
  CurPos = At(8, 4);
  CurDir = 0;
  PressZ = 1;
  HandleKeys();
  PressZ = 0;
  PressX = 1;
  HandleKeys();
  EXPECT_EQ(CurDir, 0);
}

TEST_F(CheckBoardTest, EveryCheckAsksTheMusicForItsMode) {
  UserSettings.BgmOn = False;
  CheckBoard();
  CheckBoard();
  const auto asked = std::count_if(
      backend.records.begin(), backend.records.end(),
      [](const std::string& r) { return r.find("status midifile mode") != std::string::npos; });
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace clearing_test
