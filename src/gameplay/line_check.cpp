// Placeholder until this part of the game is written.
#include "gameplay/line_check.h"

#include <cstdlib>

void CheckBoard() {}
