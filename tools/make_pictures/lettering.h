// Letters for the artwork: text rendered large with a real font, fitted into small boxes,
// then painted with a fill ramp, an outline, a bevel and a shadow.
#pragma once

#include <string>
#include <vector>

#include "raster.h"

// Debian's font files that the pictures use.
namespace fonts {
inline const std::string kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline const std::string kSansBoldOblique =
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf";
inline const std::string kSansCondensed =
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";
inline const std::string kSansCondensedBold =
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
inline const std::string kSansCondensedBoldOblique =
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-BoldOblique.ttf";
inline const std::string kSerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
inline const std::string kSerifItalic = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf";
inline const std::string kSerifBoldItalic =
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf";
inline const std::string kSerifCondensedBoldItalic =
    "/usr/share/fonts/truetype/dejavu/DejaVuSerifCondensed-BoldItalic.ttf";
inline const std::string kGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
}  // namespace fonts

// Text rendered at a large pixel size: its coverage and the box of its ink.
struct LargeText {
  Alpha alpha;
  Box ink;
};
LargeText RenderLarge(const std::string& fontPath, const std::string& utf8, int pixelSize = 160);

// Fits rendered text into a width x height map: its ink (columns of src.ink, rows top..bottom
// of the large rendering) scaled to inkHeight pixels, condensed if it would be wider than
// maxWidth, with the ink's top-left at (x, y); x < 0 centres it across the map.
Alpha FitText(const LargeText& text, int top, int bottom, int width, int height, float x, float y,
              float inkHeight, float maxWidth);
// The same with the text's own ink rows.
Alpha FitText(const LargeText& text, int width, int height, float x, float y, float inkHeight,
              float maxWidth);

// How a run of letters is painted.
struct LetterStyle {
  Ramp fill;  // down the letters, 0 at fillTop and 1 at fillBottom
  float fillTop = 0, fillBottom = 1;
  Rgb outline{};
  float outlineRadius = 0;  // 0: no outline
  // A light outline on a sheet shows every pixel it touches at full strength (the mask makes
  // every non-white pixel opaque), so it is drawn solid, without a fringe.
  bool solidOutline = false;
  Rgb bevel{255, 255, 255};
  float bevelStrength = 0;  // light rim along the upper edges of the letters
  Rgb shadow{0, 0, 0};
  float shadowOpacity = 0;
  int shadowDx = 1, shadowDy = 1, shadowBlur = 0;
};

// Paints letters whose coverage is glyph (placed at ox, oy) onto the canvas. Everything the
// style adds stays inside the glyph map, so a map the size of a cell keeps it in the cell.
void PaintLetters(Canvas& canvas, const Alpha& glyph, const LetterStyle& style, int ox = 0,
                  int oy = 0);

// Grey metal: a bright sky fading down to a dark horizon, a highlight band and a glow below.
Ramp MetalRamp();
// A glossy colour: light at the top, the colour itself, a darker foot.
Ramp GlossRamp(Rgb colour);
