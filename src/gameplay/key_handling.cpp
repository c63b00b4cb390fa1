// Placeholder until this part of the game is written.
#include "gameplay/key_handling.h"

#include <cstdlib>

void HandleKeys() {}
