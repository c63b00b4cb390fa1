// The level table: each level's goal, fall step and number range, and the advance to the
// next level.
#include "gameplay/level_table.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "gameplay/game_state.h"

namespace {

struct LevelRow {
  std::int32_t goal;   // the new LevelNorm
  std::uint8_t step;   // the new FallStep, a divisor of the 20-pixel row
  std::uint8_t range;  // the new Kinds
};

// Row n is played at level n + 1.
constexpr LevelRow kLevelTable[61] = {
    {48, 1, 1},     {49, 2, 1},   {50, 4, 1},   {72, 1, 2},   {73, 2, 2},   {74, 4, 2},
    {75, 5, 2},     {96, 1, 3},   {98, 2, 3},   {100, 4, 3},  {102, 5, 3},  {104, 10, 3},
    {120, 1, 4},    {122, 2, 4},  {124, 4, 4},  {126, 5, 4},  {128, 10, 4}, {130, 20, 4},
    {144, 1, 5},    {147, 2, 5},  {150, 4, 5},  {153, 5, 5},  {156, 10, 5}, {159, 20, 5},
    {45, 20, 5},    {168, 1, 6},  {171, 2, 6},  {174, 4, 6},  {177, 5, 6},  {180, 10, 6},
    {183, 20, 6},   {55, 20, 6},  {192, 1, 7},  {195, 2, 7},  {198, 4, 7},  {65, 20, 7},
    {201, 5, 7},    {204, 10, 7}, {207, 20, 7}, {55, 20, 7},  {216, 1, 8},  {220, 2, 8},
    {75, 20, 8},    {224, 4, 8},  {228, 5, 8},  {232, 10, 8}, {236, 20, 8}, {45, 5, 8},
    {240, 20, 8},   {55, 10, 8},  {244, 20, 8}, {250, 20, 8}, {256, 20, 8}, {262, 20, 8},
    {268, 20, 8},   {274, 20, 8}, {280, 20, 8}, {286, 20, 8}, {292, 20, 8}, {298, 20, 8},
    {99999, 20, 8},
};

constexpr int kLastRow = 60;

}  // namespace

void NextLevel() {
  // The goal of the level being left comes off the progress; the rest carries over. The
  // difference is held at the 32-bit range rather than wrapping.
  const std::int64_t carried = std::int64_t(LevelSum) - LevelNorm;
  LevelSum = std::int32_t(std::clamp<std::int64_t>(
      carried, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  if (Level >= 0 && Level <= kLastRow) {
    const LevelRow& row = kLevelTable[Level];
    LevelNorm = row.goal;
    FallStep = row.step;
    Kinds = row.range;
  }
  // Past the last row the level number only counts on, and stops at its 16-bit limit.
  if (Level < std::numeric_limits<std::int16_t>::max()) ++Level;
}
