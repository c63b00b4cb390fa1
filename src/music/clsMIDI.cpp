// Placeholder until this part of the game is written.
#include "music/clsMIDI.h"

#include <cstdlib>

clsMIDI::clsMIDI() = default;
clsMIDI::~clsMIDI() = default;
