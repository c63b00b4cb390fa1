// The music player: one MIDI file through MCI string commands on the alias midifile.
#pragma once

#include <cstdint>
#include <string>

class clsMIDI {
 public:
  clsMIDI();
  ~clsMIDI();
  // Members are added by the music player's implementation.
};
