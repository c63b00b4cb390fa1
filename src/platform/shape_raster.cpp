#include "platform/shape_raster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace raster {

Colour Mix(int drawMode, Colour colour, Colour destination) {
  if (drawMode < 1 || drawMode > 16) drawMode = 13;
  // Mode n is the truth table n - 1 of (pen, destination), bit 2 * pen + destination.
  const unsigned table = unsigned(drawMode - 1);
  const Colour p = colour, d = destination;
  Colour result = 0;
  if (table & 8) result |= p & d;
  if (table & 4) result |= p & ~d;
  if (table & 2) result |= ~p & d;
  if (table & 1) result |= ~p & ~d;
  return result & 0xFFFFFF;
}

void MixSpan(Surface& dst, std::int64_t y, std::int64_t left, std::int64_t right, Colour colour,
             int drawMode) {
  if (y < 0 || y >= dst.Height()) return;
  left = std::max<std::int64_t>(left, 0);
  right = std::min<std::int64_t>(right, dst.Width() - 1);
  if (left > right) return;
  Colour* row = dst.RowToChange(int(y), int(left), int(right) + 1);
  for (std::int64_t x = left; x <= right; ++x) row[x] = Mix(drawMode, colour, row[x]);
}

void PaintConvexFigure(Surface& dst, std::int64_t top, std::int64_t bottom,
                       const std::function<RowSpan(std::int64_t)>& rowSpan,
                       std::optional<Colour> brush, Colour pen, int drawMode) {
  const std::int64_t first = std::max<std::int64_t>(top, 0);
  const std::int64_t last = std::min<std::int64_t>(bottom, dst.Height()) - 1;
  for (std::int64_t y = first; y <= last; ++y) {
    const RowSpan span = rowSpan(y);
    if (span.Empty()) continue;
    const RowSpan above = y - 1 >= top ? rowSpan(y - 1) : RowSpan{};
    const RowSpan below = y + 1 < bottom ? rowSpan(y + 1) : RowSpan{};
    RowSpan inner{std::max({span.left + 1, above.left, below.left}),
                  std::min({span.right - 1, above.right, below.right})};
    if (above.Empty() || below.Empty()) inner = RowSpan{};
    if (inner.Empty()) {
      MixSpan(dst, y, span.left, span.right, pen, drawMode);
      continue;
    }
    if (brush) MixSpan(dst, y, inner.left, inner.right, *brush, drawMode);
    MixSpan(dst, y, span.left, inner.left - 1, pen, drawMode);
    MixSpan(dst, y, inner.right + 1, span.right, pen, drawMode);
  }
}

EllipseInsets::EllipseInsets(std::int64_t width, std::int64_t height)
    : width_(width), height_(height) {}

// Works in doubled coordinates from the centre, so half-pixel centres stay whole numbers:
// a pixel is inside when dx^2 / (a^2 + a) + dy^2 / (b^2 + b) < 1, with a and b the radii
// from the centre to the outermost pixel centres. This is the rule of the midpoint curve:
// radius 1 gives a plus sign, radius 2 a disc with only its four corners cut.
std::int64_t EllipseInsets::At(std::int64_t row) const {
  if (row < 0 || row >= height_ || width_ <= 0) return -1;
  if (width_ == 1 || height_ == 1) return 0;
  using Wide = __int128;
  const Wide a2 = width_ - 1, b2 = height_ - 1;
  const Wide aTerm = a2 * a2 + 2 * a2, bTerm = b2 * b2 + 2 * b2;
  const Wide dy2 = 2 * Wide(row) - b2;
  const Wide limit = aTerm * (bTerm - dy2 * dy2);  // dx2^2 * bTerm must stay below this
  if (limit <= 0) return -1;
  auto inside = [&](Wide dx2) { return dx2 * dx2 * bTerm < limit; };
  Wide dx2 = Wide(std::sqrt(static_cast<long double>(limit) / static_cast<long double>(bTerm)));
  while (dx2 > 0 && !inside(dx2)) --dx2;
  while (inside(dx2 + 1)) ++dx2;
  if ((dx2 - a2) % 2 != 0) --dx2;  // only offsets of the parity of a2 fall on pixel centres
  if (dx2 < 0) return -1;
  return std::int64_t((a2 - dx2) / 2);
}

namespace {

// Smallest integer not below num / den, for den > 0.
std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
  const std::int64_t q = num / den;
  return (num % den != 0 && num > 0) ? q + 1 : q;
}

}  // namespace

void FillPolygon(Surface& dst, const Point64* points, int count, Colour brush, int drawMode) {
  std::int64_t top = points[0].y, bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min(top, points[i].y);
    bottom = std::max(bottom, points[i].y);
  }
  std::vector<std::int64_t> crossings;
  const std::int64_t last = std::min<std::int64_t>(bottom, dst.Height()) - 1;
  for (std::int64_t y = std::max<std::int64_t>(top, 0); y <= last; ++y) {
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const Point64 a = points[i], b = points[(i + 1) % count];
      if (a.y == b.y) continue;
      // Rows from the upper end up to, not including, the lower end: each vertex is met once.
      if (y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
      std::int64_t num = a.x * (b.y - a.y) + (y - a.y) * (b.x - a.x);
      std::int64_t den = b.y - a.y;
      if (den < 0) num = -num, den = -den;
      crossings.push_back(CeilDiv(num, den));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      MixSpan(dst, y, crossings[k], crossings[k + 1] - 1, brush, drawMode);
    }
  }
}

namespace {

// Steps 0..n-1 of a line along its longer axis, with the other coordinate rounded from the
// exact slope; only the steps whose main coordinate falls inside [0, size) are visited.
void StepLine(std::int64_t mainStart, std::int64_t mainSign, std::int64_t mainLength,
              std::int64_t crossStart, std::int64_t crossSign, std::int64_t crossLength,
              std::int64_t size, const std::function<void(std::int64_t, std::int64_t)>& plot) {
  std::int64_t from = 0, to = mainLength - 1;
  if (mainSign > 0) {
    from = std::max(from, -mainStart);
    to = std::min(to, size - 1 - mainStart);
  } else {
    from = std::max(from, mainStart - (size - 1));
    to = std::min(to, mainStart);
  }
  for (std::int64_t i = from; i <= to; ++i) {
    const std::int64_t cross = (2 * i * crossLength + mainLength) / (2 * mainLength);
    plot(mainStart + mainSign * i, crossStart + crossSign * cross);
  }
}

}  // namespace

void DrawLineWithoutEnd(Surface& dst, Point64 a, Point64 b, Colour pen, int drawMode) {
  const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const std::int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  if (adx == 0 && ady == 0) return;
  if (adx >= ady) {
    StepLine(a.x, sx, adx, a.y, sy, ady, dst.Width(),
             [&](std::int64_t x, std::int64_t y) { MixSpan(dst, y, x, x, pen, drawMode); });
  } else {
    StepLine(a.y, sy, ady, a.x, sx, adx, dst.Height(),
             [&](std::int64_t y, std::int64_t x) { MixSpan(dst, y, x, x, pen, drawMode); });
  }
}

}  // namespace raster
