#include "gameplay/status_panel.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "game_fixture.h"

namespace play_test {
namespace {

class StatusPanelTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    background = CopyOf(BackPSub());
    expected = CopyOf(BackPSub());
    LevelNorm = 48;
    Level = 1;
  }

  void FillExpected(int left, int top, int right, int bottom, Colour colour) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right && x < expected->Width(); ++x) expected->SetPixel(x, y, colour);
  }

  // The gauge as expected on screen: frame, bar and percentage digits at the given places.
  void ExpectGauge(int barRight, Colour colour, std::initializer_list<std::pair<int, int>> digits) {
    FillExpected(225, 275, 355, 295, RGB(0, 0, 0));
    FillExpected(225, 275, barRight, 295, colour);
    for (auto [digit, x] : digits) ApplySprite(*expected, x, 280, 10, 10, FontP3(), 10 * digit, 0);
  }

  ::testing::AssertionResult MainMatches(int x, int y, int w, int h) {
    return Unchanged(Main(), *expected, x, y, w, h);
  }

  void DrawGaugeFor(std::int32_t levelSum, std::int32_t levelNorm) {
    LevelSum = levelSum;
    LevelNorm = levelNorm;
    DrawStatusPanel();
  }

  std::unique_ptr<Surface> background;
  std::unique_ptr<Surface> expected;
};

TEST_F(StatusPanelTest, LabelsGoOnACleanBackP) {
  BackPSub().SetPixel(10, 10, RGB(1, 2, 3));  // a saved copy is wiped by Cls
  BackP().SetPixel(300, 380, RGB(4, 5, 6));
  DrawPanelLabels();
  ApplySprite(*expected, 225, 70, 100, 20, Caption1(), 0, 0);
  ApplySprite(*expected, 225, 110, 100, 20, Caption2(), 0, 0);
  ApplySprite(*expected, 225, 150, 100, 20, Caption3(), 0, 0);
  ApplySprite(*expected, 225, 190, 100, 20, Caption4(), 0, 0);
  ApplySprite(*expected, 225, 250, 100, 20, Caption5(), 0, 0);
  ApplySprite(*expected, 270, 25, 100, 20, Caption6(), 0, 0);
  EXPECT_TRUE(Unchanged(BackP(), *expected, 0, 0, 380, 400));
  EXPECT_TRUE(Unchanged(BackPSub(), *background, 0, 0, 380, 400));
  EXPECT_TRUE(Unchanged(Main(), *background, 0, 0, 380, 400)) << "nothing reaches the screen";
}

TEST_F(StatusPanelTest, ScoresShowDigitsFromTheRightWithoutLeadingZeros) {
  Score = 1234;
  HiScore = 0;
  DrawStatusPanel();
  ApplySprite(*expected, 205, 355, 15, 20, FontP1(), 60, 0);
  ApplySprite(*expected, 190, 355, 15, 20, FontP1(), 45, 0);
  ApplySprite(*expected, 175, 355, 15, 20, FontP1(), 30, 0);
  ApplySprite(*expected, 160, 355, 15, 20, FontP1(), 15, 0);
  ApplySprite(*expected, 205, 375, 15, 20, FontP2(), 0, 0);
  EXPECT_TRUE(MainMatches(100, 355, 120, 40));
}

TEST_F(StatusPanelTest, ANineDigitScoreShowsItsLastEight) {
  Score = 123456789;
  HiScore = 100000002;
  DrawStatusPanel();
  for (int i = 0; i < 8; ++i) {
    const int scoreDigit = (123456789 / int(std::pow(10, i))) % 10;
    const int hiDigit = (100000002 / int(std::pow(10, i))) % 10;
    ApplySprite(*expected, 205 - 15 * i, 355, 15, 20, FontP1(), 15 * scoreDigit, 0);
    ApplySprite(*expected, 205 - 15 * i, 375, 15, 20, FontP2(), 15 * hiDigit, 0);
  }
  EXPECT_TRUE(MainMatches(100, 355, 120, 40));
}

TEST_F(StatusPanelTest, NegativeValuesDrawNothing) {
  Score = -5;
  HiScore = INT_MIN;
  DelSum = -1;
  DrawStatusPanel();
  EXPECT_TRUE(MainMatches(100, 355, 120, 40));
  EXPECT_TRUE(MainMatches(305, 130, 50, 20));
}

TEST_F(StatusPanelTest, SideFieldsAndTheirZeroCases) {
  Level = 0;
  DelSum = 0;
  MaxCombo = 0;
  SuperAt = 0;
  DrawStatusPanel();
  ApplySprite(*expected, 345, 130, 10, 20, FontP4(), 0, 0);
  ApplySprite(*expected, 345, 170, 10, 20, FontP4(), 0, 0);
  EXPECT_TRUE(MainMatches(225, 70, 130, 40)) << "Level 0 leaves its field empty";
  EXPECT_TRUE(MainMatches(225, 110, 130, 80));
  EXPECT_TRUE(MainMatches(225, 190, 130, 50)) << "SuperAt 0 leaves its field empty";
}

TEST_F(StatusPanelTest, SideFieldsKeepTheirLastPlaces) {
  Level = 1237;  // three places
  DelSum = 12345;
  MaxCombo = 100;  // two places: two zeros
  SuperAt = 84;
  DrawStatusPanel();
  const int levelDigits[] = {7, 3, 2};
  for (int i = 0; i < 3; ++i)
    ApplySprite(*expected, 345 - 10 * i, 90, 10, 20, FontP4(), 10 * levelDigits[i], 0);
  for (int i = 0; i < 5; ++i)
    ApplySprite(*expected, 345 - 10 * i, 130, 10, 20, FontP4(), 10 * (5 - i), 0);
  ApplySprite(*expected, 345, 170, 10, 20, FontP4(), 0, 0);
  ApplySprite(*expected, 335, 170, 10, 20, FontP4(), 0, 0);
  ApplySprite(*expected, 335, 220, 20, 20, FontP5(), 80, 0);
  ApplySprite(*expected, 315, 220, 20, 20, FontP5(), 160, 0);
  EXPECT_TRUE(MainMatches(225, 70, 130, 170));
}

