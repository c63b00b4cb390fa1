// Placeholder until this part of the game is written.
#include "frontend/option_transition.h"

#include <cstdlib>

void OptionTransition(const std::int16_t&) {}
