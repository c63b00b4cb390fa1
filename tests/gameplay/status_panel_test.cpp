#include "gameplay/status_panel.h"

#include <gtest/gtest.h>

#include <climits>

#include "game_fixture.h"

namespace play_test {
namespace {

class StatusPanelTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    background = CopyOf(BackPSub());
    expected = CopyOf(BackPSub());
  }
  // Digits of `sheet` (cell w x h) with their left edges at the given x.
  void ExpectDigits(Sheet& sheet, int w, int h, int y,
                    std::initializer_list<std::pair<int, int>> digitsAtX) {
    for (auto [digit, x] : digitsAtX) ApplySprite(*expected, x, y, w, h, sheet, w * digit, 0);
  }
  void FillExpected(int left, int right, Colour colour) {
    for (int y = 275; y < 295; ++y)
      for (int x = left; x < right && x < 380; ++x) expected->SetPixel(x, y, colour);
  }
  // The gauge for LevelSum / LevelNorm: black frame, bar to `barRight`, percentage digits.
  ::testing::AssertionResult GaugeShows(std::int32_t levelSum, std::int32_t levelNorm, int barRight,
                                        Colour colour,
                                        std::initializer_list<std::pair<int, int>> digitsAtX) {
    LevelSum = levelSum, LevelNorm = levelNorm;
    DrawStatusPanel();
    expected = CopyOf(*background);
    FillExpected(225, 355, RGB(0, 0, 0));
    FillExpected(225, barRight, colour);
    ExpectDigits(FontP3(), 10, 10, 280, digitsAtX);
    return Unchanged(Main(), *expected, 225, 250, 130, 45);
  }

  std::unique_ptr<Surface> background, expected;
};

TEST_F(StatusPanelTest, LabelsGoOnACleanBackPAndNotOnScreen) {
  BackPSub().SetPixel(10, 10, RGB(1, 2, 3));
  BackP().SetPixel(300, 380, RGB(4, 5, 6));
  DrawPanelLabels();
  for (auto [sheet, x, y] : {std::tuple{&Caption1(), 225, 70},
                             {&Caption2(), 225, 110},
                             {&Caption3(), 225, 150},
                             {&Caption4(), 225, 190},
                             {&Caption5(), 225, 250},
                             {&Caption6(), 270, 25}})
    ApplySprite(*expected, x, y, 100, 20, *sheet, 0, 0);
  EXPECT_TRUE(Unchanged(BackP(), *expected, 0, 0, 380, 400));
  EXPECT_TRUE(Unchanged(BackPSub(), *background, 0, 0, 380, 400));
  EXPECT_TRUE(Unchanged(Main(), *background, 0, 0, 380, 400));
}

TEST_F(StatusPanelTest, ScoresShowTheirLastEightDigitsOrAZero) {
  Score = 123456789, HiScore = 0;
  DrawStatusPanel();
  ExpectDigits(FontP1(), 15, 20, 355,
               {{9, 205}, {8, 190}, {7, 175}, {6, 160}, {5, 145}, {4, 130}, {3, 115}, {2, 100}});
  ExpectDigits(FontP2(), 15, 20, 375, {{0, 205}});
  EXPECT_TRUE(Unchanged(Main(), *expected, 100, 355, 120, 40));
  Score = 1204, HiScore = -5;
  DrawStatusPanel();
  expected = CopyOf(*background);
  ExpectDigits(FontP1(), 15, 20, 355, {{4, 205}, {0, 190}, {2, 175}, {1, 160}});
  EXPECT_TRUE(Unchanged(Main(), *expected, 100, 355, 120, 40)) << "nothing for below zero";
}

