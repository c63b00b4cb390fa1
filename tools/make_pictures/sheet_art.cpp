// The sprite sheets: digits, combo words and numbers, the game-over title and the labels.
#include <algorithm>
#include <array>

#include "artwork.h"
#include "lettering.h"

namespace {

// Pixels of a sheet whose letters are this faint are left transparent.
constexpr float kTransparentBelow = 0.12f;
constexpr Rgb kWhite{255, 255, 255};

void AddSheet(std::vector<NamedPicture>& out, const std::string& name, const Image& image) {
  out.push_back({name + "_0", image});
  out.push_back({name + "_1", MaskOf(image)});
}

// A row of the digits 0 to 9, one per cell, fitted to the same ink height and centred in
// their cells; everything painted for a digit stays inside its cell.
struct DigitRow {
  std::string font;
  int cellWidth = 10, cellHeight = 20;
  float inkTop = 2, inkHeight = 16, maxInkWidth = 7;
  Rgb matte = kWhite;
};

Image DrawDigitRow(const DigitRow& row, const std::function<LetterStyle(int digit)>& styleOf) {
  std::array<LargeText, 10> digits;
  int top = 1 << 30, bottom = 0;
  for (int d = 0; d < 10; ++d) {
    digits[d] = RenderLarge(row.font, std::string(1, char('0' + d)));
    top = std::min(top, digits[d].ink.top);
    bottom = std::max(bottom, digits[d].ink.bottom);
  }
  Canvas canvas(row.cellWidth * 10, row.cellHeight, row.matte);
  for (int d = 0; d < 10; ++d) {
    const Alpha glyph = FitText(digits[d], top, bottom, row.cellWidth, row.cellHeight, -1,
                                row.inkTop, row.inkHeight, row.maxInkWidth);
    LetterStyle style = styleOf(d);
    style.fillTop = row.inkTop;
    style.fillBottom = row.inkTop + row.inkHeight;
    PaintLetters(canvas, glyph, style, d * row.cellWidth, 0);
  }
  return canvas.ToImage(kTransparentBelow);
}

LetterStyle Outlined(Ramp fill, Rgb outline, float radius) {
  LetterStyle style;
  style.fill = std::move(fill);
  style.outline = outline;
  style.outlineRadius = radius;
  style.solidOutline = true;
  return style;
}

// The well digits: each its own colour, with an ivory outline that keeps them apart from the
// panel and from each other.
void AddWellDigits(std::vector<NamedPicture>& out) {
  static const std::array<Rgb, 10> kColours = {{{168, 172, 186},
                                                {40, 96, 255},
                                                {28, 184, 56},
                                                {240, 212, 0},
                                                {232, 28, 36},
                                                {228, 40, 212},
                                                {255, 128, 0},
                                                {140, 140, 20},
                                                {0, 150, 150},
                                                {150, 44, 24}}};
  const DigitRow row{fonts::kSansCondensedBold, 10, 20, 2, 16, 7, kWhite};
  const Image digits = DrawDigitRow(row, [](int d) {
    return Outlined(GlossRamp(kColours[d]), {255, 255, 240}, 1.15f);
  });
  out.push_back({"BlP_0", digits});
  // The mask: the glyph mask of band 0, then seven bands in ever darker greys for the fade.
  const Image glyphMask = MaskOf(digits);
  Image mask(110, 160, RGB(0, 0, 0));
  for (int band = 0; band < 8; ++band) {
    const int grey = 255 - 30 * band;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < glyphMask.width; ++x)
        if (glyphMask.At(x, y) == RGB(255, 255, 255))
          mask.At(x, 20 * band + y) = RGB(grey, grey, grey);
  }
  out.push_back({"BlP_1", mask});
}

void AddPanelDigits(std::vector<NamedPicture>& out) {
  const Rgb light{242, 242, 255};
  AddSheet(out, "FontP1", DrawDigitRow({fonts::kSerifBoldItalic, 15, 20, 2, 15, 12}, [&](int) {
             return Outlined(GlossRamp({96, 72, 236}), light, 1.15f);
           }));
  AddSheet(out, "FontP2", DrawDigitRow({fonts::kSerifBoldItalic, 15, 20, 2, 15, 12}, [&](int) {
             return Outlined(GlossRamp({24, 176, 64}), light, 1.15f);
           }));
  const Ramp blackToGrey{{{0, {16, 16, 20}}, {0.55f, {40, 40, 48}}, {1, {120, 120, 132}}}};
  AddSheet(out, "FontP3",
           DrawDigitRow({fonts::kSansCondensedBoldOblique, 10, 10, 1, 8, 6.5f}, [&](int) {
             return Outlined(blackToGrey, {236, 236, 236}, 1);
           }));
  const Ramp black{{{0, {24, 24, 32}}, {1, {24, 24, 32}}}};
  AddSheet(out, "FontP4", DrawDigitRow({fonts::kSansCondensed, 10, 20, 3, 14, 6.5f}, [&](int) {
             return Outlined(black, {228, 228, 240}, 1.15f);
           }));
  AddSheet(out, "FontP5", DrawDigitRow({fonts::kSerifBoldItalic, 20, 20, 2, 16, 16}, [&](int) {
             return Outlined(GlossRamp({150, 44, 204}), light, 1.15f);
           }));
}

// Grey metal letters with a dark outline and a drop shadow.
LetterStyle Metal(float top, float bottom, float outlineRadius) {
  LetterStyle style = Outlined(MetalRamp(), {28, 28, 38}, outlineRadius);
  style.solidOutline = false;
  style.fillTop = top;
  style.fillBottom = bottom;
  style.bevelStrength = 0.6f;
  style.shadowOpacity = 0.55f;
  style.shadowDx = 2;
  style.shadowDy = 2;
  style.shadowBlur = 1;
  return style;
}

