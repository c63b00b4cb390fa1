// The board check: which cells a line marks, what it scores, chains and the super landing.
#include "gameplay/line_check.h"

#include <algorithm>
#include <fstream>

#include "clearing_fixture.h"
#include "gameplay/key_handling.h"
#include "gameplay/line_check_steps.h"
#include "music/clsMIDI.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

using clearing::ScanLines;
using LineCheckTest = ClearingFixture;

TEST_F(LineCheckTest, LinesScoreDigitTimesThreeTimesLevelTimesChain) {
  Put({At(0, 2), At(0, 3), At(0, 4)}, 5);
  EXPECT_EQ(ScanLines(), 15);
  EXPECT_EQ(MarkedCells(), (std::vector<int>{2, 3, 4}));
  Level = 2;
  Combo = 1;
  EXPECT_EQ(ScanLines(), 60);
  // Four in a row are two lines, five in a column three; a cross and a T two each.
  Put({At(1, 0), At(1, 1), At(1, 2), At(1, 3)}, 4);
  Put({At(3, 5), At(4, 5), At(5, 5), At(6, 5), At(7, 5)}, 2);
  Put({At(10, 4), At(10, 5), At(10, 6), At(9, 5), At(11, 5)}, 3);
  Put({At(2, 7), At(2, 8), At(2, 9), At(1, 8), At(0, 8)}, 7);
  EXPECT_EQ(ScanLines(), 4 * (15 + 2 * 12 + 3 * 6 + 2 * 9 + 2 * 21));
}

TEST_F(LineCheckTest, LinesStartOnlyWhereThreeCellsFitWithoutWrapping) {
  Put({At(0, 2), At(1, 1), At(2, 0)}, 6);     // up-left from column 2
  Put({At(0, 7), At(1, 8), At(2, 9)}, 8);     // up-right from column 7
  Put({At(13, 9), At(14, 9), At(15, 9)}, 1);  // upward, into the spawn row
  Put({At(15, 4), At(15, 5), At(15, 6)}, 2);  // along the spawn row
  EXPECT_EQ(ScanLines(), 18 + 24 + 3 + 6);
  std::fill(std::begin(Board), std::end(Board), 0);
  std::fill(std::begin(Marked), std::end(Marked), False);
  Put({At(0, 8), At(0, 9), At(1, 0)}, 1);     // no row from column 8
  Put({At(3, 1), At(4, 0), At(4, 9)}, 2);     // no up-left from column 1
  Put({At(6, 8), At(7, 9), At(9, 0)}, 3);     // no up-right from column 8
  Put({At(14, 1), At(15, 0), At(15, 9)}, 5);  // nothing upward from row 14
  Put({At(14, 2), At(15, 3)}, 5);
  for (int c = 0; c < 5; ++c) Board[At(5, c)] = Board[At(8 + c, 6)] = Digit(0);
  EXPECT_EQ(ScanLines(), 0);
  EXPECT_TRUE(MarkedCells().empty());
}

TEST_F(LineCheckTest, PointsOfAFullWellAtTheHighestLevelDoNotWrap) {
  Level = 32767;
  Combo = 255;
  std::fill(Board, Board + 150, Digit(9));
  EXPECT_GT(ScanLines(), 2147483647);
}

TEST_F(LineCheckTest, AChainCountsCombosDoublesTheSecondStepAndEndsAtZero) {
  // Deleting the row of 2s adds 2 to the 1 beside it: a column of 3s.
  Put({At(0, 0), At(0, 1), At(0, 2)}, 2);
  Put({At(0, 3)}, 1);
  Put({At(1, 3), At(2, 3)}, 3);
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
}

TEST_F(LineCheckTest, EveryCheckAsksTheTuneAndRestartsItOnlyWhenStoppedWithMusicOn) {
  // Two beats of one held note.
  std::ofstream(ScratchProgramFolder() + "/Game.mid", std::ios::binary) << std::string(
      "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x0D\0\x90\x3C\x40\x81\x40\x80\x3C\x40\0\xFF\x2F\0", 35);
  BgmPlayer().FileName(AppPath() + "\\Game.mid");
  auto sent = [&](const char* command) {
    const auto& lines = backend.Trace().Lines();
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(std::string("\"") + command + "\"") != std::string::npos;
    });
  };
  for (std::int16_t bgm : {False, std::int16_t(1)}) {  // off, and a stored 1 counts as off
    UserSettings.BgmOn = bgm;
    CheckBoard();
  }
  EXPECT_EQ(sent("status midifile mode"), 2);
  EXPECT_EQ(sent("play midifile"), 0);
  UserSettings.BgmOn = True;
  CheckBoard();
  CheckBoard();  // playing now
  EXPECT_EQ(sent("status midifile mode"), 4);
  EXPECT_EQ(sent("seek midifile to START"), 1);
  EXPECT_EQ(sent("play midifile"), 1);
  std::filesystem::remove(ScratchProgramFolder() + "/Game.mid");
}

