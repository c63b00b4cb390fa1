// The shape calls pixel by pixel on tiny surfaces: which pixels the pen and the brush cover,
// and how the mix modes combine them with what is there.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/gdi.h"

namespace {

constexpr Colour kBack = RGB(0x33, 0xAA, 0xFF);
constexpr Colour kPen = RGB(200, 0, 0);
constexpr Colour kBrush = RGB(0, 0, 200);

Surface Canvas(int w, int h, bool brush) {
  Surface s(w, h, kBack);
  s.ForeColor = kPen;
  s.FillColor = kBrush;
  s.FillStyle = brush ? 0 : 1;
  return s;
}

// The surface as text: '.' untouched, 'P' pen, 'B' brush, '?' anything else.
std::vector<std::string> Picture(const Surface& s) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) {
      const Colour c = s.Pixel(x, y);
      row += c == kBack ? '.' : c == kPen ? 'P' : c == kBrush ? 'B' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

using Rows = std::vector<std::string>;

// Checks that nothing outside [x0, x1] x [y0, y1] was touched.
void ExpectOnlyInside(const Surface& s, int x0, int x1, int y0, int y1) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (x < x0 || x > x1 || y < y0 || y > y1) {
        ASSERT_EQ(s.Pixel(x, y), kBack) << x << "," << y;
      }
}

TEST(RectangleCoverage, PenOnBorderBrushInsideRightAndBottomLeftOut) {
  Surface s = Canvas(7, 6, true);
  Rectangle(s, 1, 1, 5, 4);
  EXPECT_EQ(Picture(s), (Rows{".......", ".PPPP..", ".PBBP..", ".PPPP..", ".......", "......."}));
  Surface flipped = Canvas(7, 6, true);
  Rectangle(flipped, 5, 4, 1, 1);
  EXPECT_EQ(Picture(flipped), Picture(s));
}

TEST(RectangleCoverage, DegenerateBoxes) {
  Surface s = Canvas(4, 4, true);
  Rectangle(s, 1, 1, 2, 2);  // a single pixel
  Rectangle(s, 1, 0, 1, 4);  // no width, as the gauge bar at ratio 0
  Rectangle(s, 0, 2, 4, 2);  // no height
  EXPECT_EQ(Picture(s), (Rows{"....", "....", "....", "...."}));
  Rectangle(s, 1, 1, 3, 3);
  EXPECT_EQ(Picture(s), (Rows{"....", ".PP.", ".PP.", "...."}));
  Surface column = Canvas(3, 12, true);
  Rectangle(column, 1, 1, 2, 11);
  for (int y = 0; y < 12; ++y) EXPECT_EQ(Picture(column)[y], (y >= 1 && y <= 10) ? ".P." : "...");
}

TEST(RectangleCoverage, GaugeFrameWithoutBrush) {
  Surface s = Canvas(380, 400, false);
  Rectangle(s, 225, 275, 355, 295);
  for (int y = 270; y < 300; ++y)
    for (int x = 220; x < 360; ++x) {
      const bool border = (x == 225 || x == 354) ? (y >= 275 && y <= 294)
                                                 : (x > 225 && x < 354 && (y == 275 || y == 294));
      ASSERT_EQ(s.Pixel(x, y), border ? kPen : kBack) << x << "," << y;
    }
  ExpectOnlyInside(s, 225, 354, 275, 294);
}

