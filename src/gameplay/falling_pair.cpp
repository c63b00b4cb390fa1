// Placeholder until this part of the game is written.
#include "gameplay/falling_pair.h"

#include <cstdlib>

void NewPiece() {}
void FallPair() {}
void SettleBoard() {}
