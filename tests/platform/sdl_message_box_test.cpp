// The message box of the real back end, without a window: lines, layout, choice, picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/sdl/message_box_layout.h"

namespace {

// A stand-in font: ASCII 8 pixels, any other character 15; text drawn as a solid block.
class BlockText final : public BoxText {
 public:
  int Width(const std::string& utf8) override {
    int width = 0;
    for (unsigned char c : utf8) {
      if (c < 0x80) width += 8;
      if (c >= 0xC0) width += 15;  // a lead byte starts one wide character
    }
    return width;
  }
  int LineHeight() override { return 17; }
  void Draw(Surface& surface, int x, int y, const std::string& utf8, Colour colour) override {
    for (int row = y; row < y + LineHeight(); ++row)
      for (int col = x; col < x + Width(utf8); ++col)
        if (surface.Contains(col, row)) surface.SetPixel(col, row, colour);
  }
};

int Width(const std::string& s) { return BlockText().Width(s); }

bool IsWholeUtf8(const std::string& s) {
  return s.empty() || (static_cast<unsigned char>(s.front()) & 0xC0) != 0x80;
}

const std::string kExitText =
    "このバージョンは体験版ですので、まだまだ制作中です。\n"
    "この下の値を作者まで送っていただけると幸いです。\n"
    "詳しくはReadme.txtをお読み下さい。\n\nFPS = 20";

}  // namespace

TEST(MessageBoxLines, SplitAtLineFeedsKeepingEmptyLines) {
  auto lines = BreakLines(kExitText, 1000, Width);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "詳しくはReadme.txtをお読み下さい。");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "FPS = 20");
  EXPECT_EQ(BreakLines("a\r\nb\n", 1000, Width), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(BreakLines("", 1000, Width), (std::vector<std::string>{""}));
}

TEST(MessageBoxLines, LongLinesBreakBetweenCharactersToFit) {
  std::string line;
  for (int i = 0; i < 40; ++i) line += "終了";
  auto lines = BreakLines(line, 200, Width);
  ASSERT_GT(lines.size(), 1u);
  std::string joined;
  for (const auto& piece : lines) {
    EXPECT_LE(Width(piece), 200);
    EXPECT_TRUE(IsWholeUtf8(piece));
    joined += piece;
  }
  EXPECT_EQ(joined, line);
  // A character wider than the whole line still goes on a line of its own.
  EXPECT_EQ(BreakLines("終了", 5, Width), (std::vector<std::string>{"終", "了"}));
}

TEST(MessageBoxLayout, TextAndButtonsFitTheBox) {
  BlockText font;
  MessageBoxLayout box = LayOutMessageBox(kExitText, MsgBoxButtons::Ok, font, 1024);
  ASSERT_EQ(box.lines.size(), 5u);
  ASSERT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(box.buttons[0].answer, MsgBoxAnswer::Ok);
  int widest = 0;
  for (const auto& line : box.lines) widest = std::max(widest, font.Width(line));
  EXPECT_GE(box.width, box.textLeft + widest + box.textLeft);
  EXPECT_GE(box.stripTop, box.textTop + 5 * font.LineHeight());
  const BoxRect& ok = box.buttons[0].rect;
  EXPECT_GE(ok.top, box.stripTop);
  EXPECT_LE(ok.top + ok.height, box.height);
  EXPECT_LE(ok.left + ok.width, box.width);
}

TEST(MessageBoxLayout, QuestionHasYesThenNoSideBySide) {
  BlockText font;
  MessageBoxLayout box = LayOutMessageBox("終了しますか？", MsgBoxButtons::YesNo, font, 1024);
  ASSERT_EQ(box.buttons.size(), 2u);
  EXPECT_EQ(box.buttons[0].answer, MsgBoxAnswer::Yes);
  EXPECT_EQ(box.buttons[1].answer, MsgBoxAnswer::No);
  const BoxRect& yes = box.buttons[0].rect;
  const BoxRect& no = box.buttons[1].rect;
  EXPECT_LT(yes.left + yes.width, no.left);
  EXPECT_GE(yes.left, 0);
  EXPECT_LE(no.left + no.width, box.width);
  EXPECT_EQ(ButtonAt(box, yes.left, yes.top), 0);
  EXPECT_EQ(ButtonAt(box, no.left + no.width - 1, no.top + no.height - 1), 1);
  EXPECT_EQ(ButtonAt(box, no.left + no.width, no.top), -1);
  EXPECT_EQ(ButtonAt(box, 0, 0), -1);
}

TEST(MessageBoxLayout, AVeryLongTextStaysWithinTheScreen) {
  BlockText font;
  MessageBoxLayout box = LayOutMessageBox(std::string(5000, 'x'), MsgBoxButtons::Ok, font, 800);
  EXPECT_LE(box.width, 800);
  EXPECT_GT(box.lines.size(), 10u);
}

