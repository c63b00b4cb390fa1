#include "frontend/save_files.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// The file's bytes as they are now, so that a save keeps everything beyond the record.
// False when the file exists but cannot be read: writing it then could lose its tail.
bool CurrentFileBytes(const std::string& gamePath, std::vector<std::uint8_t>& bytes,
                      std::string& error) {
  const std::string path = NativePath(gamePath);
  bytes.clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  std::ifstream in(path, std::ios::binary);
  if (!in || !std::filesystem::is_regular_file(path, ec)) {
    error = "cannot read " + path;
    return false;
  }
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {  // the stream library throws on a read error
    error = "cannot read " + path;
    return false;
  }
  return true;
}

// Writes the record over the start of the file, keeping any bytes beyond it. The old file
// stays whole when anything fails.
template <typename Record, typename Encoder>
bool SaveRecord(const std::string& gamePath, const Record& record, Encoder encode,
                std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!CurrentFileBytes(gamePath, bytes, error)) return false;
  encode(record, bytes);
  return ReplaceRecordFile(gamePath, bytes, &error);
}

std::vector<std::uint8_t> LoadFile(const char* name) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadRecordFile(AppPath() + name, bytes, &error))
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
  HighScoreRec = DecodeHighScore(LoadFile(kHighScoreFile));
  UserSettings = DecodeUserSettings(LoadFile(kSettingsFile));
  SaveFilesRead = True;
}

void SaveHighScore() {
  if (Score > HighScoreRec.HiScore) {
    HighScoreRec.RecScore = Score;
    HighScoreRec.HiScore = HiScore;
    HighScoreRec.Level = Level;
    HighScoreRec.DelSum = DelSum;
    HighScoreRec.MaxCombo = MaxCombo;
    std::string error;
    if (SaveRecord(AppPath() + kHighScoreFile, HighScoreRec, EncodeHighScore, error)) {
      Tell("新記録更新！データを保存しました。");
    } else {
      ReportFileTrouble("saving the high score", error);
      Tell("新記録更新！ですが、データを保存できませんでした・・。");
    }
  } else {
    Tell("新記録更新できませんでした・・。");
  }
}

void QuitGame() {
  Quitting = True;
  BgmPlayer().StopM();
  ReleaseBgmPlayer();
  CurrentBackend().Hide(WindowId::Main);
  SaveHighScore();
  std::string error;
  if (!SaveRecord(AppPath() + kSettingsFile, UserSettings, EncodeUserSettings, error))
    ReportFileTrouble("saving the settings", error);
  Tell(ExitMessage());
  End();
}

void EndSession() {
  // Before start-up has read them, saving would put zeros over the player's files.
  if (SaveFilesRead != True) End();
  QuietExit = True;
  if (Quitting != True) QuitGame();
}
