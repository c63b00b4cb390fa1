// BMP pictures: round trips, the layouts we read, and damaged files that must be refused
// without reading past their end.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Image Gradient(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = RGB(x * 40, y * 60, 255 - x - y);
  return image;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// A 32-bit picture by hand, top-down when asked, with optional bit-field masks.
Bytes Bmp32(const Image& image, bool topDown, bool bitFields) {
  const std::uint32_t offset = 14 + 40 + (bitFields ? 12 : 0);
  Bytes b(offset + 4 * image.pixels.size(), 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, std::uint32_t(b.size()));
  Put32(b, 10, offset);
  Put32(b, 14, 40);
  Put32(b, 18, std::uint32_t(image.width));
  Put32(b, 22, std::uint32_t(topDown ? -image.height : image.height));
  b[26] = 1;
  b[28] = 32;
  Put32(b, 30, bitFields ? 3 : 0);
  if (bitFields) {
    Put32(b, 54, 0x00FF0000);
    Put32(b, 58, 0x0000FF00);
    Put32(b, 62, 0x000000FF);
  }
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const int fileRow = topDown ? y : image.height - 1 - y;
      Put32(b, offset + 4 * (std::size_t(fileRow) * image.width + x),
            0xFF000000u | image.At(x, y));  // alpha is ignored
    }
  return b;
}

TEST(BmpRoundTrip, TwentyFourBitWithRowPadding) {
  for (int w : {1, 2, 3, 4, 5}) {
    const Image image = Gradient(w, 3);
    const Bytes bytes = EncodeBmp(image);
    EXPECT_EQ(bytes.size(), 54u + 3 * ((3u * w + 3) / 4 * 4));
    std::string error;
    const ImagePtr back = LoadBmp(bytes, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->width, w);
    EXPECT_EQ(back->pixels, image.pixels);
  }
}

TEST(BmpRoundTrip, ThroughAFile) {
  const Image image = Gradient(5, 4);
  const std::string path = (std::filesystem::temp_directory_path() / "fumbo_bmp_test.bmp").string();
  ASSERT_TRUE(SaveBmpFile(image, path));
  const ImagePtr back = LoadBmpFile(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixels, image.pixels);
  std::string error;
  EXPECT_FALSE(SaveBmpFile(Image(), path, &error));  // nothing to write: no file either
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(LoadBmpFile("/nonexistent/picture.bmp", &error));
  EXPECT_NE(error.find("/nonexistent/picture.bmp"), std::string::npos);
}

TEST(BmpLayouts, ThirtyTwoBitBottomUpTopDownAndBitFields) {
  const Image image = Gradient(3, 2);
  for (bool topDown : {false, true})
    for (bool bitFields : {false, true}) {
      const ImagePtr back = LoadBmp(Bmp32(image, topDown, bitFields));
      ASSERT_TRUE(back) << topDown << bitFields;
      EXPECT_EQ(back->pixels, image.pixels) << topDown << bitFields;
    }
}

TEST(BmpDamaged, EveryTruncationIsRefused) {
  const Bytes good = EncodeBmp(Gradient(3, 3));
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + std::ptrdiff_t(n));
    std::string error;
    EXPECT_FALSE(LoadBmp(cut, &error)) << n;
    EXPECT_FALSE(error.empty());
  }
}

TEST(BmpDamaged, LyingHeadersAreRefused) {
  const Bytes good = EncodeBmp(Gradient(2, 2));
  struct Lie {
    std::size_t at;
    std::uint32_t value;
  };
  for (const Lie lie : {Lie{10, 0xFFFFFFF0u},  // pixels past the end
                        Lie{14, 8},            // header too short
                        Lie{18, 0},            // no width
                        Lie{18, 0x80000000u},  // negative width
                        Lie{22, 0x80000000u},  // the most negative height
                        Lie{22, 0},            // no height
                        Lie{18, 0x10000},      // wider than the bytes
                        Lie{30, 1}}) {         // run-length compressed
    Bytes bad = good;
    Put32(bad, lie.at, lie.value);
    EXPECT_FALSE(LoadBmp(bad)) << lie.at;
  }
  Bytes eightBit = good;
  eightBit[28] = 8;
  EXPECT_FALSE(LoadBmp(eightBit));
  Bytes notBmp = good;
  notBmp[0] = 'X';
  EXPECT_FALSE(LoadBmp(notBmp));
}

TEST(BmpDamaged, RandomBytesAfterAGoodHeaderNeverCrash) {
  const Bytes good = EncodeBmp(Gradient(4, 4));
  std::uint32_t seed = 12345;
  for (int round = 0; round < 2000; ++round) {
    Bytes bad = good;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1103515245u + 12345u;
      bad[(seed >> 8) % 54] = std::uint8_t(seed >> 24);
    }
    LoadBmp(bad);  // must not read out of bounds (the sanitizers watch)
  }
}

}  // namespace
