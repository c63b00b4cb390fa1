// Placeholder until this part of the game is written.
#include "gameplay/well_drawing.h"

#include <cstdlib>

void DrawWell() {}
