// The game's sound effects: a WAV file of the program's folder, played asynchronously.
#pragma once

// Plays the effect `name` (it begins with a backslash, "\\Fall.wav"), only when sound
// effects are switched on (SoundOn is exactly True).
void PlayEffect(const char* name);
