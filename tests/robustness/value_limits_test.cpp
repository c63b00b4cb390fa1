// Values at the edge of their widths, from the save files and from long play: the game
// neither wraps them around nor stops, and saves what it shows.
#include <gtest/gtest.h>

#include <limits>

#include "robustness/robustness_runs.h"

namespace {

constexpr std::int64_t kMaxScore = std::numeric_limits<std::int32_t>::max();

// The score a few points below its limit, then soft drops past it and a line of three
// cleared (the pair of 1s dropped beside two more 1s), then the close question.
std::string ScoreAtItsLimitScript() {
  std::string script = "seed 5\nat 5500 set Board 0 2 2\nat 5500 set Score 2147483640\n";
  script += "at 5600 key-down Left\nat 5700 key-up Left\nat 5800 key-down Left\n";
  script += "at 5900 key-up Left\n";
  for (int i = 0; i < 16; ++i)
    script += "at " + std::to_string(6000 + 200 * i) + " key-down Down\nat " +
              std::to_string(6100 + 200 * i) + " key-up Down\n";
  return script + "at 14000 snap s\nat 15000 close\nend 40000\n";
}

TEST(ValueLimitsTest, TheScoreStopsAtItsLimitAndIsSavedThere) {
  ReplayResult run = RunReplay(ScoreAtItsLimitScript());
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  const JsonValue& state = run.snapshots.at("s");
  ASSERT_GT(state["DelSum"].Int(), 0) << "nothing was cleared";
  EXPECT_EQ(state["Score"].Int(), kMaxScore);
  EXPECT_EQ(state["HiScore"].Int(), kMaxScore);
  const Bytes& saved = run.files.at("HighSc.sav");
  ASSERT_EQ(saved.size(), 21u);
  EXPECT_EQ(LittleSigned(saved, 2, 4), kMaxScore);
  EXPECT_EQ(LittleSigned(saved, 6, 4), kMaxScore);
}

// The largest values the files can hold: the highest high score (never beaten), the
// slowest key repeat, odd Boolean values that count as off.
TEST(ValueLimitsTest, TheLargestStoredValuesAreTakenAsTheyAreAndKept) {
  Bytes highScore(21, 0xFF);
  PutLittle(highScore, 6, 4, static_cast<std::uint32_t>(kMaxScore));
  const Bytes settings = {0xFF, 0x01, 0x00, 0xFE, 0xFF};
  ReplayResult run = RunReplay(ScoreAtItsLimitScript(),
                               {.files = {{"user.ini", settings}, {"HighSc.sav", highScore}}});
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  const JsonValue& state = run.snapshots.at("s");
  EXPECT_EQ(state["KeySense"].Int(), 255);
  EXPECT_EQ(state["BgmOn"].Int(), 1);
  EXPECT_EQ(state["SoundOn"].Int(), -2);
  EXPECT_TRUE(run.Events("sound").empty()) << "a value other than -1 must mean off";
  EXPECT_EQ(state["HiScore"].Int(), kMaxScore);
  EXPECT_EQ(run.files.at("HighSc.sav"), highScore);
  EXPECT_EQ(run.files.at("user.ini"), settings);
  const auto boxes = run.Events("msgbox");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ((*boxes[1])["text"].Str(), "新記録更新できませんでした・・。");
}

}  // namespace
