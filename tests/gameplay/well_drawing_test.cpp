#include "gameplay/well_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "game_fixture.h"
#include "platform/system.h"

namespace play_test {
namespace {

class WellDrawingTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    background = CopyOf(BackPSub());
    expected = CopyOf(BackPSub());
    NextAnim = False;
  }
  void ExpectDigit(int value, int x, int y, int sy = 0, int h = 20) {
    ApplySprite(*expected, x, y, 10, h, BlP(), 10 * (value - 1), sy);
  }
  void ExpectShade(int left, int top, int grey) {
    for (int y = top; y < top + 20; ++y)
      for (int x = left; x < left + 20; ++x)
        expected->SetPixel(x, y, (expected->Pixel(x, y) & RGB(grey, grey, grey)) | RGB(0, 200, 0));
  }
  ::testing::AssertionResult MainMatches(int x, int y, int w, int h) {
    return Unchanged(Main(), *expected, x, y, w, h);
  }
  void PlacePair(int pos, int dir, int fallOfs, std::uint8_t a, std::uint8_t b) {
    CurPos = std::uint8_t(pos), CurDir = std::uint8_t(dir), FallOfs = std::uint8_t(fallOfs);
    CurPiece[0] = a, CurPiece[1] = b;
  }
  // The pulse's grey, read through a white pixel under the pair's square at (101, 131).
  int PulseGrey() {
    BackPSub().SetPixel(101, 131, RGB(255, 255, 255));
    DrawWell();
    return RedOf(Main().Pixel(101, 131));
  }
  // The flicker colour the next three random numbers give (the generator is left as it was).
  static Colour FlickerColour(std::uint32_t seed) {
    RandomizeWith(seed);
    int c[3];
    for (int& channel : c) channel = int(std::nearbyint(Rnd() * 100.0f + 155.0f));
    RandomizeWith(seed);
    return RGB(c[0], c[1], c[2]);
  }

  std::unique_ptr<Surface> background, expected;
};

TEST_F(WellDrawingTest, BoardCellsShowAtTheirPlacesButNotTheSpawnRowOrSuperCells) {
  HidePair = True;
  Board[0] = 1, Board[9] = 10, Board[140] = 4, Board[149] = 7, Board[57] = 5;
  Board[154] = 3, Board[42] = kSuperCell;
  DrawWell();
  ExpectDigit(1, 25, 330);
  ExpectDigit(10, 205, 330);
  ExpectDigit(4, 25, 50);
  ExpectDigit(7, 205, 50);
  ExpectDigit(5, 165, 230);
  EXPECT_TRUE(MainMatches(0, 0, 380, 400));
  EXPECT_TRUE(Unchanged(BackP(), *background, 100, 30, 20, 20));
}

TEST_F(WellDrawingTest, TheFallingPairIsShadedGreenUnderItsDigits) {
  PlacePair(104, 0, 20, 3, 8);
  DrawWell();
  ExpectShade(100, 130, 174);  // 15 degrees
  ExpectShade(100, 150, 174);
  ExpectDigit(3, 105, 130);
  ExpectDigit(8, 105, 150);
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().FillStyle, 1);
}

TEST_F(WellDrawingTest, APairSitsTwentyMinusFallOfsAboveItsCellsAndSlidesIntoView) {
  PlacePair(Cell(3, 0), 3, 5, 2, 2);
  DrawWell();
  ExpectShade(20, 255, 174);
  ExpectShade(40, 255, 174);
  ExpectDigit(2, 25, 255);
  ExpectDigit(2, 45, 255);
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
  expected = CopyOf(*background);
  PlacePair(154, 0, 0, 3, 4);
  DrawWell();
  EXPECT_TRUE(MainMatches(20, 50, 200, 300)) << "a new pair lies wholly above the well";
  PlacePair(154, 0, 10, 3, 4);
  DrawWell();
  ExpectShade(100, 40, 168);  // 45 degrees; rows 50..59 of the lower square show
  ExpectDigit(4, 105, 40);
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
}

