// One game of the soak: a random seed, random key presses and a random start of the two save
// files, ending either by itself (a full well) or by a scripted quit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SoakGame {
  int number = 0;
  std::uint32_t seed = 1;
  std::uint32_t clock = 100000;
  // The save files placed in the folder before the run; nullopt: no file.
  std::optional<std::vector<std::uint8_t>> userIni;
  std::optional<std::vector<std::uint8_t>> highScore;
  bool plannedQuit = false;   // the script asks to close and answers yes
  bool opensOptions = false;  // the script presses Escape at some point
  std::uint64_t endTime = 0;  // the script's end: a game still running then is a failure
  std::string script;         // the replay script
};

// The same number always gives the same game.
SoakGame MakeSoakGame(int number);
