// The whole game under fumbo-replay: start-up, the caption clock, the close question, the
// save files, and the tool's own handling of its command line and scripts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "replay/replay_harness.h"

namespace {

const std::string kTitle = "#Fumbo!2nd  （体験版）";

std::uint64_t TimeOf(const JsonValue* line) {
  return static_cast<std::uint64_t>(line->operator[]("t").Int());
}

// The time the main window was first shown: play starts at that same virtual moment.
std::uint64_t MainShownAt(const ReplayResult& run) {
  for (const JsonValue* line : run.Events("window"))
    if ((*line)["window"].Str() == "main" && (*line)["op"].Str() == "show") return TimeOf(line);
  ADD_FAILURE() << "the main window was never shown";
  return 0;
}

const JsonValue* CaptionWith(const ReplayResult& run, const std::string& text) {
  for (const JsonValue* line : run.Events("caption"))
    if ((*line)["text"].Str() == text) return line;
  return nullptr;
}

std::vector<std::string> MessageTexts(const ReplayResult& run) {
  std::vector<std::string> texts;
  for (const JsonValue* box : run.Events("msgbox"))
    texts.push_back((*box)["text"].Str() + " -> " + (*box)["answer"].Str());
  return texts;
}

TEST(WholeGameTest, PlayBeginsWithThePair22AndASuperThresholdFrom80To84) {
  std::set<std::int64_t> thresholds;
  for (int seed = 1; seed <= 6; ++seed) {
    ReplayResult run = RunReplay("seed " + std::to_string(seed) + "\nat 6000 snap s\nend 6000\n");
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    ASSERT_EQ(run.snapshots.count("s"), 1u) << run.errors;
    const JsonValue& state = run.snapshots.at("s");
    EXPECT_EQ(state["CurPiece"][0].Int(), 2);
    EXPECT_EQ(state["CurPiece"][1].Int(), 2);
    EXPECT_EQ(state["CurPos"].Int(), 154);
    for (int i = 0; i < 2; ++i) {
      EXPECT_GE(state["NextPiece"][i].Int(), 2);
      EXPECT_LE(state["NextPiece"][i].Int(), 3);
    }
    EXPECT_GE(state["SuperAt"].Int(), 80);
    EXPECT_LE(state["SuperAt"].Int(), 84);
    thresholds.insert(state["SuperAt"].Int());
    EXPECT_EQ(state["SuperCount"].Int(), 1);
    EXPECT_EQ(state["Level"].Int(), 1);
    EXPECT_TRUE(state["FPS"].IsNull());
    ASSERT_TRUE(run.pictures.at("s"));
    EXPECT_EQ(run.pictures.at("s")->width, 380);
    EXPECT_EQ(run.pictures.at("s")->height, 400);
    EXPECT_EQ(run.EndReason(), "time");
  }
  EXPECT_GT(thresholds.size(), 1u) << "the seed should change the threshold";
}

TEST(WholeGameTest, TheSameScriptGivesTheSameRun) {
  const std::string script = "seed 9\nat 6000 key-down Left\nat 6100 key-up Left\nend 9000\n";
  ReplayResult first = RunReplay(script + "at 8000 snap s\n");
  ReplayResult second = RunReplay(script + "at 8000 snap s\n");
  ASSERT_EQ(first.trace.size(), second.trace.size());
  EXPECT_EQ(first.snapshots.at("s").members.size(), second.snapshots.at("s").members.size());
  EXPECT_EQ(first.snapshots.at("s")["PulseAngle"].Int(),
            second.snapshots.at("s")["PulseAngle"].Int());
  EXPECT_EQ(first.pictures.at("s")->pixels, second.pictures.at("s")->pixels);
}

TEST(WholeGameTest, AKeyPressMovesThePairOnce) {
  ReplayResult run =
      RunReplay("at 6000 key-down Left\nat 6200 key-up Left\nat 6400 snap s\nend 6400\n");
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_EQ(run.snapshots.at("s")["CurPos"].Int(), 153);
  EXPECT_EQ(run.snapshots.at("s")["PressLeft"].Int(), 0);
}

// A standard MIDI file of one note held for 20 s (96 ticks a quarter at 120 a minute).
std::vector<std::uint8_t> TwentySecondTune() {
  const std::vector<std::uint8_t> track = {0x00, 0x90, 0x3C, 0x40, 0x9E, 0x00, 0x80,
                                           0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
  std::vector<std::uint8_t> file = {
      'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
      1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(track.size())};
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

TEST(WholeGameTest, ALongOpeningTuneKeepsTheSplashUntilItEnds) {
  ReplayOptions options;
  options.files = {{"Opening.mid", TwentySecondTune()}};
  ReplayResult run = RunReplay("end 21000\n", options);
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  std::uint64_t unloaded = 0;
  for (const JsonValue* line : run.Events("window"))
    if ((*line)["window"].Str() == "splash" && (*line)["op"].Str() == "unload")
      unloaded = TimeOf(line);
  EXPECT_GE(unloaded, 20000u);
  EXPECT_LE(unloaded, 20002u);
  EXPECT_EQ(MainShownAt(run), unloaded);
}

TEST(WholeGameTest, TheCaptionClockShows59SecondsThenOneMinuteAlsoAcrossTheWrap) {
  for (const char* clock : {"100000", "4294967000"}) {
    ReplayResult run = RunReplay(std::string("clock ") + clock + "\nend 70000\n");
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const std::uint64_t start = MainShownAt(run);
    ASSERT_TRUE(CaptionWith(run, kTitle)) << clock;
    const JsonValue* at59 = CaptionWith(run, kTitle + " [ 59 秒 ]");
    const JsonValue* at60 = CaptionWith(run, kTitle + " [ 1 分 ]");
    ASSERT_TRUE(at59 && at60) << clock;
    EXPECT_GE(TimeOf(at59) - start, 59000u);
    EXPECT_LT(TimeOf(at59) - start, 60000u);
    EXPECT_GE(TimeOf(at60) - start, 60000u);
    EXPECT_LE(TimeOf(at60) - start, 61050u);
  }
}

TEST(WholeGameTest, TheCaptionClockShowsHoursAndSecondsWithoutZeroMinutes) {
  ReplayResult probe = RunReplay("at 5500 snap s\nend 5500\n");
  ASSERT_EQ(probe.exitStatus, 0) << probe.errors;
  // Move the start of play an hour back instead of playing an hour.
  const auto start = static_cast<std::uint32_t>(probe.snapshots.at("s")["PlayStartTick"].Int());
  const std::uint32_t hourEarlier = start - 3600000u;
  ReplayResult run =
      RunReplay("at 5500 set PlayStartTick " + std::to_string(hourEarlier) + "\nend 12000\n");
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_TRUE(CaptionWith(run, kTitle + " [ 1 時間 5 秒 ]"));
  EXPECT_FALSE(CaptionWith(run, kTitle + " [ 1 時間 0 分 5 秒 ]"));
}

TEST(WholeGameTest, CloseAnsweredNoKeepsPlayingThenYesSavesAndEnds) {
  ReplayResult run = RunReplay("answer no\nanswer yes\nat 8000 close\nat 9000 close\nend 20000\n");
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_EQ(run.EndReason(), "ended");
  auto boxes = run.Events("msgbox");
  ASSERT_GE(boxes.size(), 4u);
  EXPECT_EQ((*boxes[0])["caption"].Str(), "#Fumbo2");
  EXPECT_EQ((*boxes[0])["buttons"].Str(), "yesno");
  auto texts = MessageTexts(run);
  EXPECT_EQ(texts[0], "終了しますか？ -> no");
  EXPECT_EQ(texts[1], "終了しますか？ -> yes");
  EXPECT_EQ(texts[2], "新記録更新できませんでした・・。 -> ok");
  EXPECT_NE(texts[3].find("FPS = "), std::string::npos);
  EXPECT_GE(TimeOf(boxes[0]), 8000u);
  EXPECT_LT(TimeOf(boxes[0]), 8100u);
  EXPECT_GE(TimeOf(boxes[1]), 9000u);
  EXPECT_LT(TimeOf(run.Events("end").back()), 9100u);
  // Between the two questions the window was shown again.
  std::vector<std::string> mainOps;
  for (const JsonValue* line : run.Events("window"))
    if ((*line)["window"].Str() == "main") mainOps.push_back((*line)["op"].Str());
  const std::vector<std::string> tail = {"show", "hide", "show", "hide"};
  ASSERT_GE(mainOps.size(), tail.size());
  EXPECT_EQ(std::vector<std::string>(mainOps.end() - 4, mainOps.end()), tail);
  ASSERT_EQ(run.files.count("user.ini"), 1u);
  EXPECT_EQ(run.files.at("user.ini"), std::vector<std::uint8_t>(5, 0));
}

TEST(WholeGameTest, SettingsAndRecordAreReadAndWrittenBack) {
  const std::vector<std::uint8_t> settings = {3, 0xFF, 0xFF, 0, 0};  // KeySense 3, music on
  std::vector<std::uint8_t> record(21, 0);
  record[6] = 0xD2, record[7] = 0x04;   // HiScore 1234
  record[0] = 0xAB, record[20] = 0xCD;  // reserved bytes are kept
  ReplayOptions options;
  options.files = {{"user.ini", settings}, {"HighSc.sav", record}};
  ReplayResult run = RunReplay("at 6000 snap s\nat 7000 close\nend 20000\n", options);
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  const JsonValue& state = run.snapshots.at("s");
  EXPECT_EQ(state["KeySense"].Int(), 3);
  EXPECT_EQ(state["BgmOn"].Int(), -1);
  EXPECT_EQ(state["SoundOn"].Int(), 0);
  EXPECT_EQ(state["HiScore"].Int(), 1234);
  EXPECT_EQ(run.files.at("user.ini"), settings);
  EXPECT_EQ(run.files.at("HighSc.sav"), record);
  std::vector<std::string> fileOps;
  for (const JsonValue* line : run.Events("file"))
    fileOps.push_back((*line)["name"].Str() + " " + (*line)["op"].Str() + " " +
                      (*line)["bytes"].Str());
  ASSERT_GE(fileOps.size(), 3u);
  EXPECT_EQ(fileOps[0], "HighSc.sav read ab0000000000d204000000000000000000000000cd");
  EXPECT_EQ(fileOps[1], "user.ini read 03ffff0000");
  EXPECT_EQ(fileOps.back(), "user.ini write 03ffff0000");
}

TEST(WholeGameTest, ANewRecordIsSavedAndAnnounced) {
  ReplayResult run =
      RunReplay("at 6000 set Score 500\nat 6000 set HiScore 500\nat 7000 close\nend 20000\n");
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  auto texts = MessageTexts(run);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[1], "新記録更新！データを保存しました。 -> ok");
  const auto& record = run.files.at("HighSc.sav");
  ASSERT_EQ(record.size(), 21u);
  EXPECT_EQ(record[2] | record[3] << 8, 500);  // RecScore
  EXPECT_EQ(record[6] | record[7] << 8, 500);  // HiScore
  EXPECT_EQ(record[10], 1);                    // Level
}

// Fourteen rows without a line of three anywhere, so the first pair locks on top of them
// and the next deal finds the game-over cell taken.
std::string FullWellScript() {
  std::string set = "at 5500 set Board 0";
  for (int i = 0; i < 140; ++i) set += " " + std::to_string(2 + (i % 10 + 2 * (i / 10) + 1) % 5);
  return set + "\n";
}

TEST(WholeGameTest, AFullWellEndsTheGameWithSoundsSavesAndTheExitMessage) {
  ReplayOptions options;
  options.files = {{"user.ini", {0, 0, 0, 0xFF, 0xFF}}};  // sound effects on
  ReplayResult run = RunReplay(FullWellScript() + "at 5600 snap full\nend 120000\n", options);
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_EQ(run.EndReason(), "ended");
  EXPECT_EQ(run.snapshots.at("full")["Board"][139].Int(), 2 + (9 + 2 * 13 + 1) % 5);
  auto sounds = run.Events("sound");
  ASSERT_FALSE(sounds.empty());
  EXPECT_EQ((*sounds[0])["name"].Str(), "Fall.wav");
  EXPECT_TRUE((*sounds[0])["missing"].boolean);
  auto texts = MessageTexts(run);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "新記録更新できませんでした・・。 -> ok");
  EXPECT_NE(texts[1].find("FPS = "), std::string::npos);
  EXPECT_EQ(run.files.at("user.ini"), (std::vector<std::uint8_t>{0, 0, 0, 0xFF, 0xFF}));
  // The game-over sequence takes its time after the lock, on the virtual clock.
  EXPECT_GT(TimeOf(run.Events("end").back()), TimeOf(sounds[0]) + 2000);
}

TEST(WholeGameTest, AScriptItCannotReadStopsWithStatus2NamingTheLine) {
  ReplayResult run = RunReplay("seed 3\nend 100\nat 50 key-down Home\n");
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.errors.find("line 3"), std::string::npos) << run.errors;
  EXPECT_TRUE(run.trace.empty());
  ReplayResult badSet = RunReplay("\nat 50 set Level 40000\n");
  EXPECT_EQ(badSet.exitStatus, 2);
  EXPECT_NE(badSet.errors.find("line 2"), std::string::npos) << badSet.errors;
}

TEST(WholeGameTest, OtherFailuresGiveStatus1) {
  const std::string binary = FUMBO_REPLAY_PROGRAM;
  const std::string quiet = " 2>/dev/null";
  auto status = [](int raw) { return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1; };
  EXPECT_EQ(status(std::system((binary + " --script /dev/null" + quiet).c_str())), 1);
  EXPECT_EQ(status(std::system(
                (binary + " --folder /nonexistent/folder --script /dev/null" + quiet).c_str())),
            1);
  EXPECT_EQ(
      status(std::system((binary + " --folder / --script /dev/null --bogus 1" + quiet).c_str())),
      1);
}

}  // namespace
