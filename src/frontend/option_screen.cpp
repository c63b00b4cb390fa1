// Placeholder until this part of the game is written.
#include "frontend/option_screen.h"

#include <cstdlib>

void DrawOptionFrame() {}
void DrawOptionMenu(const std::int16_t&, const std::int16_t&, const std::uint8_t&) {}
