// Small pieces shared by the line check, the deletion step and their effects: the widths the
// clearing arithmetic holds at, cell centres, the well digit with its fade bands, the well
// copy and the frame gate.
#pragma once

#include <cstdint>

#include "gameplay/game_state.h"
#include "gameplay/sprites.h"
#include "gameplay/surfaces.h"
#include "platform/surface.h"

namespace clearing {

// Holds a wide value at the ends of the 32-bit signed range instead of wrapping.
std::int32_t SaturateToInt32(std::int64_t value);
// Counts an 8-bit counter on by one, stopping at 255.
std::uint8_t CountUpTo255(std::uint8_t value);

// Board indices 0..149 are the visible rows; 150..159 the spawn row above them.
constexpr int kVisibleCells = 150;
constexpr int kBoardCells = 160;

// The centre of the 20 x 20 square of board index i.
constexpr int CellCentreX(int i) { return CellLeft(i) + kCellSize / 2; }
constexpr int CellCentreY(int i) { return CellTop(i) + kCellSize / 2; }

// The digit of the cell at board index i at its place in the well, with the mask from fade
// band `band` of BlP. A super cell has no digit in the sheet and draws nothing.
void DrawCellDigit(Surface& dst, int i, int band = 0);

// BitBlt of the well rectangle between two surfaces (SRCCOPY).
void CopyWellRect(Surface& dst, const Surface& src);

// The frame gate: spins through Idle, without pumping window events, until `period` ms
// have passed since `frameTick`.
void WaitForFrame(Tick frameTick, std::uint32_t period);

}  // namespace clearing
