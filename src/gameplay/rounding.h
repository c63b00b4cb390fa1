// Conversions of fractional values to the game's integer fields: to the nearest integer,
// halves to even, held at the limits of the field instead of wrapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

template <typename Int>
Int RoundHalfEven(double value) {
  // nearbyint follows the default rounding mode, which rounds halves to even.
  const double rounded = std::nearbyint(value);
  if (std::isnan(rounded)) return 0;
  if (rounded <= double(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  if (rounded >= double(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(rounded);
}
