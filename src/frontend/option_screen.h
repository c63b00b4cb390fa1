// The option screen: its per-frame redraw and its menu.
#pragma once

#include <cstdint>

void DrawOptionFrame();
void DrawOptionMenu(const std::int16_t& OffsetX, const std::int16_t& OffsetY,
                    const std::uint8_t& SlideMode);
// The green and blue of the selected row at this pulse angle: 100 to 255.
int OptionPulseValue(std::int16_t angle);
