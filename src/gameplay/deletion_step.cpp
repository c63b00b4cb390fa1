// One deletion step of a chain: the fade, the combo banner, the count-up of the score, the
// level-up and the super pair, the neighbour rule, the reveal, the removal and the next
// check. Also the flickering super lamp over the NEXT box.
#include "gameplay/deletion_step.h"

#include <algorithm>

#include "gameplay/clearing_support.h"
#include "gameplay/deletion_animations.h"
#include "gameplay/falling_pair.h"
#include "gameplay/game_state.h"
#include "gameplay/level_table.h"
#include "gameplay/line_check.h"
#include "gameplay/rounding.h"
#include "gameplay/sprites.h"
#include "gameplay/status_panel.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace clearing {
namespace {

constexpr int kCountUpFrames = 50;

// A value counted up from `from` to `to` in fifty equal steps. The running value is kept in
// hundredths, which the steps (a whole number over 50) always are, so it stays exact.
struct CountedValue {
  std::int64_t from;
  std::int64_t to;
  std::int32_t AfterFrame(int k) const {
    std::int64_t hundredths = from * 100 + k * (to - from) * 2;
    std::int64_t whole = hundredths / 100;
    std::int64_t rest = hundredths % 100;
    if (rest < 0) rest += 100, --whole;
    if (rest > 50 || (rest == 50 && (whole & 1) != 0)) ++whole;  // halves to even
    return SaturateToInt32(whole);
  }
};

struct StepTargets {
  CountedValue score;
  CountedValue delSum;
  CountedValue levelSum;
};

StepTargets FixTargets(std::int32_t points, std::int32_t digitSum) {
  // Every target keeps its full value and holds at the top of 32 bits.
  StepTargets t;
  t.score = {Score, SaturateToInt32(std::int64_t(Score) + std::int64_t(points) * 10)};
  t.delSum = {DelSum, SaturateToInt32(std::int64_t(DelSum) + digitSum)};
  t.levelSum = {LevelSum, SaturateToInt32(std::int64_t(LevelSum) + digitSum)};
  return t;
}

bool SuperPairDue() { return DelSum >= SuperAt && SuperArmed == False; }

void RaiseHiScore() {
  if (Score >= HiScore) HiScore = Score;
}

// The word "Combo!" drops, bounces up and settles again.
int ComboWordTop(int k) {
  if (k <= 10) return 50 + 13 * k;
  if (k <= 15) return 180 - 10 * (k - 10);
  return 130 + 10 * (k - 15);
}

void ShowComboBanner() {
  // Cells 1..20 of the 5 x 4 grid; the last one stands for 20 and more.
  const int c = std::max<int>(Combo, 1);
  const int sx = c < 20 ? ((c - 1) % 5) * 60 : 240;
  const int sy = c < 20 ? ((c - 1) / 5) * 60 : 180;
  Tick frameTick = GetTickCount();
  for (int k = 0; k <= 20; ++k) {
    WaitForFrame(frameTick, 20);
    frameTick = GetTickCount();
    CopyWellRect(BackP(), BackPSub());
    DrawMaskedSprite(BackP(), 30, 50 + 6 * k, 60, 60, CmbNP(), sx, sy);
    DrawMaskedSprite(BackP(), 90, ComboWordTop(k), 120, 40, CmbP(), 0, 0);
    CopyWellRect(Main(), BackP());
    DoEvents();
  }
}

// No window events run while the numbers count up.
void CountUp(const StepTargets& t) {
  Tick frameTick = GetTickCount();
  for (int k = 1; k <= kCountUpFrames; ++k) {
    WaitForFrame(frameTick, 10);
    frameTick = GetTickCount();
    Score = t.score.AfterFrame(k);
    DelSum = t.delSum.AfterFrame(k);
    LevelSum = t.levelSum.AfterFrame(k);
    if (SuperPairDue()) Lamp();
    RaiseHiScore();
    DrawStatusPanel();
  }
}

void ApplyFinalValues(const StepTargets& t) {
  Score = static_cast<std::int32_t>(t.score.to);
  DelSum = static_cast<std::int32_t>(t.delSum.to);
  LevelSum = static_cast<std::int32_t>(t.levelSum.to);
  // One level at most per step, before the neighbour rule, which then uses the new Kinds.
  if (LevelSum >= LevelNorm) NextLevel();
  if (SuperPairDue()) NextPiece[0] = NextPiece[1] = kSuperCell;
  // The fuller the gauge, the faster the pair falls; past the goal it goes negative.
  const double ratio = LevelNorm != 0 ? double(LevelSum) / double(LevelNorm) : 0.0;
  FallWait = RoundHalfEven<std::int16_t>(200 - (ratio * 200 + 1));
  RaiseHiScore();
  DrawStatusPanel();
}

void AddDigit(int n, int deleted, int modulus) {
  if (Board[n] == kEmptyCell || Marked[n] != False) return;
  Board[n] = static_cast<std::uint8_t>(((Board[n] - 1) + (deleted - 1)) % modulus + 1);
  Changed[n] = True;
}

// Each deleted digit is added to its occupied neighbours that are not deleted themselves,
// modulo the level's number range plus 2, so a neighbour can wrap round to the digit 0.
void ApplyNeighbourRule() {
  const int modulus = Kinds + 2;
  for (int k = 0; k < kBoardCells; ++k) {
    if (Marked[k] == False) continue;
    const int deleted = Board[k];
    if (k % 10 != 0) AddDigit(k - 1, deleted, modulus);
    if (k % 10 != 9) AddDigit(k + 1, deleted, modulus);
    if (k <= 149) AddDigit(k + 10, deleted, modulus);
    if (k >= 10) AddDigit(k - 10, deleted, modulus);
  }
}

void RemoveMarked() {
  for (int k = 0; k < kBoardCells; ++k) {
    if (Marked[k] != False) {
      Marked[k] = False;
      Board[k] = kEmptyCell;
    }
    if (Changed[k] != False) Changed[k] = False;
  }
}

}  // namespace
}  // namespace clearing

void DeleteMarked(const std::int32_t& Points, const std::int32_t& DigitSum) {
  using namespace clearing;
  AnimateDeletion();
  const StepTargets targets = FixTargets(Points, DigitSum);
  // BackPSub holds the well as the fade left it while the banner passes over it.
  CopyWellRect(BackPSub(), BackP());
  ShowComboBanner();
  CopyWellRect(BackP(), BackPSub());
  BackPSub().Cls();
  CountUp(targets);
  ApplyFinalValues(targets);
  ApplyNeighbourRule();
  ShowChanged();
  RemoveMarked();
  ForceClear = False;
  WaitForFrame(GetTickCount(), 500);
  SettleBoard();
  CheckBoard();
}

void Lamp() {
  using namespace clearing;
  Surface& back = BackP();
  LampOn = True;
  back.FillStyle = 0;
  const float r1 = Rnd();
  const float r2 = Rnd();
  const float r3 = Rnd();
  // Single precision, as the random numbers are: each channel 155..255.
  auto channel = [](float r) { return RoundHalfEven<std::int16_t>(double(100.0f * r + 155.0f)); };
  back.FillColor = RGB(channel(r1), channel(r2), channel(r3));
  back.ForeColor = back.FillColor;
  RoundRect(back, 230, 15, 250, 55, 10, 5);
  back.DrawMode = 13;
  back.FillStyle = 1;
  BitBlt(Main(), 230, 15, 20, 40, back, 230, 15, SRCCOPY);
}
