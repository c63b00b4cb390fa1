// Loading the save files from arbitrary bytes, then the exit's save: the records take what
// the files give, and saving keeps every byte beyond the records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/save_files.h"
#include "frontend/save_records.h"
#include "fuzz_support.h"
#include "gameplay/game_state.h"
#include "platform/headless/headless_backend.h"

namespace {

std::string FolderFile(const char* name) { return ScratchFolder() + "/" + name; }

// The file as the save must leave it: the record over its first bytes, the rest kept.
void CheckSaved(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                std::size_t recordBytes) {
  if (after.size() != std::max(before.size(), recordBytes)) FuzzFailure("a save changed the size");
  for (std::size_t i = recordBytes; i < before.size(); ++i)
    if (after[i] != before[i]) FuzzFailure("a save lost a byte beyond the record");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzBackend();
  return 0;
}

// Input: one byte giving the length of user.ini's bytes, those bytes, then HighSc.sav.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t settingsLength = std::min<std::size_t>(data[0], size - 1);
  const std::vector<std::uint8_t> settings(data + 1, data + 1 + settingsLength);
  const std::vector<std::uint8_t> highScore(data + 1 + settingsLength, data + size);
  WriteWholeFile(FolderFile("user.ini"), settings.data(), settings.size());
  WriteWholeFile(FolderFile("HighSc.sav"), highScore.data(), highScore.size());
  FuzzBackend();
  ResetGameState();
  LoadSaveFiles();

  // What was read is the records' decoding of the same bytes.
  const UserSettingsRec expectedSettings = DecodeUserSettings(settings);
  const HighScoreRecord expectedHigh = DecodeHighScore(highScore);
  if (UserSettings.KeySense != expectedSettings.KeySense ||
      UserSettings.BgmOn != expectedSettings.BgmOn ||
      UserSettings.SoundOn != expectedSettings.SoundOn)
    FuzzFailure("user.ini read differently from its bytes");
  if (HighScoreRec.HiScore != expectedHigh.HiScore ||
      HighScoreRec.RecScore != expectedHigh.RecScore)
    FuzzFailure("HighSc.sav read differently from its bytes");

  // The exit: a record game saves HighSc.sav (unless the file already holds the largest
  // score there is), and user.ini is written every time.
  const bool record = HighScoreRec.HiScore != INT32_MAX;
  Score = record ? HighScoreRec.HiScore + 1 : INT32_MAX;
  HiScore = Score;
  try {
    QuitGame();
  } catch (const ProgramEnded&) {
  }
  const std::vector<std::uint8_t> saved = ReadWholeFile(FolderFile("HighSc.sav"));
  if (record) {
    CheckSaved(highScore, saved, kHighScoreBytes);
    const HighScoreRecord reread = DecodeHighScore(saved);
    if (reread.HiScore != Score || reread.RecScore != Score) FuzzFailure("the record was not kept");
    if (reread.Reserved0 != expectedHigh.Reserved0 || reread.Reserved17 != expectedHigh.Reserved17)
      FuzzFailure("the reserved bytes changed");
  } else if (saved != highScore) {
    FuzzFailure("HighSc.sav rewritten without a record");
  }
  const std::vector<std::uint8_t> settingsSaved = ReadWholeFile(FolderFile("user.ini"));
  CheckSaved(settings, settingsSaved, kUserSettingsBytes);
  const UserSettingsRec reread = DecodeUserSettings(settingsSaved);
  if (reread.KeySense != expectedSettings.KeySense || reread.BgmOn != expectedSettings.BgmOn ||
      reread.SoundOn != expectedSettings.SoundOn)
    FuzzFailure("user.ini did not keep its settings");
  return 0;
}
