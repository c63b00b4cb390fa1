// Outline fonts for the game's text, the message boxes and the picture-making tool. Glyphs
// are drawn alone, their anti-aliased coverage blended over what is there.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "platform/surface.h"

struct _TTF_Font;

// The gothic face, fixed pitch, with the Japanese the game's texts need.
inline constexpr const char* kGothicFontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// Point sizes are set for a 96 dpi screen: round(points * 4 / 3) pixels per em; 0 for a size
// that is not positive.
int PointsToPixels(double points);

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const FontStyle&) const = default;
};

class Font {
 public:
  // The font at this file and pixel size, opened once and kept for the run. Returns nullptr
  // when the file cannot be opened, after one line on standard error for that file.
  static std::shared_ptr<Font> Open(const std::string& path, int pixelSize, FontStyle style = {});

  explicit Font(_TTF_Font* font) : font_(font) {}
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // From the top of the cell to the baseline, and the whole cell height, in pixels.
  int Ascent() const;
  int Height() const;
  // Sum of the advance widths of the characters, in pixels.
  int Width(std::string_view utf8) const;
  // Blends the glyphs in the colour with (x, y) the top-left of the cell, clipped to the
  // surface. Nothing around the glyphs is painted.
  void Draw(Surface& dst, int x, int y, std::string_view utf8, Colour colour) const;

 private:
  _TTF_Font* font_;
};

// Decodes UTF-8 into code points; a malformed byte reads as U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);
