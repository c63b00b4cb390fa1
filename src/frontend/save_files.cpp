#include "frontend/save_files.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "frontend/save_records.h"
#include "gameplay/game_state.h"
#include "music/clsMIDI.h"
#include "platform/system.h"

namespace {

const char* const kHighScoreFile = "\\HighSc.sav";
const char* const kSettingsFile = "\\user.ini";

void ReportFileTrouble(const std::string& what, const std::string& reason) {
  std::fprintf(stderr, "fumbo2: %s: %s\n", what.c_str(), reason.c_str());
}

// Writes the record over the start of the file, in place, keeping any bytes beyond it; says
// so on standard error when it is not saved.
template <typename Record, typename Encoder>
bool SaveRecord(const char* name, const Record& record, Encoder encode) {
  std::vector<std::uint8_t> bytes;
  encode(record, bytes);
  std::string error;
  if (WriteRecordFile(AppPath() + name, bytes, &error)) return true;
  ReportFileTrouble(std::string(name + 1) + " was not saved", error);
  return false;
}

// Only the record's bytes are read, however long the file.
std::vector<std::uint8_t> LoadFile(const char* name, std::size_t length) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadRecordFile(AppPath() + name, length, bytes, &error))
    ReportFileTrouble(std::string("reading ") + (name + 1), error);
  return bytes;
}

// A message of the exit; none when the session is ending, as nobody is there to answer it.
void Tell(const std::string& text) {
  if (QuietExit != True) MsgBox(text, MsgBoxButtons::Ok);
}

std::string ExitMessage() {
  long long shown = 0;
  if (FPS.has_value() && std::isfinite(*FPS)) shown = static_cast<long long>(std::floor(*FPS));
  return "このバージョンは体験版ですので、まだまだ制作中です。\n"
         "この下の値を作者まで送っていただけると幸いです。\n"
         "詳しくはReadme.txtをお読み下さい。\n\nFPS = " +
         std::to_string(shown);
}

}  // namespace

void LoadSaveFiles() {
  HighScoreRec = DecodeHighScore(LoadFile(kHighScoreFile, kHighScoreBytes));
  UserSettings = DecodeUserSettings(LoadFile(kSettingsFile, kUserSettingsBytes));
  SaveFilesRead = True;
}

void SaveHighScore() {
  if (Score > HighScoreRec.HiScore) {
    HighScoreRec.RecScore = Score;
    HighScoreRec.HiScore = HiScore;
    HighScoreRec.Level = Level;
    HighScoreRec.DelSum = DelSum;
    HighScoreRec.MaxCombo = MaxCombo;
    if (SaveRecord(kHighScoreFile, HighScoreRec, EncodeHighScore))
      Tell("新記録更新！データを保存しました。");
    else
      Tell("新記録更新！ですが、データを保存できませんでした・・。");
  } else {
    Tell("新記録更新できませんでした・・。");
  }
}

namespace {

// The exit's two writes, each once: the end of a session may cut into the exit (at its
// messages, or where it hides the window) and then finishes what is left.
void SaveBothFiles() {
  if (HighScoreSaved != True) {
    HighScoreSaved = True;
    SaveHighScore();
  }
  if (SettingsSaved != True) {
    SettingsSaved = True;
    SaveRecord(kSettingsFile, UserSettings, EncodeUserSettings);
  }
}

}  // namespace

void QuitGame() {
  BgmPlayer().StopM();
  ReleaseBgmPlayer();
  CurrentBackend().Hide(WindowId::Main);
  SaveBothFiles();
  Tell(ExitMessage());
  End();
}

void EndSession() {
  // Before start-up has read them, saving would put zeros over the player's files.
  if (SaveFilesRead != True) End();
  // The files first: the window system or the sound may be gone already, and the program
  // ends right after, which stops the music and takes the window down.
  QuietExit = True;
  SaveBothFiles();
  End();
}
