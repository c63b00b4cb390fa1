#include "platform/sdl/message_box_font.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kGothicPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr int kBoxFontPixels = 15;  // 11 points

class TtfBoxText final : public BoxText {
 public:
  TtfBoxText() {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
      std::fprintf(stderr, "fumbo2: cannot start the font library: %s\n", TTF_GetError());
      return;
    }
    font_ = TTF_OpenFont(kGothicPath, kBoxFontPixels);
    if (font_ == nullptr)
      std::fprintf(stderr, "fumbo2: cannot open the font %s: %s\n", kGothicPath, TTF_GetError());
  }
  ~TtfBoxText() override {
    if (font_ != nullptr) TTF_CloseFont(font_);
  }

  int Width(const std::string& utf8) override {
    int width = 0;
    if (font_ != nullptr && !utf8.empty()) TTF_SizeUTF8(font_, utf8.c_str(), &width, nullptr);
    return width;
  }
  int LineHeight() override { return font_ != nullptr ? TTF_FontLineSkip(font_) : kBoxFontPixels; }

  void Draw(Surface& surface, int x, int y, const std::string& utf8, Colour colour) override {
    if (font_ == nullptr || utf8.empty()) return;
    SDL_Color white{255, 255, 255, 255};
    SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font_, utf8.c_str(), white);
    if (glyphs == nullptr) return;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(glyphs);
    if (argb == nullptr) return;
    Blend(surface, x, y, *argb, colour);
    SDL_FreeSurface(argb);
  }

 private:
  // Glyph coverage blended over the destination in `colour`.
  static void Blend(Surface& surface, int x, int y, const SDL_Surface& argb, Colour colour) {
    for (int row = 0; row < argb.h; ++row) {
      const auto* src = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb.pixels) +
                                                        row * argb.pitch);
      for (int col = 0; col < argb.w; ++col) {
        const int alpha = static_cast<int>(src[col] >> 24);
        if (alpha == 0 || !surface.Contains(x + col, y + row)) continue;
        const Colour d = surface.Pixel(x + col, y + row);
        auto mix = [alpha](int fg, int bg) {
          return (fg * alpha + bg * (255 - alpha) + 127) / 255;
        };
        surface.SetPixel(x + col, y + row,
                         RGB(mix(RedOf(colour), RedOf(d)), mix(GreenOf(colour), GreenOf(d)),
                             mix(BlueOf(colour), BlueOf(d))));
      }
    }
  }

  TTF_Font* font_ = nullptr;
};

}  // namespace

std::unique_ptr<BoxText> OpenBoxFont() { return std::make_unique<TtfBoxText>(); }
