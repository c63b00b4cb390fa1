// All state of the game, in one place, under the names the game's rules use. Booleans are
// 16-bit (True = -1, False = 0); ticks are 32-bit millisecond counts whose differences are
// always taken modulo 2^32. Nothing resets this state: the program plays one game.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

class clsMIDI;

using Bool16 = std::int16_t;
constexpr Bool16 True = -1;
constexpr Bool16 False = 0;
using Tick = std::uint32_t;

// Cell values: 0 empty, 1..10 the digits 0..9, 255 a super cell.
constexpr std::uint8_t kEmptyCell = 0;
constexpr std::uint8_t kSuperCell = 255;
constexpr int kSpawnPos = 154;      // pivot of a new pair (row 15, column 4)
constexpr int kGameOverCell = 144;  // row 14, column 4
// Pixels the falling pair sinks, by FallStep each frame, before it moves down one row.
constexpr int kRowHeight = 20;

// Offset of the second cell from the pivot for each CurDir: below, left, above, right.
constexpr int PairOffset[4] = {-10, -1, 10, 1};

// Score and progress.
extern std::int32_t Score;
extern std::int32_t HiScore;
extern std::int16_t Level;
extern std::int32_t DelSum;
extern std::int32_t SuperAt;
extern std::uint8_t SuperCount;
extern Bool16 SuperArmed;
extern std::int32_t LevelNorm;
extern std::int32_t LevelSum;
extern std::uint8_t Combo;
extern std::uint8_t MaxCombo;
extern std::uint8_t Kinds;
extern std::uint8_t FallStep;
extern std::int16_t FallWait;

// The well. Board[160] is never written and stays 0.
extern std::uint8_t Board[161];
extern Bool16 Marked[160];
extern Bool16 Changed[160];
extern Bool16 HidePair;
extern Bool16 ForceClear;

// The pairs.
extern std::uint8_t NextPiece[2];
extern std::uint8_t CurPiece[2];
extern std::uint8_t CurPos;
extern std::uint8_t CurDir;
extern std::uint8_t FallOfs;
extern Tick FallTick;
extern Bool16 StepDue;
extern Bool16 Landed;
extern Tick LandTick;
extern Bool16 FromLoop;

// Key states: 0 up, 1 down and not yet applied, 2 applied once in manual mode.
extern std::uint8_t PressLeft;
extern std::uint8_t PressRight;
extern std::uint8_t PressDown;
extern std::uint8_t PressZ;
extern std::uint8_t PressX;

// The settings record (user.ini).
struct UserSettingsRec {
  std::uint8_t KeySense = 0;  // 0 manual, 1..5 repeat every KeySense * 40 ms
  Bool16 BgmOn = False;
  Bool16 SoundOn = False;
};
extern UserSettingsRec UserSettings;

// The high-score record (HighSc.sav). The reserved fields keep what was loaded.
struct HighScoreRecord {
  std::uint16_t Reserved0 = 0;
  std::int32_t RecScore = 0;
  std::int32_t HiScore = 0;
  std::int16_t Level = 0;
  std::int32_t DelSum = 0;
  std::uint8_t MaxCombo = 0;
  std::uint32_t Reserved17 = 0;
};
extern HighScoreRecord HighScoreRec;

// Timing, display and front-end state.
extern std::uint8_t TickExp;
extern Tick PlayStartTick;
extern std::optional<double> FPS;  // no value until the first caption update
extern std::int16_t PulseAngle;
extern Bool16 NextAnim;
extern Bool16 LampOn;
extern Bool16 OptionShown;
extern std::uint8_t OptCursor;
extern std::int16_t OptPulseAngle;
extern Bool16 Busy;
// The exit: start-up has read the save files (before that an exit writes nothing), which of
// the exit's two writes are done, and whether it shows no message because the session is
// ending.
extern Bool16 SaveFilesRead;
extern Bool16 HighScoreSaved;
extern Bool16 SettingsSaved;
extern Bool16 QuietExit;

// Procedure statics, kept for the whole run (here so that tests can see and reset them).
extern Tick KeyTick;               // HandleKeys
extern std::int32_t FrameCount;    // GameLoop
extern std::int32_t SecCount;      // GameLoop
extern std::int16_t NextScroll;    // DrawWell
extern std::uint8_t ShownNext[2];  // DrawWell

// The one music player, created on first use and released at exit.
clsMIDI& BgmPlayer();
void ReleaseBgmPlayer();

// Puts every variable back to its value at program start (for tests; the game never
// calls it).
void ResetGameState();
