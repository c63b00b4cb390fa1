// Placeholder until this part of the game is written.
#include "gameplay/deletion_animations.h"

#include <cstdlib>

void AnimateDeletion() {}
void ShowChanged() {}
