// Placeholder until this part of the game is written.
#include "frontend/main_window_events.h"

#include <cstdlib>

void Form_KeyDown(std::int16_t, std::int16_t) {}
void Form_KeyPress(std::int16_t) {}
void Form_KeyUp(std::int16_t, std::int16_t) {}
void Form_QueryUnload(std::int16_t&, std::int16_t) {}
void Main_Paint() {}
void ChangeOption(const std::int16_t&) {}
void InstallMainWindowHandlers() {}