TEST_F(WellDrawingTest, ThePulseFollowsTheShortDegreeFactor) {
  PlacePair(104, 0, 20, 3, 8);
  std::map<int, int> grey;
  for (int call = 1; call <= 24; ++call) {
    const int angle = PulseAngle + 15;
    grey[angle] = PulseGrey();
  }
  const std::pair<int, int> known[] = {{15, 174},  {30, 172},  {45, 168},  {60, 163},
                                       {75, 156},  {90, 150},  {120, 138}, {180, 125},
                                       {240, 137}, {300, 162}, {360, 175}};
  for (auto [angle, g] : known) EXPECT_EQ(grey[angle], g) << angle << " degrees";
  EXPECT_EQ(PulseAngle, 0);
  HidePair = True;
  DrawWell();
  EXPECT_EQ(PulseAngle, 15) << "the pulse runs on with the pair hidden";
}

TEST_F(WellDrawingTest, TheSuperPairIsOneFlickeringRoundedBoxUnlessASuperClearRuns) {
  SuperArmed = True;
  PlacePair(104, 0, 20, kSuperCell, kSuperCell);
  const Colour colour = FlickerColour(7);
  DrawWell();
  for (auto [x, y] : {std::pair{110, 150}, {110, 130}, {110, 169}, {100, 150}, {119, 150}})
    EXPECT_EQ(Main().Pixel(x, y), colour) << x << ", " << y;
  EXPECT_EQ(Main().Pixel(100, 130), background->Pixel(100, 130)) << "rounded corner";
  EXPECT_TRUE(Unchanged(Main(), *background, 100, 170, 20, 5));
  EXPECT_TRUE(Unchanged(Main(), *background, 120, 130, 5, 40));
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().FillStyle, 1);
  ForceClear = True;
  DrawWell();
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
}

TEST_F(WellDrawingTest, TheNextBoxScrollsTheNewPairInOverTenCalls) {
  ShownNext[0] = 3, ShownNext[1] = 4, NextPiece[0] = 5, NextPiece[1] = 6;
  NextAnim = True;
  for (int s = 2; s <= 20; s += 2) {
    DrawWell();
    ASSERT_EQ(NextScroll, s);
    expected = CopyOf(*background);
    ExpectDigit(3, 235, s + 15, 0, 20 - s);
    ExpectDigit(4, 235, s + 35, 0, 20 - s);
    ExpectDigit(5, 235, 15, 20 - s, s);
    ExpectDigit(6, 235, 35, 20 - s, s);
    EXPECT_TRUE(MainMatches(230, 15, 20, 40)) << "s = " << s;
  }
  DrawWell();
  EXPECT_EQ(NextAnim, False);
  EXPECT_EQ(NextScroll, 0);
  EXPECT_EQ(ShownNext[0], 5);
  EXPECT_TRUE(MainMatches(230, 15, 20, 40)) << "at rest the same digits";
}

TEST_F(WellDrawingTest, TheLampIsCarriedOutByTheNextScrollAndSwitchedOff) {
  LampOn = True;
  NextPiece[0] = 5, NextPiece[1] = 6;
  Colour colour = FlickerColour(3);
  DrawWell();
  EXPECT_EQ(Main().Pixel(240, 25), colour);
  EXPECT_EQ(Main().Pixel(240, 45), colour);
  NextAnim = True;
  for (int call = 0; call < 5; ++call) DrawWell();
  colour = FlickerColour(11);
  DrawWell();  // s = 12: the boxes now start at y 27 and 47, the new digits above them
  EXPECT_EQ(Main().Pixel(240, 30), colour);
  EXPECT_EQ(Main().Pixel(240, 50), colour);
  ExpectDigit(5, 235, 15, 8, 12);
  EXPECT_TRUE(MainMatches(230, 15, 20, 12));
  for (int call = 0; call < 5; ++call) DrawWell();
  EXPECT_EQ(LampOn, False);
}

}  // namespace
}  // namespace play_test
