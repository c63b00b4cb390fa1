// The main window's events: keys, paint, close; and the option controls.
#pragma once

#include <cstdint>

void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
void Form_KeyPress(std::int16_t KeyAscii);
void Form_KeyUp(std::int16_t KeyCode, std::int16_t Shift);
void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode);
void Main_Paint();
void ChangeOption(const std::int16_t& RightKey);
// Connects the handlers above to the main window.
void InstallMainWindowHandlers();
