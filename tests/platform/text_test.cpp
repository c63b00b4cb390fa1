// Text on surfaces: where glyphs land, in which colour, how wide text is, and what happens
// with nothing to draw.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/codepage.h"
#include "platform/font.h"
#include "platform/gdi.h"

namespace {

constexpr Colour kBack = RGB(10, 20, 30);

class Text : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kGothicFontPath)) GTEST_SKIP() << "no gothic font installed";
  }
  int Draw(Surface& s, int x, int y, const std::string& utf8) {
    const std::string bytes = Utf8ToCp932(utf8);
    return TextOutA(s, x, y, bytes.data(), int(bytes.size()));
  }
};

TEST_F(Text, GlyphLandsInsideItsCellInForeColor) {
  Surface s(60, 40, kBack);
  s.ForeColor = RGB(255, 150, 0);
  s.FontSize = 12;
  s.DrawMode = R2_MASKPEN;  // ignored by text
  ASSERT_EQ(Draw(s, 20, 10, "■"), 1);
  const auto font = Font::Open(kGothicFontPath, 16);
  ASSERT_TRUE(font);
  int full = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const Colour c = s.Pixel(x, y);
      if (c == kBack) continue;
      ASSERT_TRUE(x >= 20 && x < 20 + 16 && y >= 10 && y < 10 + font->Height()) << x << "," << y;
      // Partly covered pixels lie between the background and the colour, channel by channel.
      EXPECT_LE(RedOf(c), 255);
      EXPECT_GE(RedOf(c), RedOf(kBack));
      EXPECT_LE(BlueOf(c), BlueOf(kBack));
      if (c == s.ForeColor) ++full;
    }
  EXPECT_GT(full, 50);  // the square is solid
  // Nothing is painted behind the glyphs: the corners of the cell keep the background.
  EXPECT_EQ(s.Pixel(20, 10), kBack);
}

TEST_F(Text, BaselineSitsAtTheAscentBelowThePoint) {
  Surface s(40, 40, kBack);
  s.ForeColor = RGB(255, 255, 255);
  ASSERT_EQ(Draw(s, 0, 5, "H"), 1);
  const auto font = Font::Open(kGothicFontPath, 16);
  int highest = -1, lowest = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (s.Pixel(x, y) != kBack) {
        if (highest < 0) highest = y;
        lowest = y;
      }
  // The capital stands on the baseline (hinting may lift it a pixel) and reaches most of the
  // way up to the cell top.
  EXPECT_NEAR(lowest, 5 + font->Ascent() - 1, 1);
  EXPECT_GT(highest, 5);
  EXPECT_LT(highest, 5 + font->Ascent() / 2);
}

TEST_F(Text, WidthsOfAsciiAndJapanese) {
  Surface s(10, 10);
  s.FontSize = 12;
  // Fixed pitch: half a em for ASCII, a whole em for full-width characters.
  EXPECT_EQ(s.TextWidth("Key Sensitivity"), 15 * 8);
  EXPECT_EQ(s.TextWidth(Utf8ToCp932("終了しますか？")), 7 * 16);
  EXPECT_EQ(s.TextWidth(Utf8ToCp932("～ #Fumbo!2nd Option ～")), 2 * 16 + 19 * 8);
  s.FontSize = 16;
  EXPECT_EQ(s.TextWidth(Utf8ToCp932("終了しますか？")), 7 * 21);
  const float regular = s.TextWidth("On");
  s.FontBold = true;
  EXPECT_GT(s.TextWidth("On"), regular);
  s.FontSize = 11;
  EXPECT_EQ(PointsToPixels(s.FontSize), 15);
  s.FontSize = -3;  // no such font: nothing to measure
  EXPECT_EQ(s.TextWidth("On"), 0);
  EXPECT_EQ(s.TextWidth(""), 0);
}

TEST_F(Text, CountLimitsTheBytesDrawnAndEmptyDrawsNothing) {
  Surface whole(100, 20, kBack), part(100, 20, kBack), none(100, 20, kBack);
  TextOutA(whole, 0, 0, "AB", 1);
  TextOutA(part, 0, 0, "A", 1);
  EXPECT_EQ(whole.Snapshot().pixels, part.Snapshot().pixels);
  const auto before = none.Generation();
  TextOutA(none, 0, 0, "AB", 0);
  TextOutA(none, 0, 0, nullptr, 5);
  TextOutA(none, -1000000, 2000000000, "AB", 2);
  EXPECT_EQ(none.Generation(), before);
}

TEST_F(Text, ClippedAtEveryEdge) {
  for (const auto& [x, y] :
       {std::pair{-5, 0}, std::pair{0, -7}, std::pair{6, 0}, std::pair{0, 4}}) {
    Surface s(12, 12, kBack);
    Draw(s, x, y, "■");  // must stay inside the surface (the sanitizers watch)
    EXPECT_NE(s.Snapshot().pixels, Surface(12, 12, kBack).Snapshot().pixels);
  }
}

TEST(TextMissingFont, OneLineOnStandardErrorAndNoFont) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(Font::Open("/nonexistent/face.ttf", 16));
  EXPECT_FALSE(Font::Open("/nonexistent/face.ttf", 21));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("/nonexistent/face.ttf"), std::string::npos);
}

TEST(TextUtf8, DecodingMarksBrokenBytes) {
  EXPECT_EQ(DecodeUtf8("a～"), U"a～");
  EXPECT_EQ(DecodeUtf8("\xE3\x80"), U"\uFFFD\uFFFD");
  EXPECT_EQ(DecodeUtf8("\xFFx"), U"\uFFFDx");
}

}  // namespace
