#include "frontend/option_transition.h"

#include <cmath>

#include "frontend/frame_gate.h"
#include "frontend/option_screen.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"

namespace {

constexpr std::uint32_t kFrameMs = 30;

// The top `height` rows of each of the twenty 20-row slats of the option background.
void CopyBands(int height) {
  for (int j = 0; j <= 380; j += 20)
    BitBlt(BackP(), 0, j, BackP().Width(), height, OptBackP(), 0, j, SRCCOPY);
}

void DrawBlindsFrame(int height) {
  CopyWholeSurface(BackP(), BackPSub());
  CopyBands(height);
  CopyWholeSurface(Main(), BackP());
}

void DrawSlideFrame(int offsetX, int offsetY, std::uint8_t slideMode) {
  CopyWholeSurface(BackP(), OptBackP());
  DrawOptionMenu(static_cast<std::int16_t>(offsetX), static_cast<std::int16_t>(offsetY), slideMode);
  CopyWholeSurface(Main(), BackP());
}

// The game screen is kept in BackPSub until the screen closes again.
void OpenOptionScreen() {
  CopyWholeSurface(BackPSub(), Main());
  std::uint32_t frameTick = GetTickCount();
  for (int i = 1; i <= 20; ++i) {
    WaitForFrame(frameTick, kFrameMs);
    DrawBlindsFrame(i);
  }
  for (int i = 0; i <= 20; ++i) {
    WaitForFrame(frameTick, kFrameMs);
    OptionSlideOffsets offsets = OpeningSlideOffsets(i);
    DrawSlideFrame(offsets.x, offsets.y, 0);
  }
}

void CloseOptionScreen() {
  std::uint32_t frameTick = GetTickCount();
  for (int i = 0; i <= 30; ++i) {
    WaitForFrame(frameTick, kFrameMs);
    OptionSlideOffsets offsets = ClosingSlideOffsets(i);
    DrawSlideFrame(offsets.x, offsets.y, 2);
  }
  for (int i = 20; i >= 0; --i) {
    WaitForFrame(frameTick, kFrameMs);
    DrawBlindsFrame(i);
  }
}

}  // namespace

void OptionTransition(const std::int16_t& Opening) {
  if (Opening == True)
    OpenOptionScreen();
  else
    CloseOptionScreen();
}

OptionSlideOffsets OpeningSlideOffsets(int frame) {
  const double distance = 20 - frame;
  return {static_cast<int>(std::nearbyint(-0.5 * (distance * distance))),
          -(20 - frame) * (20 - frame)};
}

OptionSlideOffsets ClosingSlideOffsets(int frame) {
  return {frame * frame - 15 * frame, 4 * frame};
}
