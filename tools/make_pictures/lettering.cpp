#include "lettering.h"

#include <algorithm>
#include <cmath>

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

#include <SDL_ttf.h>

LargeText RenderLarge(const std::string& fontPath, const std::string& utf8, int pixelSize) {
  static bool ready = TTF_Init() == 0;
  LargeText out;
  TTF_Font* font = ready ? TTF_OpenFont(fontPath.c_str(), pixelSize) : nullptr;
  if (!font) return out;
  SDL_Surface* text = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (text) {
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
    out.alpha = Alpha(argb->w + 16, argb->h + 16);
    for (int y = 0; y < argb->h; ++y)
      for (int x = 0; x < argb->w; ++x) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch);
        out.alpha.Ref(x + 8, y + 8) = (row[x] >> 24) / 255.f;
      }
    SDL_FreeSurface(argb);
    SDL_FreeSurface(text);
  }
  TTF_CloseFont(font);
  out.ink = InkBox(out.alpha);
  return out;
}
