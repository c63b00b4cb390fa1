// Surfaces: start colours, pictures shown under the drawing, Cls, and the box of changes
// that the window presenter copies.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/gdi.h"

namespace {

ImagePtr Picture(int w, int h, Colour c) { return std::make_shared<Image>(w, h, c); }

TEST(Surface, StartsInItsBackgroundColour) {
  const Surface s(3, 2, RGB(9, 8, 7));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(s.Pixel(x, y), RGB(9, 8, 7));
  const Surface plain(1, 1);
  EXPECT_EQ(plain.Pixel(0, 0), kWindowColour);
  EXPECT_EQ(plain.ForeColor, kWindowTextColour);
  EXPECT_EQ(plain.FillStyle, 1);
  EXPECT_EQ(plain.DrawMode, 13);
}

TEST(Surface, SmallerPictureLeavesTheRestInBackColor) {
  // A 100-pixel picture in a 110-pixel box, as the well digits are kept.
  Surface s(110, 2, RGB(5, 5, 5));
  s.BackColor = RGB(255, 255, 255);
  s.SetPicture(Picture(100, 1, RGB(1, 2, 3)));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 110; ++x) {
      const Colour want = (x < 100 && y < 1) ? RGB(1, 2, 3) : RGB(255, 255, 255);
      ASSERT_EQ(s.Pixel(x, y), want) << x << "," << y;
    }
}

TEST(Surface, LargerPictureIsCutAtTheEdges) {
  // The 140-pixel label pictures in 100-pixel boxes.
  Surface s(100, 20);
  auto picture = std::make_shared<Image>(140, 20, RGB(0, 0, 0));
  picture->At(99, 19) = RGB(7, 7, 7);
  s.SetPicture(picture);
  EXPECT_EQ(s.Pixel(99, 19), RGB(7, 7, 7));
  EXPECT_EQ(s.Pixel(0, 0), RGB(0, 0, 0));
}

TEST(Surface, ClsWipesDrawingAndBringsPictureBack) {
  Surface s(2, 2);
  s.SetPicture(Picture(2, 2, RGB(4, 4, 4)));
  s.SetPixel(1, 1, RGB(255, 0, 0));
  const auto before = s.Generation();
  s.Cls();
  EXPECT_EQ(s.Pixel(1, 1), RGB(4, 4, 4));
  EXPECT_GT(s.Generation(), before);
  s.SetPicture(nullptr);
  EXPECT_EQ(s.Pixel(1, 1), s.BackColor);
}

// The presenter copies only this box to the screen: a box that misses a change leaves old
// pixels on the screen.
TEST(Surface, ChangedBoxHoldsEveryChangeSinceItWasTaken) {
  Surface s(100, 80);
  Surface sheet(40, 40);
  s.TakeChanged();
  BitBlt(s, 90, -5, 20, 20, sheet, 0, 0, SRCCOPY);  // clipped to x 90..99, y 0..14
  s.FillStyle = 0;
  Rectangle(s, 10, 60, 13, 62);
  const Surface::Box box = s.TakeChanged();
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 100);
  EXPECT_EQ(box.bottom, 62);
  EXPECT_TRUE(s.TakeChanged().Empty());
  s.Cls();
  const Surface::Box whole = s.TakeChanged();
  EXPECT_EQ(whole.right - whole.left, 100);
  EXPECT_EQ(whole.bottom - whole.top, 80);
  // A single pixel, and text, which the font writes row by row.
  const Image before = s.Snapshot();
  s.SetPixel(3, 70, RGB(1, 2, 3));
  s.ForeColor = RGB(255, 255, 255);
  TextOutA(s, 40, 30, "W", 1);
  const Surface::Box drawn = s.TakeChanged();
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) {
      if (s.Pixel(x, y) == before.pixels[std::size_t(y) * 100 + x]) continue;
      EXPECT_TRUE(x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom)
          << x << "," << y << " changed outside the box";
    }
  EXPECT_EQ(drawn.left, 3);
  EXPECT_EQ(drawn.bottom, 71);
}

}  // namespace