TEST_F(LineCheckTest, ComboAndMaxComboStopAt255) {
  Combo = MaxCombo = 255;
  Put({At(0, 0), At(0, 1), At(0, 2)}, 1);
  backend.onPump = [&] { EXPECT_EQ(Combo, 255); };
  CheckBoard();
  EXPECT_EQ(MaxCombo, 255);
  EXPECT_EQ(Score, 10 * 3 * 256);
}

TEST_F(LineCheckTest, SuperPairClearsEveryCellOfTheDigitBeneathIt) {
  Level = 2;
  Combo = 1;
  CurPos = At(2, 5);
  Board[At(2, 5)] = Board[At(1, 5)] = kSuperCell;
  Put({At(0, 5), At(0, 0), At(3, 3), At(15, 7)}, 3);
  Put({At(0, 1), At(0, 2)}, 4);
  SuperArmed = True;
  EXPECT_EQ(clearing::LandSuperPair(), 4 * 3 * 2 * 2);
  EXPECT_EQ(MarkedCells(), (std::vector<int>{0, 5, 33, 157}));
  EXPECT_EQ(Board[At(2, 5)] + Board[At(1, 5)], 0);
  EXPECT_EQ(ForceClear, True);
  EXPECT_EQ(SuperCount, 2);
  EXPECT_EQ(backend.pumpTimes.size(), 102u);  // the effect ran
}

TEST_F(LineCheckTest, NextSuperThresholdGrowsWithLevelDigitsAndCount) {
  Level = 2;
  DelSum = 100;
  // 2 * 15 + 100 + (1 + 1) * 50 = 230, raised by up to 5 %.
  EXPECT_EQ(clearing::NextSuperAt(0.0f), 230);
  EXPECT_EQ(clearing::NextSuperAt(0.5f), 236);  // 235.75
  SuperCount = 255;
  Level = 32767;
  DelSum = 2147483000;
  EXPECT_EQ(clearing::NextSuperAt(0.99f), 2147483647);
}

TEST_F(LineCheckTest, SuperPairOnTheBottomRowSimplyVanishes) {
  CurPos = At(1, 4);
  Board[At(1, 4)] = Board[At(0, 4)] = kSuperCell;
  Put({At(0, 3)}, 4);
  SuperArmed = True;
  Combo = 3;
  CheckBoard();
  EXPECT_EQ(Board[At(1, 4)] + Board[At(0, 4)], 0);
  EXPECT_EQ(Board[At(0, 3)], Digit(4));
  EXPECT_EQ(Combo, 0);
  EXPECT_EQ(SuperArmed, False);
  EXPECT_EQ(SuperCount, 2);
  EXPECT_TRUE(backend.pumpTimes.empty());  // no effect, no deletion step
}

TEST_F(LineCheckTest, SuperClearOfTheDigitZeroStillRunsAStep) {
  CurPos = At(2, 4);
  Board[At(2, 4)] = Board[At(1, 4)] = kSuperCell;
  Put({At(0, 4), At(0, 8), At(5, 0)}, 0);
  Put({At(0, 9), At(0, 0)}, 5);
  SuperArmed = True;
  DelSum = 40;
  Level = 3;
  CheckBoard();
  EXPECT_EQ(Board[At(0, 4)] + Board[At(0, 8)], 0);
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(MaxCombo, 1);
  EXPECT_EQ(ForceClear, False);
  // From the total before the step: 3 * 15 + 40 + 2 * 50 = 185, up to 5 % more.
  EXPECT_GE(SuperAt, 185);
  EXPECT_LE(SuperAt, 194);
}

TEST_F(LineCheckTest, SuperPairIsArmedByTheDigitTotalAndDoesNotTurn) {
  SuperAt = 8;
  DelSum = 5;
  Put({At(0, 0), At(0, 1), At(0, 2)}, 1);
  CheckBoard();
  EXPECT_EQ(NextPiece[0] & NextPiece[1], kSuperCell);
  EXPECT_EQ(LampOn, True);
  SuperArmed = True;
  CurPos = At(8, 4);
  PressZ = PressX = 1;
  HandleKeys();
  PressZ = 0;
  HandleKeys();
  EXPECT_EQ(CurDir, 0);
}

}  // namespace
}  // namespace clearing_test
