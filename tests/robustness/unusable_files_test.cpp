// A program folder the game cannot write, save files that are not files, tunes and sounds
// that are missing or broken: the game plays on to its normal exit, loses no byte of what
// was there, and says on standard error, one clear line each, what it could not do.
#include <gtest/gtest.h>

#include "robustness/robustness_runs.h"

namespace {

namespace fs = std::filesystem;

// Music and effects on, manual keys.
const Bytes kAllOn = {0x00, 0xFF, 0xFF, 0xFF, 0xFF};
const std::string kSavedAnyway = "新記録更新！データを保存しました。";

// Two columns left, a turn, then soft drops until the pair lands (points, a landing sound),
// the caption clock for some seconds, and the close question answered Yes.
std::string PlayScript() {
  std::string script =
      "at 5600 key-down Left\nat 5700 key-up Left\nat 5800 key-down X\nat 5900 key-up X\n";
  for (int i = 0; i < 16; ++i)
    script += "at " + std::to_string(6000 + 200 * i) + " key-down Down\nat " +
              std::to_string(6100 + 200 * i) + " key-up Down\n";
  return script + "at 11000 snap s\nat 14000 close\nend 60000\n";
}

std::vector<std::string> MessageTexts(const ReplayResult& run) {
  std::vector<std::string> texts;
  for (const JsonValue* box : run.Events("msgbox")) texts.push_back((*box)["text"].Str());
  return texts;
}

// The play clock kept counting, the soft drops scored, and the run ended through the
// question and the two exit messages.
void ExpectPlayedOn(const ReplayResult& run) {
  EXPECT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_EQ(run.EndReason(), "ended");
  bool clock = false;
  for (const JsonValue* line : run.Events("caption"))
    clock = clock || (*line)["text"].Str().find("[ 8 秒 ]") != std::string::npos;
  EXPECT_TRUE(clock) << "the caption clock stopped";
  ASSERT_EQ(run.snapshots.count("s"), 1u) << run.errors;
  EXPECT_GT(run.snapshots.at("s")["Score"].Int(), 0) << "the soft drops scored nothing";
  const auto texts = MessageTexts(run);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NE(texts[2].find("FPS = "), std::string::npos);
}

TEST(UnusableFilesTest, MissingTunesAndSoundsAreToldOnceEachAndPlayGoesOn) {
  ReplayResult run = RunReplay(PlayScript(), {.files = {{"user.ini", kAllOn}}});
  ExpectPlayedOn(run);
  EXPECT_EQ(LinesWith(run.errors, "Opening.mid: no such file"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "Game.mid: no such file"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "Turn.wav: no such file"), 1) << run.errors;
  // Every landing plays Fall.wav: told once all the same.
  EXPECT_EQ(LinesWith(run.errors, "Fall.wav: no such file"), 1) << run.errors;
  EXPECT_EQ(run.files.at("user.ini"), kAllOn);
}

TEST(UnusableFilesTest, ACorruptTuneAndSoundsThatAreNoWavesAreToldAndPlayGoesOn) {
  Bytes corrupt = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 1, 0xE0, 'M', 'T', 'r', 'k'};
  for (int i = 0; i < 200; ++i) corrupt.push_back(static_cast<std::uint8_t>(i * 37));
  const std::string text = "this is not a wave";
  ReplayResult run =
      RunReplay(PlayScript(), {.copyTunes = true,
                               .copySounds = true,
                               .files = {{"user.ini", kAllOn},
                                         {"Game.mid", corrupt},
                                         {"Fall.wav", Bytes(text.begin(), text.end())},
                                         {"Turn.wav", {}}}});
  ExpectPlayedOn(run);
  EXPECT_EQ(LinesWith(run.errors, "Game.mid: not a standard MIDI file"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "Fall.wav: not a WAV file"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "Turn.wav: not a WAV file"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "Opening.mid"), 0) << run.errors;
  EXPECT_EQ(run.files.at("Game.mid"), corrupt);
}

