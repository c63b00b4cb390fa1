// The rasteriser behind the shape calls: figures as one span per row, an outline picked out
// of the figure, polygon fills by crossings, lines, and the mix modes of pen and brush.
// Everything is clipped to the surface here; coordinates may be anything.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/surface.h"

namespace raster {

// Columns left..right of one row, both included; empty when left > right.
struct RowSpan {
  std::int64_t left = 0;
  std::int64_t right = -1;
  bool Empty() const { return left > right; }
};

// The pixel that the mix mode (1..16, as the desktop numbers its binary raster operations)
// makes of the destination and the pen or brush colour. Other values copy the colour.
Colour Mix(int drawMode, Colour colour, Colour destination);

// Mixes the colour into the pixels of row y from left to right, clipped to the surface.
void MixSpan(Surface& dst, std::int64_t y, std::int64_t left, std::int64_t right, Colour colour,
             int drawMode);

// A convex figure over rows top..bottom-1, given by its span in each row. Its outline is
// every pixel with a left, right, upper or lower neighbour outside the figure (a one-pixel,
// 8-connected curve); the rest is the interior. The brush (if any) goes first, then the pen.
void PaintConvexFigure(Surface& dst, std::int64_t top, std::int64_t bottom,
                       const std::function<RowSpan(std::int64_t)>& rowSpan,
                       std::optional<Colour> brush, Colour pen, int drawMode);

// How far in from the sides of its box an ellipse filling a width x height box lies at each
// row. Rows are counted from the top of the box.
class EllipseInsets {
 public:
  EllipseInsets(std::int64_t width, std::int64_t height);
  // Columns left out at each side of the given row; -1 for a row the ellipse misses.
  std::int64_t At(std::int64_t row) const;

 private:
  std::int64_t width_;
  std::int64_t height_;
};

struct Point64 {
  std::int64_t x;
  std::int64_t y;
};

// Alternate fill of the polygon: pixel centres inside, with left and top edges in and right
// and bottom edges out.
void FillPolygon(Surface& dst, const Point64* points, int count, Colour brush, int drawMode);
// The line from a to b, leaving out the pixel of b.
void DrawLineWithoutEnd(Surface& dst, Point64 a, Point64 b, Colour pen, int drawMode);

}  // namespace raster
