// Placeholder until this part of the game is written.
#include "frontend/startup.h"

#include <cstdlib>

void StartUp() { std::abort(); }
void Form_Load() {}