TEST(MessageBoxChoice, QuestionAnswersOnlyByAChoice) {
  MessageBoxChoice choice(MsgBoxButtons::YesNo);
  EXPECT_EQ(choice.Key(vbKeyReturn, 0, false), MsgBoxAnswer::Yes);  // the default button
  EXPECT_EQ(choice.Key(vbKeyEscape, 0, false), std::nullopt);
  EXPECT_EQ(choice.CloseRequest(), std::nullopt);
  EXPECT_EQ(choice.Key(vbKeyRight, 0, false), std::nullopt);
  EXPECT_EQ(choice.Focus(), 1);
  EXPECT_EQ(choice.Key(vbKeyReturn, 0, false), MsgBoxAnswer::No);
  EXPECT_EQ(choice.Key(vbKeyRight, 0, false), std::nullopt);  // wraps round to Yes
  EXPECT_EQ(choice.Focus(), 0);
  choice.Key(vbKeyLeft, 0, false);
  EXPECT_EQ(choice.Focus(), 1);
  choice.Key(9, 1, false);  // Shift+Tab goes back
  EXPECT_EQ(choice.Focus(), 0);
  choice.Key(9, 0, false);
  EXPECT_EQ(choice.Focus(), 1);
  EXPECT_EQ(choice.Key('Y', 0, false), MsgBoxAnswer::Yes);
  EXPECT_EQ(choice.Key('N', 0, false), MsgBoxAnswer::No);
}

TEST(MessageBoxChoice, AHeldEnterDoesNotAnswerButItsRepeatsStillMove) {
  MessageBoxChoice choice(MsgBoxButtons::YesNo);
  EXPECT_EQ(choice.Key(vbKeyReturn, 0, true), std::nullopt);
  choice.Key(vbKeyRight, 0, true);
  EXPECT_EQ(choice.Focus(), 1);
}

TEST(MessageBoxChoice, OkBoxTakesEnterEscapeAndItsCloseBox) {
  MessageBoxChoice choice(MsgBoxButtons::Ok);
  EXPECT_EQ(choice.Key(vbKeyEscape, 0, false), MsgBoxAnswer::Ok);
  EXPECT_EQ(choice.Key(vbKeyReturn, 0, false), MsgBoxAnswer::Ok);
  EXPECT_EQ(choice.Key('N', 0, false), std::nullopt);
  EXPECT_EQ(choice.CloseRequest(), MsgBoxAnswer::Ok);
  choice.Key(vbKeyRight, 0, false);
  EXPECT_EQ(choice.Focus(), 0);
}

TEST(MessageBoxChoice, AClickNeedsPressAndReleaseOnTheSameButton) {
  MessageBoxChoice choice(MsgBoxButtons::YesNo);
  choice.MouseDown(1);
  EXPECT_EQ(choice.Focus(), 1);
  EXPECT_EQ(choice.MouseUp(-1), std::nullopt);  // released beside it
  choice.MouseDown(0);
  EXPECT_EQ(choice.MouseUp(1), std::nullopt);  // slid to the other one
  choice.MouseDown(-1);
  EXPECT_EQ(choice.MouseUp(1), std::nullopt);
  choice.MouseDown(1);
  EXPECT_EQ(choice.MouseUp(1), MsgBoxAnswer::No);
}

TEST(MessageBoxPicture, TheButtonEnterPressesWearsTheDoubleFrame) {
  BlockText font;
  MessageBoxLayout box = LayOutMessageBox("終了しますか？", MsgBoxButtons::YesNo, font, 1024);
  MessageBoxChoice choice(MsgBoxButtons::YesNo);
  Surface picture(box.width, box.height);
  const std::uint64_t before = picture.Generation();
  DrawMessageBox(picture, box, choice, font);
  EXPECT_NE(picture.Generation(), before);  // so the window shows it
  const BoxRect& yes = box.buttons[0].rect;
  const BoxRect& no = box.buttons[1].rect;
  EXPECT_EQ(picture.Pixel(yes.left + 1, yes.top + 1), kButtonFocusBorder);
  EXPECT_EQ(picture.Pixel(no.left, no.top), kButtonBorder);
  EXPECT_EQ(picture.Pixel(no.left + 1, no.top + 1), kButtonFace);
  choice.Key(vbKeyRight, 0, false);
  DrawMessageBox(picture, box, choice, font);
  EXPECT_EQ(picture.Pixel(yes.left + 1, yes.top + 1), kButtonFace);
  EXPECT_EQ(picture.Pixel(no.left + 1, no.top + 1), kButtonFocusBorder);
  // The text lies in the white area, the strip below it is grey.
  EXPECT_EQ(picture.Pixel(box.textLeft, box.textTop), kBoxTextColour);
  EXPECT_EQ(picture.Pixel(box.textLeft - 1, box.textTop), kBoxTextArea);
  EXPECT_EQ(picture.Pixel(1, box.height - 2), kBoxStrip);
}
