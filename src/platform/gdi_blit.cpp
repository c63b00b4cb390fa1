// The block copy and its clipping, written once here for every surface.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi.h"

namespace {

// One axis of a copy: where it starts on each surface and how long it is, after clipping.
struct Span {
  std::int64_t dst;
  std::int64_t src;
  std::int64_t length;
};

// Shrinks the span to the part whose source lies inside [0, srcSize) and whose destination
// lies inside [0, dstSize). A negative length runs back from the point on both surfaces.
Span ClipSpan(std::int64_t dst, std::int64_t src, std::int64_t length, int dstSize, int srcSize) {
  if (length < 0) {
    dst += length;
    src += length;
    length = -length;
  }
  const std::int64_t lowCut = std::max({std::int64_t(0), -src, -dst});
  dst += lowCut;
  src += lowCut;
  length -= lowCut;
  length = std::min({length, std::int64_t(srcSize) - src, std::int64_t(dstSize) - dst});
  return {dst, src, std::max(length, std::int64_t(0))};
}

// One row of the copy. Each operation has a loop of its own, which the compiler can
// vectorise: the sprites are drawn with OR and AND.
void CopyRow(const Colour* from, Colour* to, int width, std::uint32_t rop) {
  switch (rop) {
    case SRCPAINT:
      for (int col = 0; col < width; ++col) to[col] |= from[col];
      break;
    case SRCAND:
      for (int col = 0; col < width; ++col) to[col] &= from[col];
      break;
    default:
      std::copy(from, from + width, to);
  }
}

bool KnownRop(std::uint32_t rop) { return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND; }

}  // namespace

int BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
           std::uint32_t rop) {
  if (!KnownRop(rop)) return 0;
  const Span across = ClipSpan(x, sx, w, dst.Width(), src.Width());
  const Span down = ClipSpan(y, sy, h, dst.Height(), src.Height());
  if (across.length == 0 || down.length == 0) return 1;

  const int width = int(across.length);
  const int height = int(down.length);
  // Within one surface the source rows are taken out first, so the copy reads nothing it
  // has already written.
  std::vector<Colour> block;
  if (&src == &dst) {
    block.resize(std::size_t(width) * height);
    for (int row = 0; row < height; ++row) {
      const Colour* from = src.Row(int(down.src) + row) + across.src;
      std::copy(from, from + width, block.begin() + std::ptrdiff_t(row) * width);
    }
  }
  Colour* const pixels = dst.PixelsToChange(int(across.dst), int(down.dst), int(across.dst) + width,
                                            int(down.dst) + height);
  for (int row = 0; row < height; ++row) {
    Colour* to =
        pixels + std::size_t(down.dst + row) * std::size_t(dst.Width()) + std::size_t(across.dst);
    const Colour* from = block.empty() ? src.Row(int(down.src) + row) + across.src
                                       : block.data() + std::size_t(row) * width;
    CopyRow(from, to, width, rop);
  }
  return 1;
}
