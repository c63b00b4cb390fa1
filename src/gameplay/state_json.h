// The game state by name: the whole state as one JSON object (the replay's snapshots), and
// one variable set from text (the replay's `set NAME V...`).
#pragma once

#include <string>
#include <vector>

// One object with every variable of the snapshot, in a fixed order: numbers as numbers,
// Booleans as -1 or 0, arrays as arrays, FPS as null while it has no value.
std::string GameStateJson();

// The names GameStateJson writes and `set` accepts, in that order.
std::vector<std::string> GameStateNames();

// words = NAME then its values: one value for a single variable; for Board, Marked and
// Changed the first index then the values of the cells from it; for CurPiece and NextPiece
// both cells; FPS also takes "null". Every value must be a decimal integer that fits the
// variable's width, or the narrower range of values the game can give it (FPS: any finite
// number). CurPos and CurDir, FallOfs and FallStep must also agree with the other's value of
// the moment: the pair inside the well, the offset a whole number of steps. Returns an empty
// string when done, otherwise what is wrong, and then nothing is changed.
std::string SetGameStateVariable(const std::vector<std::string>& words);
// The same check without changing anything, short of the agreement with the other variable.
std::string CheckGameStateAssignment(const std::vector<std::string>& words);
