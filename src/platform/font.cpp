#include "platform/font.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace {

// Takes one reference of the font library for the whole run, so that another user's
// balanced start and stop cannot close it under our open fonts. A failure is told once.
bool EnsureTtf() {
  static const bool started = [] {
    if (TTF_Init() == 0) return true;
    std::fprintf(stderr, "fumbo: cannot start the font library: %s\n", TTF_GetError());
    return false;
  }();
  return started;
}

using FontKey = std::tuple<std::string, int, bool, bool, bool>;

std::map<FontKey, std::shared_ptr<Font>>& OpenFonts() {
  static std::map<FontKey, std::shared_ptr<Font>> fonts;
  return fonts;
}

// One line for each file that could not be opened, however often it is asked for.
void ReportMissing(const std::string& path) {
  static std::set<std::string> reported;
  if (reported.insert(path).second) {
    std::fprintf(stderr, "fumbo: cannot open the font %s (%s); text is not drawn\n", path.c_str(),
                 TTF_GetError());
  }
}

int Blend(int destination, int colour, int alpha) {
  return (destination * (255 - alpha) + colour * alpha + 127) / 255;
}

}  // namespace

int PointsToPixels(double points) {
  // Sizes beyond any screen are held at a thousand pixels; nonsense sizes give no font.
  if (!(points > 0)) return 0;
  return int(std::lround(std::min(points, 750.0) * 4.0 / 3.0));
}

std::shared_ptr<Font> Font::Open(const std::string& path, int pixelSize, FontStyle style) {
  const FontKey key{path, pixelSize, style.bold, style.italic, style.underline};
  auto& fonts = OpenFonts();
  if (auto found = fonts.find(key); found != fonts.end()) return found->second;
  if (pixelSize <= 0 || !EnsureTtf()) return nullptr;
  TTF_Font* font = TTF_OpenFont(path.c_str(), pixelSize);
  if (font == nullptr) {
    ReportMissing(path);
    return nullptr;
  }
  TTF_SetFontStyle(font, (style.bold ? TTF_STYLE_BOLD : 0) | (style.italic ? TTF_STYLE_ITALIC : 0) |
                             (style.underline ? TTF_STYLE_UNDERLINE : 0));
  auto opened = std::make_shared<Font>(font);
  fonts.emplace(key, opened);
  return opened;
}

Font::~Font() {
  if (TTF_WasInit() > 0) TTF_CloseFont(font_);
}

int Font::Ascent() const { return TTF_FontAscent(font_); }

int Font::Height() const { return TTF_FontHeight(font_); }

int Font::Width(std::string_view utf8) const {
  // The width the renderer lays the text out in: the sum of the glyphs' own advances runs
  // wider in the synthetic bold, which would put centred text off its centre.
  if (utf8.empty()) return 0;
  int width = 0, height = 0;
  if (TTF_SizeUTF8(font_, std::string(utf8).c_str(), &width, &height) != 0) return 0;
  return width;
}

void Font::Draw(Surface& dst, int x, int y, std::string_view utf8, Colour colour) const {
  if (utf8.empty()) return;  // the renderer has no picture for an empty string
  const std::string text(utf8);
  SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font_, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (glyphs == nullptr) return;
  if (SDL_MUSTLOCK(glyphs)) SDL_LockSurface(glyphs);
  const SDL_PixelFormat* format = glyphs->format;
  // Work out the visible part in 64 bits: (x, y) may lie anywhere.
  const std::int64_t x64 = x, y64 = y;
  const int top = int(std::clamp<std::int64_t>(-y64, 0, glyphs->h));
  const int bottom = int(std::clamp<std::int64_t>(dst.Height() - y64, 0, glyphs->h));
  const int left = int(std::clamp<std::int64_t>(-x64, 0, glyphs->w));
  const int right = int(std::clamp<std::int64_t>(dst.Width() - x64, 0, glyphs->w));
  for (int row = top; row < bottom && left < right; ++row) {
    const auto* from = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(glyphs->pixels) +
                                                       std::ptrdiff_t(row) * glyphs->pitch);
    Colour* to = dst.RowToChange(int(y64 + row), int(x64 + left), int(x64 + right));
    for (int col = left; col < right; ++col) {
      const int alpha = int((from[col] & format->Amask) >> format->Ashift);
      if (alpha == 0) continue;
      Colour& pixel = to[x64 + col];
      const Colour d = pixel;
      pixel = RGB(Blend(RedOf(d), RedOf(colour), alpha), Blend(GreenOf(d), GreenOf(colour), alpha),
                  Blend(BlueOf(d), BlueOf(colour), alpha));
    }
  }
  if (SDL_MUSTLOCK(glyphs)) SDL_UnlockSurface(glyphs);
  SDL_FreeSurface(glyphs);
}

std::u32string DecodeUtf8(std::string_view utf8) {
  std::u32string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    char32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1F
                 : length == 3 ? lead & 0x0F
                               : lead & 0x07;
    bool valid = length > 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    out.push_back(valid ? c : U'\uFFFD');
    i += valid ? std::size_t(length) : 1;
  }
  return out;
}