TEST(RectangleCoverage, ClippedAndHugeCoordinates) {
  Surface s = Canvas(4, 3, true);
  Rectangle(s, -2, 1, 2, 10);
  EXPECT_EQ(Picture(s), (Rows{"....", "PP..", "BP.."}));
  Surface huge = Canvas(4, 3, true);
  Rectangle(huge, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(Picture(huge), (Rows{"BBBB", "BBBB", "BBBB"}));
  RoundRect(huge, INT_MIN, 0, INT_MAX, 2, INT_MAX, INT_MIN);
  Ellipse(huge, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  Ellipse(huge, -1000000000, 1, 1000000000, 2);
}

TEST(MixModes, PenAndBrushEachMixedWithTheDestination) {
  const Colour colour = RGB(0xFF, 0x00, 0x80);
  const struct {
    int mode;
    Colour want;
  } cases[] = {{R2_MASKPEN, RGB(0x33, 0x00, 0x80)},
               {R2_MERGEPEN, RGB(0xFF, 0xAA, 0xFF)},
               {R2_COPYPEN, colour}};
  for (const auto& c : cases) {
    Surface s(4, 4, kBack);
    s.ForeColor = s.FillColor = colour;
    s.FillStyle = 0;
    s.DrawMode = c.mode;
    Rectangle(s, 0, 0, 3, 3);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        ASSERT_EQ(s.Pixel(x, y), (x < 3 && y < 3) ? c.want : kBack) << c.mode << " " << x << y;
  }
}

TEST(MixModes, MergeWithWhiteWhitensAndMaskWithGreyDarkens) {
  Surface s(3, 3, RGB(10, 100, 250));
  s.FillStyle = 0;
  s.DrawMode = R2_MERGEPEN;
  s.ForeColor = s.FillColor = RGB(255, 255, 255);
  Rectangle(s, 0, 0, 3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) ASSERT_EQ(s.Pixel(x, y), RGB(255, 255, 255));
  Surface m(3, 3, RGB(0xF0, 0x0F, 0xFF));
  m.FillStyle = 0;
  m.DrawMode = R2_MASKPEN;
  m.ForeColor = m.FillColor = RGB(0x80, 0x80, 0x80);
  Rectangle(m, 0, 0, 3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) ASSERT_EQ(m.Pixel(x, y), RGB(0x80, 0x00, 0x80));
}

TEST(EllipseCoverage, SmallEllipses) {
  Surface three = Canvas(3, 3, true), four = Canvas(4, 4, true), five = Canvas(5, 5, true);
  Ellipse(three, 0, 0, 3, 3);
  Ellipse(four, 0, 0, 4, 4);
  Ellipse(five, 0, 0, 5, 5);
  EXPECT_EQ(Picture(three), (Rows{".P.", "PBP", ".P."}));
  EXPECT_EQ(Picture(four), (Rows{".PP.", "PBBP", "PBBP", ".PP."}));
  EXPECT_EQ(Picture(five), (Rows{".PPP.", "PBBBP", "PBBBP", "PBBBP", ".PPP."}));
}

TEST(EllipseCoverage, RadiusZeroDrawsNothing) {
  Surface s = Canvas(3, 3, true);
  Ellipse(s, 1, 1, 1, 1);
  Ellipse(s, 0, 0, 0, 3);
  EXPECT_EQ(Picture(s), (Rows{"...", "...", "..."}));
}

TEST(EllipseCoverage, DiscIsSymmetricAndItsOutlineConnected) {
  Surface s = Canvas(17, 17, true);
  Ellipse(s, 0, 0, 17, 17);
  const Rows rows = Picture(s);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) {
      ASSERT_EQ(rows[y][x], rows[16 - y][x]);
      ASSERT_EQ(rows[y][x], rows[x][y]);
    }
  EXPECT_EQ(rows[0], "......PPPPP......");  // radius 8: a flat top five pixels wide
  EXPECT_EQ(rows[8], "PBBBBBBBBBBBBBBBP");
  // Each pen pixel of the left half has a pen neighbour in the row below or the same row.
  for (int y = 0; y < 8; ++y) {
    const int x = int(rows[y].find('P'));
    const std::string& next = rows[y + 1];
    EXPECT_TRUE(next[x] == 'P' || (x > 0 && next[x - 1] == 'P')) << y;
  }
}

TEST(RoundRectCoverage, TenByTenCornersAndPlainWhenZero) {
  Surface s = Canvas(20, 20, true);
  RoundRect(s, 0, 0, 20, 20, 10, 10);
  const Rows rows = Picture(s);
  Surface ring = Canvas(10, 10, true);
  Ellipse(ring, 0, 0, 10, 10);
  const Rows circle = Picture(ring);
  // Each corner is a quarter of the 10 x 10 circle; the edges between run straight.
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(rows[y].substr(0, 5), circle[y].substr(0, 5)) << y;
    EXPECT_EQ(rows[19 - y].substr(15, 5), circle[9 - y].substr(5, 5)) << y;
  }
  EXPECT_EQ(rows[0], "...PPPPPPPPPPPPPP...");
  EXPECT_EQ(rows[10], "PBBBBBBBBBBBBBBBBBBP");
  Surface plain = Canvas(6, 5, true), box = Canvas(6, 5, true);
  RoundRect(plain, 0, 0, 5, 4, 0, 7);
  Rectangle(box, 0, 0, 5, 4);
  EXPECT_EQ(Picture(plain), Picture(box));
  Surface whole = Canvas(6, 6, true), ellipse = Canvas(6, 6, true);
  RoundRect(whole, 0, 0, 6, 5, -60, 50);  // larger than the box: the ellipse of the box
  Ellipse(ellipse, 0, 0, 6, 5);
  EXPECT_EQ(Picture(whole), Picture(ellipse));
}