// Both save files exist with a tail beyond their records; the folder and the files cannot be
// written. The record game is told as not saved, and nothing changes on disk.
TEST(UnusableFilesTest, AReadOnlyFolderKeepsEveryByteAndSaysWhatWasNotSaved) {
  Bytes settings = {0x00, 0xFF, 0xFF, 0x00, 0x00, 0x42, 0x43};
  Bytes highScore(30, 0x11);
  PutLittle(highScore, 6, 4, 0);
  ReplayResult run;
  const bool ran = RunReplayInFolder(
      PlayScript(),
      [&](const fs::path& folder) {
        PutFile(folder / "user.ini", settings);
        PutFile(folder / "HighSc.sav", highScore);
      },
      true, run);
  if (!ran) GTEST_SKIP() << "cannot run without write access here";
  ExpectPlayedOn(run);
  EXPECT_EQ(run.files.at("user.ini"), settings);
  EXPECT_EQ(run.files.at("HighSc.sav"), highScore);
  EXPECT_EQ(run.files.size(), 2u) << "a file was left behind";
  EXPECT_EQ(LinesWith(run.errors, "HighSc.sav was not saved"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "user.ini was not saved"), 1) << run.errors;
  const auto texts = MessageTexts(run);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_NE(texts[1], kSavedAnyway) << "a save that failed was told as done";
}

// The opening tune is there but nobody may read it: the system's reason is told.
TEST(UnusableFilesTest, AReadOnlyFolderWithoutSaveFilesStartsFromZerosAndSaysSo) {
  ReplayResult run;
  if (!RunReplayInFolder(
          PlayScript(),
          [](const fs::path& folder) {
            PutFile(folder / "Opening.mid", {'M', 'T', 'h', 'd'});
            fs::permissions(folder / "Opening.mid", fs::perms::none);
          },
          true, run))
    GTEST_SKIP() << "cannot run without write access here";
  ExpectPlayedOn(run);
  EXPECT_EQ(LinesWith(run.errors, "Opening.mid: Permission denied"), 1) << run.errors;
  EXPECT_EQ(run.files.size(), 1u) << "a file appeared in a read-only folder";
  EXPECT_EQ(LinesWith(run.errors, "reading HighSc.sav"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "reading user.ini"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "user.ini was not saved"), 1) << run.errors;
}

TEST(UnusableFilesTest, SaveFilesThatAreFoldersAreToldAndLeftAlone) {
  ReplayResult run;
  ASSERT_TRUE(RunReplayInFolder(
      PlayScript(),
      [](const fs::path& folder) {
        fs::create_directories(folder / "user.ini" / "inside");
        fs::create_directories(folder / "HighSc.sav");
      },
      false, run));
  ExpectPlayedOn(run);
  EXPECT_EQ(LinesWith(run.errors, "reading HighSc.sav"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "reading user.ini"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "HighSc.sav was not saved"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "user.ini was not saved"), 1) << run.errors;
  EXPECT_TRUE(run.files.empty()) << "a file took the place of a folder";
}

// FIFOs where the tunes, a sound and the high-score file belong: nothing waits on them, each
// is told once, the record is not announced as saved, and they are left as they were.
TEST(UnusableFilesTest, FifosInPlaceOfFilesAreRefusedWithoutWaiting) {
  const char* const fifos[] = {"Opening.mid", "Game.mid", "Fall.wav", "HighSc.sav"};
  ReplayResult run;
  ASSERT_TRUE(RunReplayInFolder(
      PlayScript(),
      [&](const fs::path& folder) {
        for (const char* name : fifos) ASSERT_EQ(mkfifo((folder / name).c_str(), 0644), 0);
        PutFile(folder / "user.ini", kAllOn);
      },
      false, run));
  ExpectPlayedOn(run);
  for (const char* name : {"Opening.mid", "Game.mid", "Fall.wav"})
    EXPECT_EQ(LinesWith(run.errors, std::string(name) + ": not a regular file"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "reading HighSc.sav"), 1) << run.errors;
  EXPECT_EQ(LinesWith(run.errors, "HighSc.sav was not saved"), 1) << run.errors;
  EXPECT_NE(MessageTexts(run).at(1), kSavedAnyway) << "a save that failed was told as done";
  EXPECT_EQ(run.files.size(), 1u) << "a file took the place of a FIFO";
}

}  // namespace
