// What a finished soak game must show: a clean run, an end of its own, the two exit
// messages, and save files that are whole and agree with the trace and the snapshots.
#pragma once

#include <filesystem>
#include <string>

#include "soak_game.h"

struct SoakRun {
  int exitStatus = 0;
  std::string standardError;
  std::filesystem::path folder;  // the program's folder after the run
  std::filesystem::path trace;
  std::filesystem::path out;  // the snapshots
};

struct SoakOutcome {
  bool passed = false;
  std::string failure;  // why not, when not
  bool gameOver = false;
  bool unplannedQuit = false;  // closed by the script's last resort, not by its plan
  bool newRecord = false;
  long long score = 0;  // the last score seen (a snapshot or the saved record)
  double playSeconds = 0;
};

SoakOutcome CheckSoakGame(const SoakGame& game, const SoakRun& run);