TEST_F(StatusPanelTest, SideFieldsWithTheirZeroCases) {
  Level = 0, DelSum = 0, MaxCombo = 0, SuperAt = 0;
  DrawStatusPanel();
  ExpectDigits(FontP4(), 10, 20, 130, {{0, 345}});
  ExpectDigits(FontP4(), 10, 20, 170, {{0, 345}});
  EXPECT_TRUE(Unchanged(Main(), *expected, 225, 70, 130, 170)) << "Level and SuperAt empty";
  Level = 1237, DelSum = 12345, MaxCombo = 100, SuperAt = 84;
  DrawStatusPanel();
  expected = CopyOf(*background);
  ExpectDigits(FontP4(), 10, 20, 90, {{7, 345}, {3, 335}, {2, 325}});
  ExpectDigits(FontP4(), 10, 20, 130, {{5, 345}, {4, 335}, {3, 325}, {2, 315}, {1, 305}});
  ExpectDigits(FontP4(), 10, 20, 170, {{0, 345}, {0, 335}});
  ExpectDigits(FontP5(), 20, 20, 220, {{4, 335}, {8, 315}});
  EXPECT_TRUE(Unchanged(Main(), *expected, 225, 70, 130, 170));
}

TEST_F(StatusPanelTest, EachFieldErasesItsRectangleAndTheBlocksReachTheScreen) {
  const Colour junk = RGB(1, 2, 3);
  const int erased[][4] = {{100, 355, 120, 40}, {325, 90, 30, 20},   {305, 130, 50, 20},
                           {335, 170, 20, 20},  {255, 220, 100, 20}, {255, 280, 125, 15}};
  for (auto [x, y, w, h] : erased) {
    BackP().SetPixel(x, y, junk);
    BackP().SetPixel(x + w - 1, y + h - 1, junk);
    BackP().SetPixel(x - 1, y, junk);
  }
  BackP().SetPixel(360, 40, junk);
  DrawStatusPanel();
  for (auto [x, y, w, h] : erased) {
    EXPECT_NE(BackP().Pixel(x, y), junk) << x << ", " << y;
    EXPECT_NE(BackP().Pixel(x + w - 1, y + h - 1), junk) << x << ", " << y;
  }
  EXPECT_EQ(Main().Pixel(324, 90), junk) << "kept, and copied with the level block";
  EXPECT_EQ(Main().Pixel(304, 130), junk);
  EXPECT_EQ(Main().Pixel(360, 40), junk) << "the NEXT label block";
  EXPECT_EQ(BackP().Pixel(99, 355), junk);
  EXPECT_EQ(Main().Pixel(99, 355), background->Pixel(99, 355)) << "outside every copy";
}

TEST_F(StatusPanelTest, TheGaugeForEachRatio) {
  EXPECT_TRUE(GaugeShows(48, 48, 355, RGB(255, 0, 0), {{0, 295}, {0, 285}, {1, 275}}));
  EXPECT_TRUE(GaugeShows(5, 4, 258, RGB(128, 128, 128), {{5, 290}, {2, 280}})) << "1.25";
  EXPECT_TRUE(GaugeShows(10, 4, 420, RGB(255, 0, 0), {{0, 295}, {5, 285}, {1, 275}})) << "2.5";
  EXPECT_EQ(BackP().Pixel(379, 285), RGB(255, 0, 0)) << "the bar runs past the frame";
  EXPECT_TRUE(GaugeShows(30, 0, 225, RGB(0, 0, 255), {{0, 285}})) << "no goal";
  EXPECT_TRUE(GaugeShows(24, 48, 290, RGB(255, 255, 0), {{0, 290}, {5, 280}}));
  EXPECT_TRUE(GaugeShows(36, 48, 322, RGB(255, 128, 0), {{5, 290}, {7, 280}}));
  EXPECT_TRUE(GaugeShows(7, 100, 234, RGB(36, 36, 219), {{7, 285}}));
  EXPECT_TRUE(GaugeShows(1, 200, 226, RGB(3, 3, 252), {{0, 285}})) << "half a percent";
  EXPECT_EQ(BackP().FillStyle, 1);
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().ForeColor, RGB(3, 3, 252));
  LevelSum = INT_MAX, LevelNorm = 1;
  DrawStatusPanel();
  EXPECT_EQ(Main().Pixel(354, 285), RGB(255, 0, 0)) << "an enormous ratio stays orderly";
}

}  // namespace
}  // namespace play_test
