// Placeholder until this part of the game is written.
#include "gameplay/deletion_step.h"

#include <cstdlib>

void DeleteMarked(const std::int32_t&, const std::int32_t&) {}
void Lamp() {}
