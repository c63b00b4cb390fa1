// The falling pair from its deal to its lock, and the loose cells that fall after a lock or
// a deletion step.
#include "gameplay/falling_pair.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "frontend/game_over.h"
#include "gameplay/game_state.h"
#include "gameplay/line_check.h"
#include "gameplay/main_loop.h"
#include "gameplay/rounding.h"
#include "gameplay/sound_effect.h"
#include "gameplay/status_panel.h"
#include "platform/system.h"

namespace {

constexpr std::uint32_t kLockDelay = 1000;   // ms a landed pair stays movable
constexpr std::uint32_t kSettlePause = 500;  // ms the well rests after cells have fallen

// True when the floor or a cell lies directly under the lowest cell(s) of the pair. The floor
// is tested first, so nothing below index 0 is read.
bool PairBlocked() {
  const int p = CurPos;
  switch (CurDir) {
    case 0:
      return p < 20 || Board[p - 20] != kEmptyCell;
    case 1:
      return p < 10 || Board[p - 10] != kEmptyCell || Board[p - 11] != kEmptyCell;
    case 2:
      return p < 10 || Board[p - 10] != kEmptyCell;
    default:
      return p < 10 || Board[p - 10] != kEmptyCell || Board[p - 9] != kEmptyCell;
  }
}

// A digit for a new pair: 2..Kinds+2, the two ends half as likely as the others.
std::uint8_t DealCell() {
  const float value = float(Kinds) * Rnd() + 2.0f;
  return RoundHalfEven<std::uint8_t>(value);
}

// One soft-drop step scores the level; the score stops at its 32-bit limit.
void ScoreSoftDrop() {
  const std::int64_t raised = std::int64_t(Score) + Level;
  Score = std::int32_t(std::min<std::int64_t>(raised, std::numeric_limits<std::int32_t>::max()));
  if (Score >= HiScore) HiScore = Score;
  DrawStatusPanel();
}

// One lock in five brings a hundredth of the level goal toward the next level.
void LockBonus() {
  const float r = Rnd();
  const float scaled = r * 5.0f;
  if (scaled >= 4.0f) LevelSum = RoundHalfEven<std::int32_t>(double(LevelSum) + LevelNorm / 100.0);
}

void LockPair() {
  Landed = False;
  FallOfs = 0;
  LockBonus();
  Board[CurPos] = CurPiece[0];
  Board[CurPos + PairOffset[CurDir]] = CurPiece[1];
  Busy = True;
  SettleBoard();
  CheckBoard();
  NewPiece();
  Busy = False;
}

// The pair rests: it falls on when moved off its support, or locks once the delay is over.
void StepLandedPair() {
  if (!PairBlocked()) {
    // One row lower at offset 0 is the same place on screen as this row at offset 20.
    CurPos -= 10;
    Landed = False;
    StepDue = False;
    FallOfs = 0;
    return;
  }
  if (TickSince(LandTick) <= kLockDelay) return;
  LockPair();
}

void StepFallingPair() {
  if (FallOfs < kRowHeight && FromLoop == True) {
    FallOfs = std::uint8_t(std::min(255, FallOfs + FallStep));
  } else if (PairBlocked()) {
    if (FromLoop == False) FallOfs = kRowHeight;
    Landed = True;
    LandTick = GetTickCount();
    PlayEffect("\\Fall.wav");
  } else {
    StepDue = True;
    CurPos -= 10;
    StepDue = False;
    if (FromLoop == True) FallOfs = FallStep;
  }
  FallTick = GetTickCount();
}

}  // namespace

void NewPiece() {
  if (Board[kGameOverCell] != kEmptyCell) GameOver();
  // DeleteMarked has already put the super pair into NextPiece when DelSum reached SuperAt.
  if (DelSum >= SuperAt && SuperArmed == False) SuperArmed = True;
  CurPiece[0] = NextPiece[0];
  CurPiece[1] = NextPiece[1];
  CurPos = kSpawnPos;
  NextPiece[0] = DealCell();
  NextPiece[1] = DealCell();
  FallOfs = 0;
  FallTick = GetTickCount();
  StepDue = False;
  CurDir = 0;
  NextAnim = True;
}

void FallPair() {
  if (PressDown == 1 && FromLoop == False) {
    // A soft drop has no time test; a pair that already rests scores nothing.
    if (Landed == False) ScoreSoftDrop();
  } else if (std::int64_t(TickSince(FallTick)) <= FallWait) {
    return;
  }
  if (Landed == True) {
    StepLandedPair();
  } else {
    StepFallingPair();
  }
}

void SettleBoard() {
  bool moved = false;
  // Bottom up, so the cells under i have already come to rest when i is handled.
  for (int i = 10; i <= 159; ++i) {
    if (Board[i - 10] != kEmptyCell || Board[i] == kEmptyCell) continue;
    int gap = 0;
    for (int below = i - 10; below >= 0; below -= 10)
      if (Board[below] == kEmptyCell) ++gap;
    Board[i - 10 * gap] = Board[i];
    Board[i] = kEmptyCell;
    moved = true;
  }
  if (!moved) return;
  HidePair = True;
  RedrawAndYield();
  HidePair = False;
  PlayEffect("\\Fall.wav");
  WaitSince(GetTickCount(), kSettlePause);
}