void AddComboWord(std::vector<NamedPicture>& out) {
  Canvas canvas(120, 40, kPanelMiddle);
  const LargeText word = RenderLarge(fonts::kSerifBoldItalic, "Combo!");
  const Alpha glyph = FitText(word, 120, 40, -1, 5, 27, 110);
  PaintLetters(canvas, glyph, Metal(5, 32, 1.6f));
  AddSheet(out, "CmbP", canvas.ToImage(kTransparentBelow));
}

void AddComboNumbers(std::vector<NamedPicture>& out) {
  static const std::array<Rgb, 6> kFirst = {{{48, 104, 255},
                                             {36, 196, 64},
                                             {236, 40, 36},
                                             {255, 116, 188},
                                             {255, 144, 24},
                                             {24, 212, 236}}};
  const Rgb oliveGold{206, 172, 36};
  Canvas canvas(300, 240, kPanelMiddle);
  // The same ink rows for every number, so they all stand on one baseline.
  std::array<LargeText, 20> numbers;
  int top = 1 << 30, bottom = 0;
  for (int c = 1; c <= 20; ++c) {
    numbers[c - 1] = RenderLarge(fonts::kSansBoldOblique, std::to_string(c));
    top = std::min(top, numbers[c - 1].ink.top);
    bottom = std::max(bottom, numbers[c - 1].ink.bottom);
  }
  for (int c = 1; c <= 20; ++c) {
    const Rgb colour = c <= 6 ? kFirst[c - 1] : oliveGold;
    const bool up = c == 20;
    const float inkHeight = up ? 32 : c >= 10 ? 36 : 40;
    const float inkTop = up ? 4 : (60 - inkHeight) / 2 - 1;
    const Alpha glyph = FitText(numbers[c - 1], top, bottom, 60, 60, -1, inkTop, inkHeight, 46);
    LetterStyle style = Outlined(GlossRamp(colour), {24, 16, 40}, 1.8f);
    style.solidOutline = false;
    style.fillTop = inkTop;
    style.fillBottom = inkTop + inkHeight;
    style.bevelStrength = 0.7f;
    style.shadowOpacity = 0.5f;
    style.shadowDx = 2;
    style.shadowDy = 2;
    style.shadowBlur = 1;
    const int x = ((c - 1) % 5) * 60, y = ((c - 1) / 5) * 60;
    PaintLetters(canvas, glyph, style, x, y);
    if (up) {
      const LargeText word = RenderLarge(fonts::kSansBold, "UP");
      const Alpha small = FitText(word, 60, 60, -1, 43, 12, 40);
      LetterStyle upStyle = Outlined(GlossRamp({255, 64, 48}), {255, 250, 235}, 1.2f);
      upStyle.fillTop = 43;
      upStyle.fillBottom = 55;
      PaintLetters(canvas, small, upStyle, x, y);
    }
  }
  AddSheet(out, "CmbNP", canvas.ToImage(kTransparentBelow));
}

void AddGameOver(std::vector<NamedPicture>& out) {
  Canvas canvas(260, 50, {0, 0, 0});
  const LargeText words = RenderLarge(fonts::kSerifBold, "Game Over");
  const Alpha glyph = FitText(words, 260, 50, -1, 8, 32, 244);
  LetterStyle style = Metal(8, 40, 1.6f);
  // On black the shadow becomes a violet glow.
  style.shadow = {128, 88, 255};
  style.shadowOpacity = 0.8f;
  style.shadowDx = 0;
  style.shadowDy = 0;
  style.shadowBlur = 2;
  PaintLetters(canvas, glyph, style);
  AddSheet(out, "GameOverP", canvas.ToImage(kTransparentBelow));
}

// The panel labels: dark-blue italic letters with a light outline, all on one baseline and
// within the first 95 columns of their 140-column pictures: the NEXT label is shown through a
// 100-column copy that starts 5 columns left of it.
void AddCaptions(std::vector<NamedPicture>& out) {
  static const std::array<const char*, 6> kLabels = {"Level.",    "Sum.",         "MaxCombo.",
                                                     "SP Block.", "Fumbo Gauge.", "NEXT Block."};
  std::array<LargeText, 6> texts;
  int top = 1 << 30, bottom = 0;
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    texts[i] = RenderLarge(fonts::kSerifBoldItalic, kLabels[i]);
    top = std::min(top, texts[i].ink.top);
    bottom = std::max(bottom, texts[i].ink.bottom);
  }
  const Ramp darkBlue{{{0, {44, 64, 196}}, {1, {12, 24, 112}}}};
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    Canvas canvas(140, 20, kWhite);
    const Alpha glyph = FitText(texts[i], top, bottom, 100, 20, 1, 2, 16, 91);
    LetterStyle style = Outlined(darkBlue, {238, 240, 255}, 1.15f);
    style.fillTop = 2;
    style.fillBottom = 18;
    PaintLetters(canvas, glyph, style);
    AddSheet(out, "Caption" + std::to_string(i + 1), canvas.ToImage(kTransparentBelow));
  }
}

}  // namespace

std::vector<NamedPicture> DrawSheets() {
  std::vector<NamedPicture> out;
  AddWellDigits(out);
  AddPanelDigits(out);
  AddComboWord(out);
  AddComboNumbers(out);
  AddGameOver(out);
  AddCaptions(out);
  return out;
}
