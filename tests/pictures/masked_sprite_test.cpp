// The masked-sprite rule and the well geometry, on the real sheets.
#include <gtest/gtest.h>

#include "gameplay/sprites.h"
#include "picture_helpers.h"

namespace {

constexpr Colour kPanel = RGB(74, 68, 138);

TEST(WellGeometry, CellsCountRowsFromTheBottomAndTheSpawnRowSitsAboveTheWell) {
  EXPECT_EQ(CellLeft(0), 20);
  EXPECT_EQ(CellTop(0), 330);
  EXPECT_EQ(CellLeft(9), 200);
  EXPECT_EQ(CellTop(9), 330);
  EXPECT_EQ(CellTop(140), 50);
  EXPECT_EQ(CellTop(149), 50);
  EXPECT_EQ(CellTop(150), 30);
  EXPECT_EQ(CellTop(159), 30);
  EXPECT_EQ(DigitLeft(154), 105);
  EXPECT_EQ(DigitTop(154), 30);
  EXPECT_EQ(BlPSourceX(1), 0);
  EXPECT_EQ(BlPSourceX(10), 90);
  // Every visible cell lies inside the well region.
  for (int i = 0; i < 150; ++i) {
    EXPECT_GE(CellLeft(i), kWellLeft);
    EXPECT_LE(CellLeft(i) + kCellSize, kWellLeft + kWellWidth);
    EXPECT_GE(CellTop(i), kWellTop);
    EXPECT_LE(CellTop(i) + kCellSize, kWellTop + kWellHeight);
  }
}

// The cell of a well value drawn by the rule on a plain panel: the image where the mask lets
// it through, the panel elsewhere.
TEST(MaskedSprite, BandZeroDrawsThePlainDigit) {
  ResetSurfaces();
  for (int value = 1; value <= 10; ++value) {
    Surface target(20, 20, kPanel);
    DrawWellDigit(target, 5, 0, value);
    const int sx = (value - 1) * 10;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 10; ++x) {
        const Colour expected =
            BlP().mask.Pixel(sx + x, y) == kWhite ? BlP().image.Pixel(sx + x, y) : kPanel;
        ASSERT_EQ(target.Pixel(5 + x, y), expected) << value << " at " << x << "," << y;
      }
    for (int y = 0; y < 20; ++y)
      for (int x : {0, 1, 2, 3, 4, 15, 16, 17, 18, 19}) ASSERT_EQ(target.Pixel(x, y), kPanel);
  }
}

TEST(MaskedSprite, BandSevenGivesBackgroundOrFortyFiveAndImage) {
  ResetSurfaces();
  const int sx = BlPSourceX(5);
  Surface target(10, 20, kPanel);
  DrawMaskedSpriteRows(target, 0, 0, 10, 20, BlP(), sx, 20 * 7, 0);
  int glyphPixels = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 10; ++x) {
      Colour expected = kPanel;
      if (BlP().mask.Pixel(sx + x, y) == kWhite) {
        expected = (kPanel | RGB(45, 45, 45)) & BlP().image.Pixel(sx + x, y);
        ++glyphPixels;
      }
      ASSERT_EQ(target.Pixel(x, y), expected) << x << "," << y;
    }
  EXPECT_GT(glyphPixels, 40);
}

TEST(MaskedSprite, ValuesWithoutACellDrawNothing) {
  ResetSurfaces();
  for (int value : {0, 255}) {
    Surface target(40, 40, kPanel);
    DrawWellDigit(target, 15, 10, value);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(target.Pixel(x, y), kPanel) << value;
  }
}

TEST(MaskedSprite, LowestAndHighestValuesShowTheFirstAndLastDigit) {
  ResetSurfaces();
  Surface low(10, 20, kPanel), high(10, 20, kPanel);
  DrawWellDigit(low, 0, 0, 1);
  DrawWellDigit(high, 0, 0, 10);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 10; ++x) {
      if (BlP().mask.Pixel(x, y) == kWhite) {
        ASSERT_EQ(low.Pixel(x, y), BlP().image.Pixel(x, y));
      }
      if (BlP().mask.Pixel(90 + x, y) == kWhite) {
        ASSERT_EQ(high.Pixel(x, y), BlP().image.Pixel(90 + x, y));
      }
    }
}

TEST(MaskedSprite, ComboNumbersAndWordsKeepTheWellAroundThem) {
  ResetSurfaces();
  Surface well(200, 300, kPanel);
  DrawMaskedSprite(well, 10, 60, 60, 60, CmbNP(), 240, 180);
  DrawMaskedSprite(well, 70, 120, 120, 40, CmbP(), 0, 0);
  int panel = 0, drawn = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 200; ++x) {
      const bool inside =
          (x >= 10 && x < 70 && y >= 60 && y < 120) || (x >= 70 && x < 190 && y >= 120 && y < 160);
      if (!inside) {
        ASSERT_EQ(well.Pixel(x, y), kPanel) << x << "," << y;
      }
      (well.Pixel(x, y) == kPanel ? panel : drawn)++;
    }
  EXPECT_GT(drawn, 1000);
  EXPECT_GT(panel, 50000);
}

}  // namespace
