// The five game keys, applied to the falling pair once per frame.
#include "gameplay/key_handling.h"

#include <cstdint>

#include "gameplay/falling_pair.h"
#include "gameplay/game_state.h"
#include "gameplay/sound_effect.h"
#include "platform/system.h"

namespace {

constexpr std::uint32_t kRepeatUnit = 40;  // ms per step of KeySense

bool ManualMode() { return UserSettings.KeySense == 0; }

bool Free(int index) { return Board[index] == kEmptyCell; }

// For a vertical pair only the lower cell's neighbour is tested: the columns are settled, so
// the upper cell's neighbour is empty whenever that one is.
bool CanMoveLeft() {
  const int p = CurPos;
  const int col = p % 10;
  switch (CurDir) {
    case 0:
      return col >= 1 && Free(p - 11);
    case 1:
      return col >= 2 && Free(p - 2);
    default:
      return col >= 1 && Free(p - 1);
  }
}

bool CanMoveRight() {
  const int p = CurPos;
  const int col = p % 10;
  switch (CurDir) {
    case 0:
      return col <= 8 && Free(p - 9);
    case 3:
      return col <= 7 && Free(p + 2);
    default:
      return col <= 8 && Free(p + 1);
  }
}

// Whether the second cell may swing to orientation `to` about the pivot. The wall and floor
// tests come first, so no cell outside the board is read.
bool CanTurnTo(int to) {
  const int p = CurPos;
  const int col = p % 10;
  switch (to) {
    case 0:
      return p >= 10 && Free(p - 10);
    case 1:
      return col != 0 && Free(p - 1);
    case 2:
      return p < 150 && Free(p + 10);
    default:
      return col != 9 && Free(p + 1);
  }
}

void Turn(std::uint8_t& keyState, int to) {
  if (CanTurnTo(to)) {
    CurDir = std::uint8_t(to);
    PlayEffect("\\Turn.wav");
  }
  if (ManualMode()) keyState = 2;
}

void HandleTurns() {
  if (PressZ == 1 && SuperArmed == False) {
    Turn(PressZ, CurDir == 0 ? 3 : CurDir - 1);
  } else if (PressX == 1 && SuperArmed == False) {
    Turn(PressX, (CurDir + 1) % 4);
  }
}

}  // namespace

void HandleKeys() {
  // One gate for all keys: a held key acts again only after KeySense * 40 ms.
  if (TickSince(KeyTick) < std::uint32_t(UserSettings.KeySense) * kRepeatUnit) return;
  KeyTick = GetTickCount();

  if (PressLeft == 1) {
    if (CanMoveLeft()) --CurPos;
    if (ManualMode()) PressLeft = 2;
  }
  if (PressRight == 1) {
    if (CanMoveRight()) ++CurPos;
    if (ManualMode()) PressRight = 2;
  }
  if (PressDown == 1) {
    FallPair();
    // The step may have run a whole lock sequence, during which the key can have been
    // released (0) or pressed anew; only a press still standing is marked as used.
    if (ManualMode() && PressDown == 1) PressDown = 2;
  }
  HandleTurns();
}
