// The falling pair: dealing, gravity, landing and the lock sequence; loose cells falling.
#pragma once

void NewPiece();
void FallPair();
void SettleBoard();
