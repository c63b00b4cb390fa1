#include "gameplay/clearing_support.h"

#include <limits>

#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace clearing {

std::int32_t SaturateToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::uint8_t CountUpTo255(std::uint8_t value) {
  return value == 255 ? value : static_cast<std::uint8_t>(value + 1);
}

void DrawCellDigit(Surface& dst, int i, int band) {
  const std::uint8_t v = Board[i];
  if (v == kEmptyCell || v > 10) return;
  DrawMaskedSpriteRows(dst, DigitLeft(i), DigitTop(i), kDigitWidth, kDigitHeight, BlP(),
                       BlPSourceX(v), kDigitHeight * band, 0);
}

void CopyWellRect(Surface& dst, const Surface& src) {
  BitBlt(dst, kWellLeft, kWellTop, kWellWidth, kWellHeight, src, kWellLeft, kWellTop, SRCCOPY);
}

void WaitForFrame(Tick frameTick, std::uint32_t period) {
  for (;;) {
    const auto elapsed = static_cast<std::uint32_t>(GetTickCount() - frameTick);
    if (elapsed >= period) break;
    Idle(period - elapsed);
  }
}

}  // namespace clearing
