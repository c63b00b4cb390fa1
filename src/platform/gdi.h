// The drawing calls of the game, with the raster rules of the desktop they come from.
// Every call names its target surface; nothing is reported back (results are ignored by the
// game, but each call returns nonzero when it drew, as the originals do).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/surface.h"

enum RasterOp : std::uint32_t {
  SRCCOPY = 0x00CC0020,   // D = S
  SRCPAINT = 0x00EE0086,  // D = S OR D
  SRCAND = 0x008800C6,    // D = S AND D
};

// Mix modes of pen and brush (Surface::DrawMode).
constexpr int R2_MASKPEN = 9;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPEN = 15;

struct POINT {
  int x;
  int y;
};

// Block copy of w x h pixels from (sx, sy) of src to (x, y) of dst. Clipped at both ends:
// destination pixels whose source lies outside src keep their values; nothing is written
// outside dst. src and dst may be the same surface, overlapping.
int BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
           std::uint32_t rop);

// Shapes with a 1-pixel pen in ForeColor and, when FillStyle is 0, a brush in FillColor,
// mixed by DrawMode. Rectangle-like shapes cover columns left..right-1, rows top..bottom-1.
int Rectangle(Surface& dst, int left, int top, int right, int bottom);
int RoundRect(Surface& dst, int left, int top, int right, int bottom, int width, int height);
int Ellipse(Surface& dst, int left, int top, int right, int bottom);
// Alternate fill; the outline passes through every vertex, closing edge included.
int Polygon(Surface& dst, const POINT* points, int count);

// Code-page-932 text, glyphs only, in ForeColor, with (x, y) the top-left of the cell.
int TextOutA(Surface& dst, int x, int y, const char* cp932, int byteCount);
