// The game background: the features that line up with the well, the NEXT box and the labels.
#include <gtest/gtest.h>

#include <cmath>

#include "picture_helpers.h"

namespace {

class GameBackground : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = BuiltInPicture("GameBackground");
    ASSERT_TRUE(picture_);
  }
  Colour At(int x, int y) const { return picture_->At(x, y); }
  int Lum(int x, int y) const { return Luminance(At(x, y)); }
  bool Violet(int x, int y) const {
    const Colour c = At(x, y);
    return BlueOf(c) > 180 && RedOf(c) > 100 && GreenOf(c) < RedOf(c) - 30;
  }

  ImagePtr picture_;
};

TEST_F(GameBackground, NextSlotIsGreyWithALighterCrossSplittingItsTwoCells) {
  for (int y = 15; y <= 54; ++y)
    for (int x = 230; x <= 249; ++x) {
      const bool cross = x == 239 || x == 240 || y == 34 || y == 35;
      ASSERT_EQ(At(x, y), cross ? RGB(80, 87, 80) : RGB(63, 63, 63)) << x << "," << y;
    }
}

TEST_F(GameBackground, NextSlotCastsATwoPixelBlackShadowRightAndDown) {
  for (int y = 17; y <= 56; ++y)
    for (int x = 250; x <= 251; ++x) EXPECT_EQ(At(x, y), kBlack) << x << "," << y;
  for (int y = 55; y <= 56; ++y)
    for (int x = 232; x <= 251; ++x) EXPECT_EQ(At(x, y), kBlack) << x << "," << y;
  // Not above or left of the slot, and no wider than two pixels.
  EXPECT_NE(At(229, 30), kBlack);
  EXPECT_NE(At(240, 14), kBlack);
  EXPECT_NE(At(252, 30), kBlack);
  EXPECT_NE(At(240, 57), kBlack);
}

TEST_F(GameBackground, WellPanelIsALighterBlueVioletRectangle) {
  for (int y = 50; y <= 349; y += 3) {
    EXPECT_GT(Lum(20, y), Lum(19, y) + 20) << y;
    EXPECT_GT(Lum(219, y), Lum(220, y) + 20) << y;
  }
  for (int x = 20; x <= 219; x += 3) {
    EXPECT_GT(Lum(x, 50), Lum(x, 49) + 20) << x;
    EXPECT_GT(Lum(x, 349), Lum(x, 350) + 20) << x;
  }
  const Colour middle = At(200, 100);
  EXPECT_GT(BlueOf(middle), RedOf(middle));
  EXPECT_GT(RedOf(middle), GreenOf(middle));
}

TEST_F(GameBackground, WellPanelCastsAThreePixelDarkShadow) {
  for (int y = 53; y <= 352; ++y)
    for (int x = 220; x <= 222; ++x) ASSERT_LT(Lum(x, y), Lum(224, y)) << x << "," << y;
  for (int x = 23; x <= 222; ++x)
    for (int y = 350; y <= 352; ++y) ASSERT_LT(Lum(x, y), Lum(x, 354)) << x << "," << y;
  // Three pixels, not four, and none above or left of the offset.
  EXPECT_GT(Lum(223, 200), Lum(222, 200));
  EXPECT_GT(Lum(100, 353), Lum(100, 352));
  EXPECT_GT(Lum(221, 51), Lum(221, 53));
}

TEST_F(GameBackground, VioletTrianglePointsLeftAtTheSlot) {
  int columnCount[7] = {};
  for (int x = 255; x <= 261; ++x)
    for (int y = 28; y <= 41; ++y) columnCount[x - 255] += Violet(x, y);
  for (int i = 1; i < 7; ++i) EXPECT_GE(columnCount[i], columnCount[i - 1]) << i;
  EXPECT_GE(columnCount[6], 12);
  EXPECT_LE(columnCount[0], 2);
  for (int y = 26; y <= 43; ++y) {
    EXPECT_FALSE(Violet(254, y)) << y;
    EXPECT_FALSE(Violet(262, y)) << y;
  }
  for (int x = 253; x <= 263; ++x) {
    EXPECT_FALSE(Violet(x, 27)) << x;
    EXPECT_FALSE(Violet(x, 42)) << x;
  }
}

TEST_F(GameBackground, TitleRunsDiagonallyAcrossThePanelAndStaysSubtle) {
  // Distance of a pixel from the panel's diagonal, top-left to bottom-right.
  auto distance = [](int x, int y) {
    return std::abs(300.0 * (x - 20) - 200.0 * (y - 50)) / std::hypot(300.0, 200.0);
  };
  int onDiagonal = 0;
  for (int y = 52; y <= 347; ++y)
    for (int x = 22; x <= 217; ++x) {
      // Lavender: clearly lighter than the plain panel just beside the panel's edge.
      const bool letter = Lum(x, y) > Lum(21, y) + 12 && BlueOf(At(x, y)) > RedOf(At(x, y));
      if (distance(x, y) > 50) {
        ASSERT_FALSE(letter) << x << "," << y;
      }
      onDiagonal += letter;
      ASSERT_LT(Lum(x, y), 160) << "too bright for digits drawn over it at " << x << "," << y;
    }
  EXPECT_GT(onDiagonal, 1500);
}

TEST_F(GameBackground, BackdropIsDarkWithNoLabelsOrNumbers) {
  for (int y = 60; y <= 340; ++y)
    for (int x = 226; x <= 379; ++x) {
      const Colour c = At(x, y);
      ASSERT_LT(Luminance(c), 70) << x << "," << y;
      ASSERT_GT(BlueOf(c), RedOf(c)) << x << "," << y;
    }
  for (int y = 353; y < 400; ++y)
    for (int x = 0; x < 380; ++x) ASSERT_LT(Lum(x, y), 70) << x << "," << y;
}

}  // namespace
