#include "platform/sdl/message_box_font.h"

#include "platform/font.h"

namespace {

constexpr int kBoxFontPixels = 15;  // 11 points

class GothicBoxText final : public BoxText {
 public:
  GothicBoxText() : font_(Font::Open(kGothicFontPath, kBoxFontPixels)) {}

  int Width(const std::string& utf8) override { return font_ ? font_->Width(utf8) : 0; }
  int LineHeight() override { return font_ ? font_->Height() : kBoxFontPixels; }
  void Draw(Surface& surface, int x, int y, const std::string& utf8, Colour colour) override {
    if (font_) font_->Draw(surface, x, y, utf8, colour);
  }

 private:
  std::shared_ptr<Font> font_;  // null without the font file: the box keeps its buttons
};

}  // namespace

std::unique_ptr<BoxText> OpenBoxFont() { return std::make_unique<GothicBoxText>(); }
