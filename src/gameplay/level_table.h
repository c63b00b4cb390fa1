// The level table: goal, fall step and number range of each level.
#pragma once

void NextLevel();