TEST(RoundRectCoverage, NextBoxLampTenByFive) {
  Surface s = Canvas(30, 60, true);
  RoundRect(s, 5, 10, 25, 50, 10, 5);
  const Rows rows = Picture(s);
  ExpectOnlyInside(s, 5, 24, 10, 49);
  EXPECT_EQ(rows[10].substr(5, 20), "..PPPPPPPPPPPPPPPP..");
  EXPECT_EQ(rows[12].substr(5, 20), "PBBBBBBBBBBBBBBBBBBP");
  EXPECT_EQ(rows[49], rows[10]);
}

TEST(PolygonCoverage, RightTriangleCoversVerticesToo) {
  Surface s = Canvas(11, 11, true);
  const POINT triangle[] = {{2, 2}, {8, 2}, {2, 8}};
  Polygon(s, triangle, 3);
  const Rows rows = Picture(s);
  ExpectOnlyInside(s, 2, 8, 2, 8);
  EXPECT_EQ(rows[2], "..PPPPPPP..");
  EXPECT_EQ(rows[5], "..PBBP.....");
  EXPECT_EQ(rows[8], "..P........");
  for (int y = 2; y <= 8; ++y) EXPECT_EQ(rows[y][2], 'P');
}

TEST(PolygonCoverage, SquareCoversOneMoreThanRectangle) {
  Surface s = Canvas(12, 12, true);
  const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  Polygon(s, square, 4);
  const Rows rows = Picture(s);
  ExpectOnlyInside(s, 0, 10, 0, 10);
  EXPECT_EQ(rows[0], "PPPPPPPPPPP.");
  EXPECT_EQ(rows[5], "PBBBBBBBBBP.");
  EXPECT_EQ(rows[10], "PPPPPPPPPPP.");
}

TEST(PolygonCoverage, CoincidentVerticesDrawNothing) {
  Surface s = Canvas(5, 5, true);
  const POINT same[] = {{2, 2}, {2, 2}, {2, 2}};
  Polygon(s, same, 3);
  Polygon(s, same, 1);
  Polygon(s, nullptr, 3);
  EXPECT_EQ(Picture(s), (Rows{".....", ".....", ".....", ".....", "....."}));
}

TEST(PolygonCoverage, MergedTriangleOverlapsAndHugeVertices) {
  Surface s(20, 20, RGB(0, 0, 0));
  s.FillStyle = 0;
  s.DrawMode = R2_MERGEPEN;
  s.ForeColor = s.FillColor = RGB(210, 210, 255);
  const POINT spun[] = {{10, 3}, {16, 14}, {4, 14}};
  Polygon(s, spun, 3);
  EXPECT_EQ(s.Pixel(10, 10), RGB(210, 210, 255));
  EXPECT_EQ(s.Pixel(0, 0), RGB(0, 0, 0));
  const POINT far[] = {{INT_MIN, INT_MIN}, {INT_MAX, 5}, {5, INT_MAX}, {-3, 7}};
  Polygon(s, far, 4);  // only needs to finish without a fault
}

}  // namespace
