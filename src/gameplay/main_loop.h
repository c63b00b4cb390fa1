// The endless loop of play: frame gate, caption clock, one step of the game per frame.
#pragma once

[[noreturn]] void GameLoop();
// Redraws the well and pumps the window events once.
void RedrawAndYield();
