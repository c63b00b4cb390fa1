// The opening and closing animations of the option screen.
#pragma once

#include <cstdint>

void OptionTransition(const std::int16_t& Opening);

// The menu's offsets in frame i of the slide in (0..20) and of the slide out (0..30).
struct OptionSlideOffsets {
  int x;
  int y;
};
OptionSlideOffsets OpeningSlideOffsets(int frame);
OptionSlideOffsets ClosingSlideOffsets(int frame);
