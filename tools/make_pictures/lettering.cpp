#include "lettering.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/font.h"

Alpha FitText(const LargeText& text, int top, int bottom, int width, int height, float x, float y,
              float inkHeight, float maxWidth) {
  Box src{text.ink.left, top, text.ink.right, bottom};
  const float scale = inkHeight / float(std::max(1, bottom - top));
  const float w = std::min(maxWidth, text.ink.Width() * scale);
  if (x < 0) x = std::round((width - w) / 2);
  return Resample(text.alpha, src, width, height, x, y, w, inkHeight);
}

Alpha FitText(const LargeText& text, int width, int height, float x, float y, float inkHeight,
              float maxWidth) {
  return FitText(text, text.ink.top, text.ink.bottom, width, height, x, y, inkHeight, maxWidth);
}

void PaintLetters(Canvas& canvas, const Alpha& glyph, const LetterStyle& style, int ox, int oy) {
  // A firm outline: partly covered rim pixels count more, so the edge stays crisp.
  const Alpha body = style.outlineRadius > 0 ? Multiply(Dilate(glyph, style.outlineRadius),
                                                        style.solidOutline ? 4 : 1.6f)
                                             : glyph;
  if (style.shadowOpacity > 0) {
    Alpha shadow = Shifted(body, style.shadowDx, style.shadowDy);
    if (style.shadowBlur > 0) shadow = Blur(shadow, style.shadowBlur);
    canvas.Paint(Multiply(shadow, style.shadowOpacity), style.shadow, ox, oy);
  }
  if (style.outlineRadius > 0) canvas.Paint(body, style.outline, ox, oy);
  const float span = std::max(1e-3f, style.fillBottom - style.fillTop);
  canvas.Paint(
      glyph, [&](int, int y) { return style.fill.At((y - oy - style.fillTop) / span); }, ox, oy);
  if (style.bevelStrength > 0) {
    // The part of each letter not covered by itself moved one pixel down: its upper rim.
    const Alpha rim = Multiply(Subtract(glyph, Shifted(glyph, 0, 1)), style.bevelStrength);
    canvas.Paint(rim, style.bevel, ox, oy);
  }
}

Ramp MetalRamp() {
  return Ramp{{{0.00f, {248, 248, 252}},
               {0.40f, {168, 170, 180}},
               {0.50f, {92, 94, 104}},
               {0.54f, {226, 228, 236}},
               {0.78f, {168, 170, 178}},
               {1.00f, {112, 114, 124}}}};
}

Ramp GlossRamp(Rgb colour) {
  return Ramp{
      {{0.0f, Mix(colour, {255, 255, 255}, 0.55f)}, {0.45f, colour}, {1.0f, Scale(colour, 0.72f)}}};
}

// White glyphs on a black surface: the red channel is the coverage.
LargeText RenderLarge(const std::string& fontPath, const std::string& utf8, int pixelSize) {
  LargeText out;
  const std::shared_ptr<Font> font = Font::Open(fontPath, pixelSize);
  if (!font) return out;
  constexpr int kMargin = 8;
  Surface surface(font->Width(utf8) + pixelSize + 2 * kMargin, font->Height() + 2 * kMargin,
                  RGB(0, 0, 0));
  font->Draw(surface, kMargin, kMargin, utf8, RGB(255, 255, 255));
  out.alpha = Alpha(surface.Width(), surface.Height());
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x)
      out.alpha.Ref(x, y) = RedOf(surface.Pixel(x, y)) / 255.f;
  out.ink = InkBox(out.alpha);
  return out;
}
