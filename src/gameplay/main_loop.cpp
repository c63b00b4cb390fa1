// The endless loop of play: the frame gate, the caption's play clock, and one gravity step,
// one key pass and one redraw per frame. The option screen pauses it.
#include "gameplay/main_loop.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "frontend/option_screen.h"
#include "gameplay/falling_pair.h"
#include "gameplay/game_state.h"
#include "gameplay/key_handling.h"
#include "gameplay/well_drawing.h"
#include "platform/system.h"

namespace {

constexpr std::uint32_t kCaptionInterval = 1000;  // ms between updates of the play clock

// "#Fumbo!2nd  （体験版） [ 1 時間 5 秒 ]": hours, minutes and seconds, a unit at 0 left out.
std::string PlayClockCaption(std::uint32_t seconds) {
  const std::uint32_t hours = seconds / 3600;
  const std::uint32_t minutes = (seconds - 3600 * hours) / 60;
  const std::uint32_t secs = seconds - 3600 * hours - 60 * minutes;
  std::string middle;
  if (hours > 0) middle += std::to_string(hours) + " 時間 ";
  if (minutes > 0) middle += std::to_string(minutes) + " 分 ";
  if (secs > 0) middle += std::to_string(secs) + " 秒 ";
  return "#Fumbo!2nd  （体験版） [ " + middle + "]";
}

void UpdatePlayClock(Tick& secTick) {
  ++SecCount;
  FPS = double(FrameCount) / double(SecCount);
  secTick = GetTickCount();
  const std::uint32_t seconds = TickSince(PlayStartTick) / 1000;
  CurrentBackend().SetCaption(WindowId::Main, PlayClockCaption(seconds));
}

void PlayFrame(Tick& secTick) {
  if (TickSince(secTick) > kCaptionInterval) UpdatePlayClock(secTick);
  FromLoop = True;
  FallPair();
  FromLoop = False;
  HandleKeys();
  RedrawAndYield();
  if (FrameCount < INT32_MAX) ++FrameCount;
  DoEvents();
}

}  // namespace

void GameLoop() {
  const double framePeriod = std::pow(double(TickExp), 2.0);
  Tick frameTick = GetTickCount();
  Tick secTick = GetTickCount();
  for (;;) {
    const double elapsed = double(TickSince(frameTick));
    if (elapsed < framePeriod) {
      DoEvents();
      Idle(static_cast<std::uint32_t>(std::ceil(framePeriod - elapsed)));
      continue;
    }
    frameTick = GetTickCount();
    if (OptionShown == False) {
      PlayFrame(secTick);
    } else {
      DrawOptionFrame();
      DoEvents();
    }
  }
}

void RedrawAndYield() {
  DrawWell();
  DoEvents();
}
