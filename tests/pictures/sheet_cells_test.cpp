// The cells of every sheet: ink in each cell, none of it running into a neighbour, and the
// colours that tell the digits apart.
#include <gtest/gtest.h>

#include <cmath>

#include "picture_helpers.h"

namespace {

int InkCount(const Surface& mask, int left, int top, int width, int height) {
  int count = 0;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) count += Inked(mask, x, y);
  return count;
}

// Ink of one cell touching ink of its neighbour across their shared edge (8-connected) would
// mean a glyph crossing the line: drawn alone it would be cut, and bits of it would show
// with its neighbour.
bool InkCrossesColumnEdge(const Surface& mask, int edge, int top, int height) {
  for (int y = top; y < top + height; ++y)
    for (int dy = -1; dy <= 1; ++dy) {
      const int other = y + dy;
      if (other < top || other >= top + height) continue;
      if (Inked(mask, edge - 1, y) && Inked(mask, edge, other)) return true;
    }
  return false;
}

bool InkCrossesRowEdge(const Surface& mask, int edge, int left, int width) {
  for (int x = left; x < left + width; ++x)
    for (int dx = -1; dx <= 1; ++dx) {
      const int other = x + dx;
      if (other < left || other >= left + width) continue;
      if (Inked(mask, x, edge - 1) && Inked(mask, other, edge)) return true;
    }
  return false;
}

TEST(SheetCells, EveryCellHasInkAndNoneRunsIntoTheNextCell) {
  ResetSurfaces();
  for (const SheetLayout& layout : kSheets) {
    SCOPED_TRACE(layout.name);
    const Surface& mask = layout.sheet().mask;
    const int w = layout.cellWidth, h = layout.cellHeight;
    for (int row = 0; row < layout.down; ++row)
      for (int column = 0; column < layout.across; ++column) {
        SCOPED_TRACE(::testing::Message() << "cell " << row * layout.across + column);
        EXPECT_GT(InkCount(mask, column * w, row * h, w, h), w * h / 10);
        if (column > 0) {
          EXPECT_FALSE(InkCrossesColumnEdge(mask, column * w, row * h, h));
        }
        if (row > 0) {
          EXPECT_FALSE(InkCrossesRowEdge(mask, row * h, column * w, w));
        }
      }
    // Nothing beyond the last cell: the BlP box's spare columns stay blank.
    const int usedWidth = layout.across * w;
    EXPECT_EQ(InkCount(mask, usedWidth, 0, mask.Width() - usedWidth, layout.down * h), 0);
  }
}

TEST(SheetCells, SingleCellPicturesKeepAMarginSoNothingIsClipped) {
  ResetSurfaces();
  for (Sheet* sheet : {&CmbP(), &GameOverP()}) {
    const Surface& mask = sheet->mask;
    EXPECT_EQ(InkCount(mask, 0, 0, mask.Width(), 1), 0);
    EXPECT_EQ(InkCount(mask, 0, mask.Height() - 1, mask.Width(), 1), 0);
    EXPECT_EQ(InkCount(mask, 0, 0, 1, mask.Height()), 0);
    EXPECT_EQ(InkCount(mask, mask.Width() - 1, 0, 1, mask.Height()), 0);
  }
}

// The mean colour of a cell's letters, leaving out its near-white outline.
struct Mean {
  double r = 0, g = 0, b = 0;
};
Mean LetterColour(const Surface& image, int left, int top, int width, int height) {
  Mean mean;
  int count = 0;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) {
      const Colour c = image.Pixel(x, y);
      if (RedOf(c) > 220 && GreenOf(c) > 220 && BlueOf(c) > 200) continue;
      mean.r += RedOf(c);
      mean.g += GreenOf(c);
      mean.b += BlueOf(c);
      ++count;
    }
  if (count > 0) mean = {mean.r / count, mean.g / count, mean.b / count};
  return mean;
}

double Distance(const Mean& a, const Mean& b) {
  return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) +
                   (a.b - b.b) * (a.b - b.b));
}

TEST(SheetCells, WellDigitsHaveTenClearlyDifferentColours) {
  ResetSurfaces();
  Mean colours[10];
  for (int d = 0; d < 10; ++d) colours[d] = LetterColour(BlP().image, 10 * d, 0, 10, 20);
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b)
      EXPECT_GT(Distance(colours[a], colours[b]), 45) << "digits " << a << " and " << b;
  const Mean &silver = colours[0], &blue = colours[1], &green = colours[2], &yellow = colours[3],
             &red = colours[4];
  EXPECT_LT(std::abs(silver.r - silver.b) + std::abs(silver.g - silver.b), 40);
  EXPECT_GT(blue.b, blue.r + 80);
  EXPECT_GT(green.g, green.r + 60);
  EXPECT_GT(yellow.r, yellow.b + 100);
  EXPECT_GT(yellow.g, yellow.b + 100);
  EXPECT_GT(red.r, red.g + 100);
}

TEST(SheetCells, ComboNumbersTakeTheirColoursAndTwentySaysUp) {
  ResetSurfaces();
  const Surface& image = CmbNP().image;
  const Mean one = LetterColour(image, 0, 0, 60, 60), two = LetterColour(image, 60, 0, 60, 60),
             three = LetterColour(image, 120, 0, 60, 60);
  EXPECT_GT(one.b, one.r + 40);
  EXPECT_GT(two.g, two.r + 40);
  EXPECT_GT(three.r, three.g + 60);
  // "UP" sits below the number in cell 20: ink lower than any other number reaches.
  int lowestOther = 0;
  for (int c = 0; c < 19; ++c)
    for (int y = 0; y < 60; ++y)
      if (InkCount(CmbNP().mask, (c % 5) * 60, (c / 5) * 60 + y, 60, 1) > 0)
        lowestOther = std::max(lowestOther, y);
  EXPECT_GT(InkCount(CmbNP().mask, 240, 180 + lowestOther + 1, 60, 59 - lowestOther), 20);
}

}  // namespace
