// The option screen: its per-frame redraw and its menu.
#pragma once

#include <cstdint>

void DrawOptionFrame();
void DrawOptionMenu(const std::int16_t& OffsetX, const std::int16_t& OffsetY,
                    const std::uint8_t& SlideMode);
