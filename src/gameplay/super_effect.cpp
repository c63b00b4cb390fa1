// Placeholder until this part of the game is written.
#include "gameplay/super_effect.h"

#include <cstdlib>

void SuperEffect() {}