TEST_F(StatusPanelTest, EachFieldErasesOnlyItsOwnRectangle) {
  struct Rect {
    int x, y, w, h;
  };
  const Colour junk = RGB(1, 2, 3);
  const Rect erased[] = {{100, 355, 120, 40}, {325, 90, 30, 20},   {305, 130, 50, 20},
                         {335, 170, 20, 20},  {255, 220, 100, 20}, {255, 280, 125, 15}};
  Level = SuperAt = 0;
  for (const Rect& r : erased) {
    BackP().SetPixel(r.x, r.y, junk);
    BackP().SetPixel(r.x + r.w - 1, r.y + r.h - 1, junk);
    BackP().SetPixel(r.x - 1, r.y, junk);
  }
  DrawStatusPanel();
  for (const Rect& r : erased) {
    EXPECT_NE(BackP().Pixel(r.x, r.y), junk) << r.x << ", " << r.y;
    EXPECT_NE(BackP().Pixel(r.x + r.w - 1, r.y + r.h - 1), junk) << r.x << ", " << r.y;
  }
  EXPECT_EQ(BackP().Pixel(99, 355), junk);
  EXPECT_EQ(BackP().Pixel(324, 90), junk);
  EXPECT_EQ(Main().Pixel(324, 90), junk) << "it lies in the copied level block";
  EXPECT_EQ(BackP().Pixel(304, 130), junk);
  EXPECT_EQ(BackP().Pixel(254, 220), junk);
  EXPECT_EQ(Main().Pixel(99, 355), background->Pixel(99, 355)) << "outside every copy";
}

TEST_F(StatusPanelTest, TheNextLabelBlockIsCopiedToo) {
  BackP().SetPixel(360, 40, RGB(9, 9, 9));
  BackP().SetPixel(230, 60, RGB(9, 9, 9));
  DrawStatusPanel();
  EXPECT_EQ(Main().Pixel(360, 40), RGB(9, 9, 9));
  EXPECT_EQ(Main().Pixel(230, 60), background->Pixel(230, 60));
}

TEST_F(StatusPanelTest, GaugeAtAFullGoalIsRedWithOneHundred) {
  DrawGaugeFor(48, 48);
  ExpectGauge(355, RGB(255, 0, 0), {{0, 295}, {0, 285}, {1, 275}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
}

TEST_F(StatusPanelTest, GaugePastTheGoalFoldsBackOnce) {
  DrawGaugeFor(5, 4);  // 1.25 -> 0.25: grey, 257.5 rounds to 258
  ExpectGauge(258, RGB(128, 128, 128), {{5, 290}, {2, 280}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
}

TEST_F(StatusPanelTest, GaugeBarIsNotClampedToItsFrame) {
  DrawGaugeFor(10, 4);  // 2.5 -> 1.5: red, right edge 420
  ExpectGauge(420, RGB(255, 0, 0), {{0, 295}, {5, 285}, {1, 275}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
  EXPECT_EQ(BackP().Pixel(379, 285), RGB(255, 0, 0));
  EXPECT_EQ(Main().Pixel(355, 285), background->Pixel(355, 285));
}

TEST_F(StatusPanelTest, GaugeWithoutAGoalIsEmptyAndBlue) {
  DrawGaugeFor(30, 0);
  ExpectGauge(225, RGB(0, 0, 255), {{0, 285}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
  EXPECT_EQ(BackP().FillColor, RGB(0, 0, 255));
}

TEST_F(StatusPanelTest, GaugeRampThroughYellowAndOrange) {
  DrawGaugeFor(24, 48);
  ExpectGauge(290, RGB(255, 255, 0), {{0, 290}, {5, 280}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
  DrawGaugeFor(36, 48);
  EXPECT_EQ(Main().Pixel(300, 285), RGB(255, 128, 0));
  EXPECT_EQ(Main().Pixel(321, 285), RGB(255, 128, 0));
  EXPECT_EQ(Main().Pixel(322, 285), RGB(0, 0, 0)) << "225 + 97.5 rounds to the even 322";
}

TEST_F(StatusPanelTest, GaugePercentageOfOneDigitAndBelowOne) {
  DrawGaugeFor(7, 100);  // 35.7 -> 36, 219.3 -> 219; bar right 234.1 -> 234
  ExpectGauge(234, RGB(36, 36, 219), {{7, 285}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
  expected = CopyOf(*background);
  DrawGaugeFor(1, 200);  // 0.5 % shows a zero
  ExpectGauge(226, RGB(3, 3, 252), {{0, 285}});
  EXPECT_TRUE(MainMatches(225, 250, 130, 45));
}

TEST_F(StatusPanelTest, GaugeLeavesBackPAtRestWithItsColour) {
  DrawGaugeFor(12, 48);
  EXPECT_EQ(BackP().FillStyle, 1);
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().FillColor, RGB(128, 128, 128));
  EXPECT_EQ(BackP().ForeColor, BackP().FillColor);
}

TEST_F(StatusPanelTest, AnEnormousRatioStaysOrderly) {
  DrawGaugeFor(INT_MAX, 1);
  EXPECT_EQ(Main().Pixel(354, 285), RGB(255, 0, 0));
}

}  // namespace
}  // namespace play_test
