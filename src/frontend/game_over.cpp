#include "frontend/game_over.h"

#include <cmath>

#include "frontend/frame_gate.h"
#include "frontend/save_files.h"
#include "gameplay/game_state.h"
#include "gameplay/rounding.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace {

constexpr std::uint32_t kFrameMs = 30;
constexpr int kWellCells = 150;

struct ShardSpeeds {
  float vx[kWellCells];
  float vy[kWellCells];
};

// Four random numbers per cell, empty cells included.
void DrawShardSpeeds(ShardSpeeds& speeds) {
  for (int i = 0; i < kWellCells; ++i) {
    float r1 = Rnd(), r2 = Rnd(), r3 = Rnd(), r4 = Rnd();
    speeds.vx[i] = (r1 * 150.0f + 200.0f) / 30.0f;
    speeds.vy[i] = (r2 * 200.0f + 300.0f) / 30.0f;
    if (2.0f * r3 >= 1.0f) speeds.vx[i] = -speeds.vx[i];
    if (2.0f * r4 >= 1.0f) speeds.vy[i] = -speeds.vy[i];
  }
}

int RoundSingle(float value) { return RoundHalfEven<int>(value); }

void DrawBurstFrame(const ShardSpeeds& speeds, int k) {
  Surface& back = BackP();
  CopyWholeSurface(back, BackPSub());
  for (int i = 0; i < kWellCells; ++i) {
    if (Board[i] == 0) continue;
    int x =
        RoundSingle(static_cast<float>(25 + 20 * (i % 10)) + static_cast<float>(k) * speeds.vx[i]);
    int y = RoundSingle(static_cast<float>(30 + 20 * ((159 - i) / 10)) +
                        static_cast<float>(k) * speeds.vy[i]);
    int sourceX = (Board[i] - 1) * 10;
    BitBlt(back, x, y, 10, 20, BlP()[1], sourceX, 0, SRCPAINT);
    BitBlt(back, x, y, 10, 20, BlP()[0], sourceX, 0, SRCAND);
  }
  BitBlt(Main(), 20, 50, 200, 300, back, 20, 50, SRCCOPY);
}

// Thirty black blinds, each `k` twentieths of its full width; they accumulate on BackP.
void DrawBlindsFrame(int k) {
  Surface& back = BackP();
  const float width = static_cast<float>(back.Width());
  for (int j = 0; j < 30; ++j) {
    float left = static_cast<float>(j) * width / 30.0f;
    float right = left + static_cast<float>(k) * width / 30.0f / 20.0f;
    Rectangle(back, RoundSingle(left), 0, RoundSingle(right), back.Height());
  }
  CopyWholeSurface(Main(), back);
}

// The "Game Over" words, centred as a masked sprite on the black screen kept in BackPSub.
void PrepareTitle() {
  Surface& saved = BackPSub();
  CopyWholeSurface(saved, BackP());
  for (int member = 1; member >= 0; --member) {
    Surface& sheet = GameOverP()[member];
    int left = RoundSingle(static_cast<float>(saved.Width()) / 2.0f -
                           static_cast<float>(sheet.Width()) / 2.0f);
    int top = RoundSingle(static_cast<float>(saved.Height()) / 2.0f -
                          static_cast<float>(sheet.Height()) / 2.0f);
    BitBlt(saved, left, top, sheet.Width(), sheet.Height(), sheet, 0, 0,
           member == 1 ? SRCPAINT : SRCAND);
  }
  BackP().DrawMode = 9;
}

void DrawFadeFrame(int k) {
  Surface& back = BackP();
  CopyWholeSurface(back, BackPSub());
  back.FillColor = RGB(3 * k, 3 * k, 3 * k);
  back.ForeColor = back.FillColor;
  Rectangle(back, 0, 0, back.Width(), back.Height());
  CopyWholeSurface(Main(), back);
}

}  // namespace

void GameOver() {
  ShardSpeeds speeds;
  DrawShardSpeeds(speeds);
  BitBlt(Main(), 20, 0, 200, 350, BackPSub(), 20, 0, SRCCOPY);
  CopyWholeSurface(BackPSub(), Main());

  std::uint32_t frameTick = GetTickCount();
  for (int k = 0; k <= 30; ++k) {
    WaitForFrame(frameTick, kFrameMs);
    DrawBurstFrame(speeds, k);
  }

  CopyWholeSurface(BackP(), BackPSub());
  BackP().FillStyle = 0;
  BackP().DrawMode = 13;
  BackP().FillColor = RGB(0, 0, 0);
  BackP().ForeColor = BackP().FillColor;
  for (int k = 0; k <= 20; ++k) {
    WaitForFrame(frameTick, kFrameMs);
    DrawBlindsFrame(k);
  }

  PrepareTitle();
  for (int k = 0; k <= 85; ++k) {
    WaitForFrame(frameTick, kFrameMs);
    DrawFadeFrame(k);
  }

  WaitSince(GetTickCount(), 2000);
  QuitGame();
}
