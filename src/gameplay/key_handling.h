// The game keys, sampled once per frame: moves, turns and the soft drop.
#pragma once

void HandleKeys();
