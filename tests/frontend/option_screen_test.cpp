// The option screen's pixels: title, rows with the pulsing highlight, values, help panel.
#include "frontend/option_screen.h"

#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/codepage.h"
#include "platform/gdi.h"

namespace {

constexpr Colour kBackdrop = RGB(0, 0, 255);
constexpr Colour kPanel = RGB(255, 255, 200);
constexpr Colour kBlack = RGB(0, 0, 0);
constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kHint = RGB(0, 200, 0);

class OptionScreenTest : public FrontendTest {
 protected:
  Surface& DrawMenu(int offsetX, int offsetY, int slideMode) {
    Fill(BackP(), kBackdrop);
    DrawOptionMenu(static_cast<std::int16_t>(offsetX), static_cast<std::int16_t>(offsetY),
                   static_cast<std::uint8_t>(slideMode));
    return BackP();
  }
  // Whole-white pixels of a value row compared with the text alone drawn where it belongs.
  bool ValueReads(int row, const std::string& text) {
    Surface reference(380, 400);
    reference.Font = BackP().Font;
    reference.FontSize = 12;
    reference.FontBold = BackP().FontBold;
    Fill(reference, kBackdrop);
    reference.ForeColor = kWhite;
    std::string cp932 = Utf8ToCp932(text);
    TextOutA(reference, 250, 60 + 30 * row, cp932.data(), static_cast<int>(cp932.size()));
    int drawn = 0;
    for (int y = 60 + 30 * row; y < 85 + 30 * row; ++y)
      for (int x = 240; x < 380; ++x) {
        bool expected = reference.Pixel(x, y) == kWhite;
        if (expected != (BackP().Pixel(x, y) == kWhite)) return false;
        drawn += expected;
      }
    return drawn > 0;
  }
};

TEST_F(OptionScreenTest, PulseValueOfTheSelectedRow) {
  EXPECT_EQ(OptionPulseValue(-40), 200);
  EXPECT_EQ(OptionPulseValue(0), 100);
  EXPECT_EQ(OptionPulseValue(90), 255);
  EXPECT_EQ(OptionPulseValue(180), 100);
  EXPECT_EQ(OptionPulseValue(270), 255);
}

TEST_F(OptionScreenTest, FrameAdvancesThePulseAndWrapsAt360) {
  OptPulseAngle = 355;
  DrawOptionFrame();
  EXPECT_EQ(OptPulseAngle, 0);
  OptPulseAngle = -45;
  DrawOptionFrame();
  EXPECT_EQ(OptPulseAngle, -40);
  // The frame reaches the screen whole: the panel shows on Main.
  EXPECT_EQ(Main().Pixel(367, 345), kPanel);
}

TEST_F(OptionScreenTest, TitleIsCentredWithItsShadowTwoPixelsDownRight) {
  Surface& menu = DrawMenu(0, 0, 1);
  constexpr Colour kTitle = RGB(150, 240, 255);
  // Ink extents of the text and of its shadow, which shows beyond the text's right and
  // bottom edges.
  int left = 380, right = -1, bottom = -1, shadowRight = -1, shadowBottom = -1, total = 0;
  for (int y = 15; y < 50; ++y)
    for (int x = 0; x < 380; ++x) {
      if (menu.Pixel(x, y) == kTitle) {
        left = std::min(left, x), right = std::max(right, x), bottom = std::max(bottom, y);
        ++total;
      } else if (menu.Pixel(x, y) == kBlack) {
        shadowRight = std::max(shadowRight, x), shadowBottom = std::max(shadowBottom, y);
      }
    }
  ASSERT_GT(total, 100);
  EXPECT_LE(std::abs((left + right) / 2 - 190), 2);
  EXPECT_NEAR(shadowRight, right + 2, 1);
  EXPECT_NEAR(shadowBottom, bottom + 2, 1);
  EXPECT_EQ(CountColour(menu, kTitle, 0, 0, 380, 18), 0);
}

TEST_F(OptionScreenTest, SelectedRowPulsesFromLightRedToWhite) {
  OptCursor = 1;
  const struct {
    std::int16_t before;
    int c;
  } cases[] = {{-45, 200}, {-5, 100}, {85, 255}};
  for (const auto& step : cases) {
    OptPulseAngle = step.before;
    DrawOptionFrame();
    const Surface& menu = BackP();
    EXPECT_GT(CountColour(menu, RGB(255, step.c, step.c), 20, 90, 240, 112), 20) << step.c;
    EXPECT_GT(CountColour(menu, RGB(255, 255, step.c), 250, 90, 380, 112), 5) << step.c;
    // Rows not selected stay white.
    EXPECT_GT(CountColour(menu, kWhite, 20, 60, 240, 82), 20);
    if (step.c < 255) {
      EXPECT_EQ(CountColour(menu, RGB(255, step.c, step.c), 20, 60, 240, 82), 0);
    }
  }
}

TEST_F(OptionScreenTest, ValuesReadAsTheSettingsStand) {
  OptCursor = 3;
  UserSettings = {0, 1, True};  // a music switch of 1 from the file counts as off
  DrawMenu(0, 0, 1);
  EXPECT_TRUE(ValueReads(0, "0 / Manual"));
  EXPECT_TRUE(ValueReads(1, "Off"));
  EXPECT_FALSE(ValueReads(1, "On"));
  EXPECT_TRUE(ValueReads(2, "On"));
  UserSettings.KeySense = 5;
  DrawMenu(0, 0, 1);
  EXPECT_TRUE(ValueReads(0, "5 / Auto"));
}

TEST_F(OptionScreenTest, StillPanelWithItsShadowFivePixelsOff) {
  Surface& menu = DrawMenu(0, 0, 1);
  EXPECT_EQ(menu.Pixel(367, 345), kPanel);
  EXPECT_EQ(menu.Pixel(372, 345), kBlack);  // shadow beside the panel
  EXPECT_EQ(menu.Pixel(200, 392), kBlack);  // shadow below it
  EXPECT_EQ(menu.Pixel(200, 396), kBackdrop);
  EXPECT_EQ(menu.Pixel(376, 345), kBackdrop);
  EXPECT_EQ(menu.Pixel(12, 392), kBackdrop);
}

TEST_F(OptionScreenTest, SlidingPanelsAndNoHelpText) {
  // Opening start: panel from the right, shadow above the picture, title below it.
  Surface& opening = DrawMenu(-200, -400, 0);
  EXPECT_EQ(opening.Pixel(300, 350), kPanel);
  EXPECT_EQ(opening.Pixel(205, 350), kBackdrop);
  EXPECT_EQ(CountColour(opening, kBlack, 0, 0, 380, 400), 0);
  EXPECT_EQ(CountColour(opening, RGB(150, 240, 255), 0, 0, 380, 400), 0);
  // Closing: the panel and its shadow sink together.
  Surface& closing = DrawMenu(-50, 40, 2);
  EXPECT_EQ(closing.Pixel(367, 385), kPanel);
  EXPECT_EQ(closing.Pixel(367, 339), kBackdrop);
  EXPECT_EQ(closing.Pixel(372, 390), kBlack);
  for (int cursor = 0; cursor < 4; ++cursor) {
    OptCursor = static_cast<std::uint8_t>(cursor);
    EXPECT_EQ(CountColour(DrawMenu(0, 0, 0), kHint, 0, 0, 380, 400), 0);
    EXPECT_EQ(CountColour(DrawMenu(0, 0, 2), kHint, 0, 0, 380, 400), 0);
  }
}

TEST_F(OptionScreenTest, EveryRowHasItsHeadingAndGreenHint) {
  for (int cursor = 0; cursor < 4; ++cursor) {
    OptCursor = static_cast<std::uint8_t>(cursor);
    Surface& menu = DrawMenu(0, 0, 1);
    EXPECT_GT(CountColour(menu, RGB(255, 150, 0), 15, 305, 370, 322), 20) << cursor;
    EXPECT_GT(CountColour(menu, kHint, 15, 370, 370, 388), 20) << cursor;
    int bodyBottom = cursor == 3 ? 340 : 370;
    EXPECT_GT(CountColour(menu, RGB(170, 170, 255), 15, 325, 370, bodyBottom), 20) << cursor;
    if (cursor == 3) {
      EXPECT_EQ(CountColour(menu, RGB(170, 170, 255), 15, 340, 370, 370), 0);
    }
  }
}

TEST_F(OptionScreenTest, ScreenshotsOfTheOpenScreen) {
  UserSettings = {3, True, False};
  OptPulseAngle = 40;
  for (int row = 0; row < 4; ++row) {
    OptCursor = static_cast<std::uint8_t>(row);
    DrawOptionFrame();
    SaveScreenshot(Main(), "option_screen_row" + std::to_string(row));
  }
}

}  // namespace
