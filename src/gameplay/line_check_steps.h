// The two ways a board check finds cells to delete, apart from the rest of the check so
// that each can be exercised on its own.
#pragma once

#include <cstdint>

namespace clearing {

// Marks every line of three equal digits (rows, columns, both diagonals) and returns their
// points, before the x10 of the deletion step. Wide, so that no sum of lines wraps.
std::int64_t ScanLines();

// The landing of a super pair: removes its two cells and, unless it landed on the bottom
// row, marks every cell of the value beneath it and plays the super effect. Then draws the
// next super threshold. Returns the points of the marked cells.
std::int64_t LandSuperPair();

// The next super threshold after a landing, for the random number r in [0, 1).
std::int32_t NextSuperAt(float r);

}  // namespace clearing
