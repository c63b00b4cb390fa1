// Placeholder until this part of the game is written.
#include "gameplay/main_loop.h"

#include <cstdlib>

void GameLoop() { std::abort(); }
void RedrawAndYield() {}
