#include "gameplay/game_state.h"

#include <algorithm>

#include "music/clsMIDI.h"

std::int32_t Score;
std::int32_t HiScore;
std::int16_t Level;
std::int32_t DelSum;
std::int32_t SuperAt;
std::uint8_t SuperCount;
Bool16 SuperArmed;
std::int32_t LevelNorm;
std::int32_t LevelSum;
std::uint8_t Combo;
std::uint8_t MaxCombo;
std::uint8_t Kinds;
std::uint8_t FallStep;
std::int16_t FallWait;

std::uint8_t Board[161];
Bool16 Marked[160];
Bool16 Changed[160];
Bool16 HidePair;
Bool16 ForceClear;

std::uint8_t NextPiece[2];
std::uint8_t CurPiece[2];
std::uint8_t CurPos;
std::uint8_t CurDir;
std::uint8_t FallOfs;
Tick FallTick;
Bool16 StepDue;
Bool16 Landed;
Tick LandTick;
Bool16 FromLoop;

std::uint8_t PressLeft;
std::uint8_t PressRight;
std::uint8_t PressDown;
std::uint8_t PressZ;
std::uint8_t PressX;

UserSettingsRec UserSettings;
HighScoreRecord HighScoreRec;

std::uint8_t TickExp;
Tick PlayStartTick;
std::optional<double> FPS;
std::int16_t PulseAngle;
Bool16 NextAnim = True;
Bool16 LampOn;
Bool16 OptionShown;
std::uint8_t OptCursor;
std::int16_t OptPulseAngle;
Bool16 Busy;
Bool16 SaveFilesRead;
Bool16 HighScoreSaved;
Bool16 SettingsSaved;
Bool16 QuietExit;

Tick KeyTick;
std::int32_t FrameCount;
std::int32_t SecCount;
std::int16_t NextScroll;
std::uint8_t ShownNext[2];

namespace {
std::unique_ptr<clsMIDI> gBgmPlayer;
}

clsMIDI& BgmPlayer() {
  if (!gBgmPlayer) gBgmPlayer = std::make_unique<clsMIDI>();
  return *gBgmPlayer;
}

void ReleaseBgmPlayer() { gBgmPlayer.reset(); }

void ResetGameState() {
  Score = HiScore = 0;
  Level = 0;
  DelSum = SuperAt = 0;
  SuperCount = 0;
  SuperArmed = False;
  LevelNorm = LevelSum = 0;
  Combo = MaxCombo = Kinds = FallStep = 0;
  FallWait = 0;
  std::fill(std::begin(Board), std::end(Board), 0);
  std::fill(std::begin(Marked), std::end(Marked), False);
  std::fill(std::begin(Changed), std::end(Changed), False);
  HidePair = ForceClear = False;
  NextPiece[0] = NextPiece[1] = CurPiece[0] = CurPiece[1] = 0;
  CurPos = CurDir = FallOfs = 0;
  FallTick = LandTick = 0;
  StepDue = Landed = FromLoop = False;
  PressLeft = PressRight = PressDown = PressZ = PressX = 0;
  UserSettings = {};
  HighScoreRec = {};
  TickExp = 0;
  PlayStartTick = 0;
  FPS.reset();
  PulseAngle = 0;
  NextAnim = True;
  LampOn = OptionShown = False;
  OptCursor = 0;
  OptPulseAngle = 0;
  Busy = False;
  SaveFilesRead = HighScoreSaved = SettingsSaved = QuietExit = False;
  KeyTick = 0;
  FrameCount = SecCount = 0;
  NextScroll = 0;
  ShownNext[0] = ShownNext[1] = 0;
  ReleaseBgmPlayer();
}
