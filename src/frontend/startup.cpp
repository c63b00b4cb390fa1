#include "frontend/startup.h"

#include <cmath>
#include <string>

#include "frontend/main_window_events.h"
#include "frontend/save_files.h"
#include "frontend/splash_bars.h"
#include "frontend/window_geometry.h"
#include "gameplay/falling_pair.h"
#include "gameplay/game_state.h"
#include "gameplay/level_table.h"
#include "gameplay/main_loop.h"
#include "gameplay/rounding.h"
#include "gameplay/status_panel.h"
#include "gameplay/surfaces.h"
#include "music/clsMIDI.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace {

constexpr std::uint32_t kSplashFrameMs = 30;
constexpr std::uint32_t kSplashHoldMs = 2000;

void PumpAndIdle() {
  DoEvents();
  Idle();
}

// 101 frames; between frames the splash is moved (to the same place) and events are pumped.
void SlideInSplash(LightBars& bars) {
  std::uint32_t frameTick = GetTickCount();
  for (int i = 100; i >= 0;) {
    const float centredTop = CentredTopTwips(WindowId::Splash);
    MoveWindowTop(WindowId::Splash, centredTop - centredTop / static_cast<float>(101 - i));
    if (TickSince(frameTick) < kSplashFrameMs) {
      PumpAndIdle();
      continue;
    }
    DrawSplashFrame(AD(1), bars, i);
    BitBlt(AD(0), 0, 0, 200, 70, AD(1), 0, 0, SRCCOPY);
    frameTick = GetTickCount();
    DoEvents();
    --i;
  }
}

std::uint8_t DealCell() {
  const float value = static_cast<float>(Kinds) * Rnd() + 2.0f;
  return RoundHalfEven<std::uint8_t>(value);
}

}  // namespace

void Form_Load() {
  Backend& backend = CurrentBackend();
  WindowRect outer = backend.OuterRect(WindowId::Splash);
  int clientWidth = 0, clientHeight = 0;
  backend.ClientSize(WindowId::Splash, clientWidth, clientHeight);
  const float width = kTwipsPerPixel * static_cast<float>(AD(0).Width());
  const float height = kTwipsPerPixel * static_cast<float>(AD(0).Height());
  backend.SetClientSize(WindowId::Splash, TwipsToPixels(width) - (outer.width - clientWidth),
                        TwipsToPixels(height) - (outer.height - clientHeight));
  int screenWidth = 0, screenHeight = 0;
  backend.ScreenSize(screenWidth, screenHeight);
  backend.Move(
      WindowId::Splash,
      TwipsToPixels(kTwipsPerPixel * static_cast<float>(screenWidth) / 2.0f - width / 2.0f),
      TwipsToPixels(kTwipsPerPixel * static_cast<float>(screenHeight) / 2.0f - height / 2.0f));
}

void RunSplash() {
  Backend& backend = CurrentBackend();
  backend.AttachSurface(WindowId::Splash, &AD(0));
  backend.SetCaption(WindowId::Splash, "Ad of Rilo");
  Form_Load();
  backend.Show(WindowId::Splash);

  LightBars bars = NewLightBars();
  BgmPlayer().FileName(AppPath() + "\\Opening.mid");
  BgmPlayer().Play();
  SlideInSplash(bars);

  AD(1).Cls();
  BitBlt(AD(0), 0, 0, 200, 70, AD(1), 0, 0, SRCCOPY);
  const std::uint32_t holdTick = GetTickCount();
  while (TickSince(holdTick) < kSplashHoldMs) PumpAndIdle();
  // The end of the opening tune is found only by asking the player.
  while (BgmPlayer().Mode() == "PLAYING") PumpAndIdle();
  BgmPlayer().StopM();

  backend.Unload(WindowId::Splash);
  UnloadAD();
}

void ShowMainWindow() {
  Backend& backend = CurrentBackend();
  Main().SetPicture(GameBackgroundPicture());
  BackPSub().SetPicture(GameBackgroundPicture());
  backend.AttachSurface(WindowId::Main, &Main());
  backend.SetCaption(WindowId::Main, "#Fumbo!2nd  （体験版）");
  backend.SetIcon(WindowId::Main, IconPicture());
  InstallMainWindowHandlers();
  FitAndCentreWindow(WindowId::Main, Main().Width(), Main().Height());
  backend.Show(WindowId::Main);
}

void PrepareFirstGame() {
  DrawPanelLabels();
  FallWait = 500;
  NextPiece[0] = DealCell();
  NextPiece[1] = DealCell();
  const std::int16_t base = static_cast<std::int16_t>((SuperCount + 1) * 80);
  SuperAt = static_cast<std::int32_t>(
      std::nearbyint((0.05 * static_cast<double>(Rnd()) + 1.0) * static_cast<double>(base)));
  SuperCount = static_cast<std::uint8_t>(SuperCount + 1);
  NextLevel();
  LoadSaveFiles();
  HiScore = HighScoreRec.HiScore;
  DrawStatusPanel();
  NewPiece();
  BgmPlayer().FileName(AppPath() + "\\Game.mid");
  if (UserSettings.BgmOn == True) BgmPlayer().Play();
}

void StartUp() {
  Randomize();
  TickExp = 7;
  RunSplash();
  ShowMainWindow();
  PrepareFirstGame();
  PlayStartTick = GetTickCount();
  GameLoop();
}
