// The option screen's pixels: title, rows with the pulsing highlight, values, help panel.
#include "frontend/option_screen.h"

#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "platform/codepage.h"
#include "platform/gdi.h"

namespace {

constexpr Colour kBackdrop = RGB(0, 0, 255), kPanel = RGB(255, 255, 200), kBlack = RGB(0, 0, 0),
                 kWhite = RGB(255, 255, 255), kHint = RGB(0, 200, 0);

class OptionScreenTest : public FrontendTest {
 protected:
  Surface& Menu(int offsetX, int offsetY, int slideMode) {
    Fill(BackP(), kBackdrop);
    DrawOptionMenu(std::int16_t(offsetX), std::int16_t(offsetY), std::uint8_t(slideMode));
    return BackP();
  }
  // The white pixels of a value row are those of the text drawn alone in its place.
  bool ValueReads(int row, const std::string& text) {
    Surface alone(380, 400);
    alone.FontBold = BackP().FontBold;
    Fill(alone, kBackdrop);
    alone.ForeColor = kWhite;
    TextOutA(alone, 250, 60 + 30 * row, text.data(), int(text.size()));
    int drawn = 0;
    for (int y = 60 + 30 * row; y < 85 + 30 * row; ++y)
      for (int x = 240; x < 380; ++x) {
        bool white = alone.Pixel(x, y) == kWhite;
        if (white != (BackP().Pixel(x, y) == kWhite)) return false;
        drawn += white;
      }
    return drawn > 0;
  }
};

TEST_F(OptionScreenTest, TitleIsCentredWithItsShadowTwoPixelsOff) {
  Surface& menu = Menu(0, 0, 1);
  constexpr Colour kTitle = RGB(150, 240, 255);
  int left = 380, right = -1, bottom = -1, shadowRight = -1, shadowBottom = -1;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 380; ++x) {
      if (menu.Pixel(x, y) == kTitle)
        left = std::min(left, x), right = std::max(right, x), bottom = std::max(bottom, y);
      if (menu.Pixel(x, y) == kBlack)
        shadowRight = std::max(shadowRight, x), shadowBottom = std::max(shadowBottom, y);
    }
  ASSERT_GT(right - left, 150);
  EXPECT_GT(left, 10);  // not clipped at the sides
  EXPECT_LE(std::abs((left + right) / 2 - 190), 2);
  EXPECT_NEAR(shadowRight, right + 2, 1);
  EXPECT_NEAR(shadowBottom, bottom + 2, 1);
}

TEST_F(OptionScreenTest, SelectedRowPulsesAtEachFrame) {
  OptCursor = 1;
  for (auto [before, c] : {std::pair{-45, 200}, {-5, 100}, {85, 255}, {355, 100}}) {
    OptPulseAngle = std::int16_t(before);
    DrawOptionFrame();
    EXPECT_EQ(OptPulseAngle, (before + 5) % 360);
    EXPECT_GT(CountColour(Main(), RGB(255, c, c), 20, 90, 240, 112), 20) << c;
    EXPECT_GT(CountColour(Main(), RGB(255, 255, c), 250, 90, 380, 112), 5) << c;
    EXPECT_GT(CountColour(Main(), kWhite, 20, 60, 240, 82), 20);  // row 0 stays white
  }
}

TEST_F(OptionScreenTest, ValuesReadAsTheSettingsStand) {
  OptCursor = 3;
  UserSettings = {0, 1, True};  // a music switch of 1 from the file counts as off
  Menu(0, 0, 1);
  EXPECT_TRUE(ValueReads(0, "0 / Manual"));
  EXPECT_TRUE(ValueReads(1, "Off"));
  EXPECT_FALSE(ValueReads(1, "On"));
  EXPECT_TRUE(ValueReads(2, "On"));
  UserSettings.KeySense = 5;
  Menu(0, 0, 1);
  EXPECT_TRUE(ValueReads(0, "5 / Auto"));
}

TEST_F(OptionScreenTest, HelpPanelAndItsShadowInEachSlideMode) {
  Surface& still = Menu(0, 0, 1);
  EXPECT_EQ(still.Pixel(367, 345), kPanel);
  EXPECT_EQ(still.Pixel(372, 345), kBlack);
  EXPECT_EQ(still.Pixel(200, 392), kBlack);
  EXPECT_EQ(still.Pixel(376, 345), kBackdrop);
  // Opening start: the panel far right, its shadow and the title off the picture.
  Surface& opening = Menu(-200, -400, 0);
  EXPECT_EQ(opening.Pixel(300, 350), kPanel);
  EXPECT_EQ(opening.Pixel(205, 350), kBackdrop);
  EXPECT_EQ(CountColour(opening, kBlack, 0, 0, 380, 400), 0);
  // Closing: the panel and its shadow sink together.
  Surface& closing = Menu(-50, 40, 2);
  EXPECT_EQ(closing.Pixel(367, 385), kPanel);
  EXPECT_EQ(closing.Pixel(367, 339), kBackdrop);
  EXPECT_EQ(closing.Pixel(372, 390), kBlack);
}

TEST_F(OptionScreenTest, EachRowHasItsHelpOnlyWhenStill) {
  UserSettings = {3, True, False};
  OptPulseAngle = 40;
  for (int row = 0; row < 4; ++row) {
    OptCursor = std::uint8_t(row);
    Surface& menu = Menu(0, 0, 1);
    EXPECT_GT(CountColour(menu, RGB(255, 150, 0), 15, 305, 370, 322), 20) << row;
    EXPECT_GT(CountColour(menu, RGB(170, 170, 255), 15, 325, 370, 340), 20) << row;
    EXPECT_EQ(CountColour(menu, RGB(170, 170, 255), 15, 340, 370, 370) > 0, row < 3) << row;
    EXPECT_GT(CountColour(menu, kHint, 15, 370, 370, 388), 20) << row;
    EXPECT_EQ(CountColour(Menu(0, 0, 0), kHint, 0, 0, 380, 400), 0);
    EXPECT_EQ(CountColour(Menu(0, 0, 2), kHint, 0, 0, 380, 400), 0);
    DrawOptionFrame();
    SaveScreenshot(Main(), "option_screen_row" + std::to_string(row));
  }
}

}  // namespace
