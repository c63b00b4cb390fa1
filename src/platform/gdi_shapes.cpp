// The shape calls: a 1-pixel solid pen in ForeColor, a brush in FillColor when FillStyle is
// 0, both mixed by DrawMode. Box shapes cover columns left..right-1 and rows top..bottom-1.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gdi.h"
#include "platform/shape_raster.h"

namespace {

using raster::RowSpan;

// Coordinates are held within this distance of the origin before any arithmetic, so a
// shape given absurd coordinates cannot overflow; on a surface of a few hundred pixels the
// visible result is the same for everything the game draws.
constexpr std::int64_t kCoordinateLimit = std::int64_t(1) << 28;

std::int64_t Held(std::int64_t v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

struct Box {
  std::int64_t left, top, right, bottom;  // right and bottom excluded
  std::int64_t Width() const { return right - left; }
  std::int64_t Height() const { return bottom - top; }
};

// The ordered box of a shape, or nothing when the shape paints nothing: no width, no height,
// or a single pixel.
std::optional<Box> ShapeBox(int left, int top, int right, int bottom) {
  Box box{Held(left), Held(top), Held(right), Held(bottom)};
  if (box.left > box.right) std::swap(box.left, box.right);
  if (box.top > box.bottom) std::swap(box.top, box.bottom);
  if (box.Width() == 0 || box.Height() == 0) return std::nullopt;
  if (box.Width() == 1 && box.Height() == 1) return std::nullopt;
  return box;
}

std::optional<Colour> Brush(const Surface& dst) {
  if (dst.FillStyle != 0) return std::nullopt;
  return dst.FillColor;
}

void PaintBoxFigure(Surface& dst, const Box& box,
                    const std::function<RowSpan(std::int64_t)>& rowSpan) {
  raster::PaintConvexFigure(dst, box.top, box.bottom, rowSpan, Brush(dst), dst.ForeColor,
                            dst.DrawMode);
}

}  // namespace

int Rectangle(Surface& dst, int left, int top, int right, int bottom) {
  const std::optional<Box> box = ShapeBox(left, top, right, bottom);
  if (!box) return 1;
  PaintBoxFigure(dst, *box, [&](std::int64_t) { return RowSpan{box->left, box->right - 1}; });
  return 1;
}

int Ellipse(Surface& dst, int left, int top, int right, int bottom) {
  const std::optional<Box> box = ShapeBox(left, top, right, bottom);
  if (!box) return 1;
  const raster::EllipseInsets insets(box->Width(), box->Height());
  PaintBoxFigure(dst, *box, [&](std::int64_t y) {
    const std::int64_t inset = insets.At(y - box->top);
    if (inset < 0) return RowSpan{};
    return RowSpan{box->left + inset, box->right - 1 - inset};
  });
  return 1;
}

int RoundRect(Surface& dst, int left, int top, int right, int bottom, int width, int height) {
  const std::optional<Box> box = ShapeBox(left, top, right, bottom);
  if (!box) return 1;
  const std::int64_t cornerWidth =
      std::min(Held(width < 0 ? -std::int64_t(width) : width), box->Width());
  const std::int64_t cornerHeight =
      std::min(Held(height < 0 ? -std::int64_t(height) : height), box->Height());
  if (cornerWidth == 0 || cornerHeight == 0) return Rectangle(dst, left, top, right, bottom);
  // The corners are the quarters of one cornerWidth x cornerHeight ellipse; the rows between
  // its upper and lower halves run straight across.
  const raster::EllipseInsets insets(cornerWidth, cornerHeight);
  const std::int64_t halfRows = (cornerHeight - 1) / 2;
  PaintBoxFigure(dst, *box, [&](std::int64_t y) {
    const std::int64_t fromTop = y - box->top, fromBottom = box->bottom - 1 - y;
    std::int64_t inset = 0;
    if (fromTop <= halfRows) {
      inset = insets.At(fromTop);
    } else if (fromBottom <= halfRows) {
      inset = insets.At(cornerHeight - 1 - fromBottom);
    }
    if (inset < 0) return RowSpan{};
    return RowSpan{box->left + inset, box->right - 1 - inset};
  });
  return 1;
}

int Polygon(Surface& dst, const POINT* points, int count) {
  if (points == nullptr || count < 2) return 0;
  std::vector<raster::Point64> held(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) held[i] = {Held(points[i].x), Held(points[i].y)};
  if (const auto brush = Brush(dst)) {
    raster::FillPolygon(dst, held.data(), count, *brush, dst.DrawMode);
  }
  for (int i = 0; i < count; ++i) {
    raster::DrawLineWithoutEnd(dst, held[i], held[(i + 1) % count], dst.ForeColor, dst.DrawMode);
  }
  return 1;
}
