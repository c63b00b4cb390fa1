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

  // The masked sprite from `sheet` applied to the expected picture.
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

  // The grey of the pulse, read through a white pixel under the pair's square at (101, 131).
  int PulseGrey() {
    BackPSub().SetPixel(101, 131, RGB(255, 255, 255));
    DrawWell();
    return RedOf(Main().Pixel(101, 131));
  }

  void PlacePair(int pos, int dir, int fallOfs, std::uint8_t a, std::uint8_t b) {
    CurPos = std::uint8_t(pos);
    CurDir = std::uint8_t(dir);
    FallOfs = std::uint8_t(fallOfs);
    CurPiece[0] = a;
    CurPiece[1] = b;
  }

  static Colour FlickerColourFromSeed(std::uint32_t seed) {
    RandomizeWith(seed);
    const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd();
    auto channel = [](float r) { return int(std::nearbyint(r * 100.0f + 155.0f)); };
    const Colour colour = RGB(channel(r1), channel(r2), channel(r3));
    RandomizeWith(seed);
    return colour;
  }

  std::unique_ptr<Surface> background;
  std::unique_ptr<Surface> expected;
};

TEST_F(WellDrawingTest, BoardCellsAreDrawnAtTheirDigitPlaces) {
  HidePair = True;
  Board[0] = 1;
  Board[9] = 10;
  Board[140] = 4;
  Board[149] = 7;
  Board[57] = 5;
  DrawWell();
  ExpectDigit(1, 25, 330);
  ExpectDigit(10, 205, 330);
  ExpectDigit(4, 25, 50);
  ExpectDigit(7, 205, 50);
  ExpectDigit(5, 165, 230);
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
}

TEST_F(WellDrawingTest, SpawnRowAndSuperCellsShowNothing) {
  HidePair = True;
  Board[154] = 3;
  Board[42] = kSuperCell;
  DrawWell();
  EXPECT_TRUE(Unchanged(BackP(), *background, 100, 30, 20, 20));
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
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

TEST_F(WellDrawingTest, APairSitsTwentyMinusFallOfsAboveItsCells) {
  PlacePair(Cell(3, 0), 3, 5, 2, 2);  // second cell to the right
  DrawWell();
  const int top = 30 + 20 * ((159 - Cell(3, 0)) / 10) - 15;
  ExpectShade(20, top, 174);
  ExpectShade(40, top, 174);
  ExpectDigit(2, 25, top);
  ExpectDigit(2, 45, top);
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
}

TEST_F(WellDrawingTest, ANewPairShowsOnlyAsItSlidesIn) {
  PlacePair(154, 0, 0, 3, 4);
  DrawWell();
  EXPECT_TRUE(MainMatches(20, 50, 200, 300)) << "drawn wholly above the well";
  PlacePair(154, 0, 10, 3, 4);
  DrawWell();
  ExpectShade(100, 40, 172);  // 30 degrees; rows 50..59 of this square show
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
  EXPECT_EQ(grey[15], 174);
  EXPECT_EQ(grey[30], 172);
  EXPECT_EQ(grey[45], 168);
  EXPECT_EQ(grey[60], 163);
  EXPECT_EQ(grey[75], 156);
  EXPECT_EQ(grey[90], 150);
  EXPECT_EQ(grey[120], 138);
  EXPECT_EQ(grey[180], 125);
  EXPECT_EQ(grey[240], 137);
  EXPECT_EQ(grey[300], 162);
  EXPECT_EQ(grey[360], 175);
  EXPECT_EQ(PulseAngle, 0);
}

TEST_F(WellDrawingTest, PulseAdvancesWithThePairHidden) {
  HidePair = True;
  PulseAngle = 345;
  DrawWell();
  EXPECT_EQ(PulseAngle, 0);
  HidePair = False;
  PlacePair(104, 0, 20, 3, 8);
  PulseAngle = 345;
  EXPECT_EQ(PulseGrey(), 175);
}

TEST_F(WellDrawingTest, TheSuperPairIsOneFlickeringRoundedBox) {
  SuperArmed = True;
  PlacePair(104, 0, 20, kSuperCell, kSuperCell);
  const Colour colour = FlickerColourFromSeed(7);
  DrawWell();
  EXPECT_EQ(Main().Pixel(110, 150), colour);
  EXPECT_EQ(Main().Pixel(110, 130), colour);
  EXPECT_EQ(Main().Pixel(110, 169), colour);
  EXPECT_EQ(Main().Pixel(100, 150), colour);
  EXPECT_EQ(Main().Pixel(119, 150), colour);
  EXPECT_EQ(Main().Pixel(100, 130), background->Pixel(100, 130)) << "rounded corner";
  EXPECT_TRUE(Unchanged(Main(), *background, 100, 170, 20, 5));
  EXPECT_TRUE(Unchanged(Main(), *background, 120, 130, 5, 40));
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().FillStyle, 1);
  DrawWell();
  EXPECT_NE(Main().Pixel(110, 150), colour) << "a new colour on every call";
}

