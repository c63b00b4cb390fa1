// The surfaces of the windows: sizes, pictures and start state.
#include <gtest/gtest.h>

#include "gameplay/sprites.h"
#include "picture_helpers.h"
#include "platform/gdi.h"

namespace {

bool ShowsPicture(const Surface& surface, const std::string& name) {
  const ImagePtr picture = BuiltInPicture(name);
  if (!picture) return false;
  for (int y = 0; y < std::min(surface.Height(), picture->height); ++y)
    for (int x = 0; x < std::min(surface.Width(), picture->width); ++x)
      if (surface.Pixel(x, y) != picture->At(x, y)) return false;
  return true;
}

bool AllWhite(const Surface& surface) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x)
      if (surface.Pixel(x, y) != kWhite) return false;
  return true;
}

TEST(Surfaces, MainAndBackPSubStartWithoutAPicture) {
  ResetSurfaces();
  for (Surface* surface : {&Main(), &BackPSub()}) {
    EXPECT_EQ(surface->Width(), 380);
    EXPECT_EQ(surface->Height(), 400);
    EXPECT_FALSE(surface->Picture());
    EXPECT_TRUE(AllWhite(*surface));
    EXPECT_EQ(surface->BackColor, kWhite);
    EXPECT_EQ(surface->ForeColor, kBlack);
  }
}

TEST(Surfaces, BackPHoldsTheGameBackgroundAndItsDrawingState) {
  ResetSurfaces();
  Surface& backP = BackP();
  EXPECT_TRUE(ShowsPicture(backP, "GameBackground"));
  EXPECT_EQ(backP.FillStyle, 1);
  EXPECT_EQ(backP.DrawMode, 13);
  EXPECT_EQ(backP.Font, FontFace::Gothic);
  EXPECT_EQ(backP.FontSize, 12);
  EXPECT_TRUE(backP.FontBold);
  EXPECT_EQ(GameBackgroundPicture(), backP.Picture());
  EXPECT_TRUE(ShowsPicture(OptBackP(), "OptionBackground"));
}

TEST(Surfaces, SheetBoxesHaveTheirTableSizes) {
  ResetSurfaces();
  EXPECT_EQ(BlP().image.Width(), 110);
  EXPECT_EQ(BlP().image.Height(), 20);
  EXPECT_EQ(BlP().mask.Width(), 110);
  EXPECT_EQ(BlP().mask.Height(), 160);
  // The 100-column digit picture leaves the box's last columns in the white background.
  for (int y = 0; y < 20; ++y)
    for (int x = 100; x < 110; ++x) EXPECT_EQ(BlP().image.Pixel(x, y), kWhite);
  for (const SheetLayout& layout : kSheets) {
    SCOPED_TRACE(layout.name);
    if (std::string(layout.name) == "BlP") continue;
    const Sheet& sheet = layout.sheet();
    EXPECT_EQ(sheet.image.Width(), layout.cellWidth * layout.across);
    EXPECT_EQ(sheet.image.Height(), layout.cellHeight * layout.down);
    EXPECT_EQ(sheet.mask.Width(), sheet.image.Width());
    EXPECT_EQ(sheet.mask.Height(), sheet.image.Height());
    EXPECT_TRUE(ShowsPicture(sheet.image, std::string(layout.name) + "_0"));
    EXPECT_TRUE(ShowsPicture(sheet.mask, std::string(layout.name) + "_1"));
  }
}

TEST(Surfaces, ThePictureStoreKeepsWhatIsDrawnUntilReset) {
  ResetSurfaces();
  BackPSub().SetPicture(GameBackgroundPicture());
  BitBlt(BackP(), 0, 0, 10, 10, Main(), 0, 0, SRCCOPY);
  BlP();  // another member of the store is used: nothing is made afresh
  EXPECT_EQ(BackP().Pixel(5, 5), kWhite);
  EXPECT_TRUE(ShowsPicture(BackPSub(), "GameBackground"));
  BackPSub().Cls();
  EXPECT_TRUE(ShowsPicture(BackPSub(), "GameBackground"));
  ResetSurfaces();
  EXPECT_NE(BackP().Pixel(5, 5), kWhite);
  EXPECT_FALSE(BackPSub().Picture());
}

TEST(Surfaces, SplashPicturesComeAndGoWithTheSplashWindow) {
  ResetSurfaces();
  EXPECT_EQ(AD(0).Width(), 200);
  EXPECT_EQ(AD(0).Height(), 70);
  EXPECT_TRUE(AllWhite(AD(0)));
  EXPECT_TRUE(ShowsPicture(AD(1), "SplashBanner"));
  AD(1).SetPixel(3, 3, kBlack);
  AD(1).Cls();
  EXPECT_TRUE(ShowsPicture(AD(1), "SplashBanner"));
  AD(0).SetPixel(3, 3, kBlack);
  UnloadAD();
  EXPECT_TRUE(AllWhite(AD(0)));
}

TEST(Surfaces, IconIsThirtyTwoSquare) {
  const ImagePtr icon = IconPicture();
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->width, 32);
  EXPECT_EQ(icon->height, 32);
}

}  // namespace
