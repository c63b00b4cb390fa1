// The block copy: each raster operation, clipping at every edge of both surfaces, and copies
// within one surface.
#include <gtest/gtest.h>

#include "platform/gdi.h"

namespace {

constexpr Colour kOld = RGB(1, 2, 3);

// A source whose every pixel tells where it came from.
Surface NumberedSource(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.SetPixel(x, y, RGB(x, y, 200));
  return s;
}

// Checks every pixel of dst: those in [x0, x1] x [y0, y1] came from source (x + dx, y + dy),
// all others kept kOld.
void ExpectCopied(const Surface& dst, int x0, int x1, int y0, int y1, int dx, int dy) {
  for (int y = 0; y < dst.Height(); ++y) {
    for (int x = 0; x < dst.Width(); ++x) {
      const bool inside = x >= x0 && x <= x1 && y >= y0 && y <= y1;
      const Colour want = inside ? RGB(x + dx, y + dy, 200) : kOld;
      ASSERT_EQ(dst.Pixel(x, y), want) << "at " << x << "," << y;
    }
  }
}

TEST(BitBltOps, EachOperationPerChannel) {
  Surface dst(1, 1), src(1, 1);
  dst.SetPixel(0, 0, RGB(0, 0, 255));
  src.SetPixel(0, 0, RGB(255, 0, 0));
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCPAINT);
  EXPECT_EQ(dst.Pixel(0, 0), RGB(255, 0, 255));

  dst.SetPixel(0, 0, RGB(255, 255, 0));
  src.SetPixel(0, 0, RGB(200, 100, 50));
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCAND);
  EXPECT_EQ(dst.Pixel(0, 0), RGB(200, 100, 0));

  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Pixel(0, 0), RGB(200, 100, 50));
}

TEST(BitBltOps, MaskedSpriteKeepsBackgroundUnderBlackMask) {
  Surface dst(2, 1, RGB(10, 20, 30)), mask(2, 1, RGB(0, 0, 0)), image(2, 1, RGB(255, 255, 255));
  mask.SetPixel(1, 0, RGB(255, 255, 255));
  image.SetPixel(1, 0, RGB(255, 255, 240));
  BitBlt(dst, 0, 0, 2, 1, mask, 0, 0, SRCPAINT);
  BitBlt(dst, 0, 0, 2, 1, image, 0, 0, SRCAND);
  EXPECT_EQ(dst.Pixel(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(dst.Pixel(1, 0), RGB(255, 255, 240));
}

TEST(BitBltClip, SourceAndDestinationBothCut) {
  Surface dst(100, 100, kOld);
  const Surface src = NumberedSource(64, 64);
  BitBlt(dst, 90, -5, 20, 20, src, 50, 50, SRCCOPY);
  ExpectCopied(dst, 90, 99, 0, 8, -40, 55);
}

TEST(BitBltClip, SourceCutAtEachEdgeLeavesDestination) {
  const Surface src = NumberedSource(8, 8);
  struct Case {
    int sx, sy, x0, x1, y0, y1;
  };
  // A 6 x 6 copy to (2, 2) of a 10 x 10 surface from four places overlapping each edge.
  for (const Case c : {Case{-3, 1, 5, 7, 2, 7}, Case{5, 1, 2, 4, 2, 7}, Case{1, -2, 2, 7, 4, 7},
                       Case{1, 4, 2, 7, 2, 5}}) {
    Surface dst(10, 10, kOld);
    BitBlt(dst, 2, 2, 6, 6, src, c.sx, c.sy, SRCCOPY);
    ExpectCopied(dst, c.x0, c.x1, c.y0, c.y1, c.sx - 2, c.sy - 2);
  }
}

TEST(BitBltClip, DestinationCutAtEachEdge) {
  const Surface src = NumberedSource(8, 8);
  struct Case {
    int x, y, x0, x1, y0, y1;
  };
  for (const Case c : {Case{-2, 1, 0, 1, 1, 4}, Case{3, 1, 3, 4, 1, 4}, Case{1, -3, 1, 4, 0, 0},
                       Case{1, 2, 1, 4, 2, 4}}) {
    Surface dst(5, 5, kOld);
    BitBlt(dst, c.x, c.y, 4, 4, src, 2, 2, SRCCOPY);
    ExpectCopied(dst, c.x0, c.x1, c.y0, c.y1, 2 - c.x, 2 - c.y);
  }
}

TEST(BitBltClip, NothingCopiedForEmptyOrOutsideSources) {
  const Surface src = NumberedSource(110, 20);
  Surface dst(20, 20, kOld);
  BitBlt(dst, 5, 0, 10, 20, src, -10, 0, SRCAND);             // a cell value of 0
  BitBlt(dst, 5, 0, 10, 20, src, (255 - 1) * 10, 0, SRCAND);  // the super cell
  BitBlt(dst, 0, 0, 0, 20, src, 0, 0, SRCCOPY);
  BitBlt(dst, 0, 0, 20, 0, src, 0, 0, SRCCOPY);
  BitBlt(dst, 2147483647, 0, 10, 10, src, 0, 0, SRCCOPY);
  BitBlt(dst, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1, 5, src, 0, 0, SRCCOPY);
  ExpectCopied(dst, 1, 0, 1, 0, 0, 0);
}

TEST(BitBltClip, NegativeSizeExtendsLeftAndUpOnBothSurfaces) {
  const Surface src = NumberedSource(8, 8);
  Surface dst(8, 8, kOld);
  BitBlt(dst, 5, 6, -2, -3, src, 4, 4, SRCCOPY);  // as (3, 3, 2, 3) from (2, 1)
  ExpectCopied(dst, 3, 4, 3, 5, -1, -2);
}

TEST(BitBltOverlap, SameSurfaceCopiesAsIfTakenOutFirst) {
  for (int shift : {-2, -1, 1, 2}) {
    Surface s = NumberedSource(6, 6);
    BitBlt(s, 1 + shift, 1 + shift, 4, 4, s, 1, 1, SRCCOPY);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        const int fx = x - shift, fy = y - shift;
        const bool moved = x >= 1 + shift && x < 5 + shift && y >= 1 + shift && y < 5 + shift;
        const Colour want = moved ? RGB(fx, fy, 200) : RGB(x, y, 200);
        ASSERT_EQ(s.Pixel(x, y), want) << shift << " at " << x << "," << y;
      }
    }
  }
}

TEST(BitBltOverlap, SameSurfaceOrInPlace) {
  Surface s(4, 1, RGB(0x10, 0, 0));
  s.SetPixel(0, 0, RGB(0x01, 0, 0));
  BitBlt(s, 1, 0, 3, 1, s, 0, 0, SRCPAINT);
  EXPECT_EQ(s.Pixel(1, 0), RGB(0x11, 0, 0));
  EXPECT_EQ(s.Pixel(2, 0), RGB(0x10, 0, 0));
}

TEST(BitBltGeneration, BumpedOnlyWhenPixelsWritten) {
  Surface dst(4, 4), src(4, 4);
  const auto before = dst.Generation();
  BitBlt(dst, 0, 0, 4, 4, src, 10, 10, SRCCOPY);
  EXPECT_EQ(dst.Generation(), before);
  BitBlt(dst, 0, 0, 4, 4, src, 0, 0, SRCCOPY);
  EXPECT_GT(dst.Generation(), before);
}

}  // namespace