TEST_F(WellDrawingTest, TheSuperPairVanishesDuringASuperClear) {
  SuperArmed = True;
  ForceClear = True;
  PlacePair(104, 0, 20, kSuperCell, kSuperCell);
  DrawWell();
  EXPECT_TRUE(MainMatches(20, 50, 200, 300));
}

TEST_F(WellDrawingTest, TheNextBoxScrollsTheNewPairInOverTenCalls) {
  ShownNext[0] = 3;
  ShownNext[1] = 4;
  NextPiece[0] = 5;
  NextPiece[1] = 6;
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
  EXPECT_EQ(NextAnim, True);
  DrawWell();
  EXPECT_EQ(NextAnim, False);
  EXPECT_EQ(NextScroll, 0);
  EXPECT_EQ(ShownNext[0], 5);
  EXPECT_EQ(ShownNext[1], 6);
  expected = CopyOf(*background);
  ExpectDigit(5, 235, 15);
  ExpectDigit(6, 235, 35);
  EXPECT_TRUE(MainMatches(230, 15, 20, 40));
}

TEST_F(WellDrawingTest, TheFirstScrollHasNothingToCarryOut) {
  NextPiece[0] = NextPiece[1] = 2;
  NextAnim = True;
  for (int call = 0; call < 5; ++call) DrawWell();
  ExpectDigit(2, 235, 15, 10, 10);
  ExpectDigit(2, 235, 35, 10, 10);
  EXPECT_TRUE(MainMatches(230, 15, 20, 40));
}

TEST_F(WellDrawingTest, TheLampIsCarriedOutByTheNextScrollAndSwitchedOff) {
  LampOn = True;
  NextPiece[0] = 5;
  NextPiece[1] = 6;
  Colour colour = FlickerColourFromSeed(3);
  DrawWell();
  EXPECT_EQ(Main().Pixel(240, 25), colour);
  EXPECT_EQ(Main().Pixel(240, 45), colour);
  EXPECT_EQ(LampOn, True) << "the lamp stays lit at rest";

  NextAnim = True;
  for (int call = 0; call < 5; ++call) DrawWell();
  colour = FlickerColourFromSeed(11);
  DrawWell();  // s = 12: the lamp boxes start at y 27 and 47
  EXPECT_EQ(Main().Pixel(240, 30), colour);
  EXPECT_EQ(Main().Pixel(240, 50), colour);
  EXPECT_EQ(Main().Pixel(240, 25), SpritePixel(background->Pixel(240, 25), BlP(), 45, 18));
  for (int call = 0; call < 5; ++call) DrawWell();
  EXPECT_EQ(LampOn, False);
  EXPECT_EQ(NextAnim, False);
}

TEST_F(WellDrawingTest, AScrollAtItsEndFinishesWithoutAnotherStep) {
  NextScroll = 20;
  NextAnim = True;
  NextPiece[0] = 7;
  NextPiece[1] = 8;
  DrawWell();
  EXPECT_EQ(NextScroll, 0);
  EXPECT_EQ(NextAnim, False);
  EXPECT_EQ(ShownNext[0], 7);
}

}  // namespace
}  // namespace play_test
