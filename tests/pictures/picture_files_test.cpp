// The built-in pictures: their sizes, their format, and masks that follow their images.
#include <gtest/gtest.h>

#include <cstdint>

#include "gameplay/sprites.h"
#include "picture_helpers.h"
#include "platform/gdi.h"

namespace {

struct PictureSize {
  const char* name;
  int width, height;
};

const PictureSize kPictureSizes[] = {
    {"GameBackground", 380, 400}, {"OptionBackground", 380, 400},
    {"SplashBanner", 200, 70},    {"Icon", 32, 32},
    {"BlP_0", 100, 20},           {"BlP_1", 110, 160},
    {"FontP1_0", 150, 20},        {"FontP1_1", 150, 20},
    {"FontP2_0", 150, 20},        {"FontP2_1", 150, 20},
    {"FontP3_0", 100, 10},        {"FontP3_1", 100, 10},
    {"FontP4_0", 100, 20},        {"FontP4_1", 100, 20},
    {"FontP5_0", 200, 20},        {"FontP5_1", 200, 20},
    {"CmbP_0", 120, 40},          {"CmbP_1", 120, 40},
    {"CmbNP_0", 300, 240},        {"CmbNP_1", 300, 240},
    {"GameOverP_0", 260, 50},     {"GameOverP_1", 260, 50},
    {"Caption1_0", 140, 20},      {"Caption1_1", 140, 20},
    {"Caption2_0", 140, 20},      {"Caption2_1", 140, 20},
    {"Caption3_0", 140, 20},      {"Caption3_1", 140, 20},
    {"Caption4_0", 140, 20},      {"Caption4_1", 140, 20},
    {"Caption5_0", 140, 20},      {"Caption5_1", 140, 20},
    {"Caption6_0", 140, 20},      {"Caption6_1", 140, 20},
};

TEST(PictureFiles, EveryPictureIsA24BitBmpOfItsSize) {
  for (const PictureSize& expected : kPictureSizes) {
    SCOPED_TRACE(expected.name);
    const auto bytes = PictureResource(expected.name);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24);
    const ImagePtr picture = LoadBmp(bytes);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, expected.width);
    EXPECT_EQ(picture->height, expected.height);
  }
}

TEST(PictureFiles, EveryMaskIsWhiteExactlyWhereItsImageIsNotPureWhite) {
  ResetSurfaces();
  for (const SheetLayout& layout : kSheets) {
    SCOPED_TRACE(layout.name);
    Sheet& sheet = layout.sheet();
    ASSERT_EQ(sheet.image.Width(), sheet.mask.Width());
    for (int y = 0; y < sheet.image.Height(); ++y)
      for (int x = 0; x < sheet.image.Width(); ++x)
        ASSERT_EQ(sheet.mask.Pixel(x, y), sheet.image.Pixel(x, y) == kWhite ? kBlack : kWhite)
            << "at " << x << "," << y;
  }
}

TEST(PictureFiles, NearWhiteOutlinesAreOpaque) {
  // The ivory outline of the well digits is drawn, so it must be in the image and the mask.
  ResetSurfaces();
  int ivory = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x)
      if (BlP().image.Pixel(x, y) == RGB(255, 255, 240)) {
        ++ivory;
        EXPECT_EQ(BlP().mask.Pixel(x, y), kWhite);
      }
  EXPECT_GT(ivory, 100);
}

TEST(PictureFiles, BlPMaskBandsDarkenTheGlyphMaskStepByStep) {
  ResetSurfaces();
  const Surface& mask = BlP().mask;
  ASSERT_EQ(mask.Height(), 20 * kFadeBands);
  for (int band = 0; band < kFadeBands; ++band) {
    const int grey = FadeBandGrey(band);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 110; ++x) {
        const Colour expected = mask.Pixel(x, y) == kWhite ? RGB(grey, grey, grey) : kBlack;
        ASSERT_EQ(mask.Pixel(x, 20 * band + y), expected)
            << "band " << band << " at " << x << "," << y;
      }
  }
  EXPECT_EQ(FadeBandGrey(7), 45);
  // The blank columns 100-109 are black in every band.
  for (int y = 0; y < 160; ++y)
    for (int x = 100; x < 110; ++x) ASSERT_EQ(mask.Pixel(x, y), kBlack);
}

TEST(PictureFiles, CaptionLettersStayWithinTheFirstHundredColumns) {
  for (int i = 1; i <= 6; ++i) {
    const ImagePtr picture = BuiltInPicture("Caption" + std::to_string(i) + "_0");
    ASSERT_TRUE(picture);
    int inkInside = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 100; ++x) inkInside += picture->At(x, y) != kWhite;
      for (int x = 100; x < 140; ++x) ASSERT_EQ(picture->At(x, y), kWhite) << i;
    }
    EXPECT_GT(inkInside, 100) << i;
  }
}

TEST(PictureFiles, NextLabelFitsTheRegionCopiedToTheScreen) {
  // The label is drawn at x 270 but reaches the screen through the copy of x 265 to 364.
  const ImagePtr picture = BuiltInPicture("Caption6_0");
  ASSERT_TRUE(picture);
  for (int y = 0; y < 20; ++y)
    for (int x = 95; x < 140; ++x) ASSERT_EQ(picture->At(x, y), kWhite) << x << "," << y;
}

TEST(PictureFiles, ACaptionBlittedAHundredWideNeverShowsColumnsBeyond) {
  ResetSurfaces();
  ASSERT_EQ(Caption5().image.Width(), 100);
  Surface target(300, 40, RGB(10, 20, 30));
  // Even a copy asking for all 140 columns stops at the 100-column box.
  DrawMaskedSprite(target, 50, 10, 140, 20, Caption5(), 0, 0);
  for (int y = 0; y < 40; ++y)
    for (int x = 150; x < 300; ++x) ASSERT_EQ(target.Pixel(x, y), RGB(10, 20, 30));
  int changed = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 50; x < 150; ++x) changed += target.Pixel(x, y) != RGB(10, 20, 30);
  EXPECT_GT(changed, 100);
}

}  // namespace
