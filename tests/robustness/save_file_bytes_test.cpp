// Save files of every length from 0 to 40 bytes with random contents: the game starts with
// the values they hold, plays on, and at the exit leaves them whole, never shorter, with
// every byte beyond the records untouched.
#include <gtest/gtest.h>

#include <random>

#include "robustness/robustness_runs.h"

namespace {

Bytes RandomBytes(std::size_t length, std::mt19937& random) {
  Bytes bytes(length);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() & 0xFF);
  return bytes;
}

// Keys that move and turn the pair without scoring, then the close question answered Yes.
const char* const kScript =
    "at 5600 key-down Left\nat 5700 key-up Left\nat 5800 key-down X\nat 5900 key-up X\n"
    "at 6200 snap s\nat 9000 close\nend 40000\n";

void CheckRun(const Bytes& settings, const Bytes& highScore) {
  ReplayResult run =
      RunReplay(kScript, {.files = {{"user.ini", settings}, {"HighSc.sav", highScore}}});
  ASSERT_EQ(run.exitStatus, 0) << run.errors;
  EXPECT_EQ(run.EndReason(), "ended");
  ASSERT_EQ(run.snapshots.count("s"), 1u) << run.errors;
  const JsonValue& state = run.snapshots.at("s");
  EXPECT_EQ(state["KeySense"].Int(), LittleSigned(settings, 0, 1));
  EXPECT_EQ(state["BgmOn"].Int(), LittleSigned(settings, 1, 2));
  EXPECT_EQ(state["SoundOn"].Int(), LittleSigned(settings, 3, 2));
  EXPECT_EQ(state["HiScore"].Int(), LittleSigned(highScore, 6, 4));
  EXPECT_EQ(state["Score"].Int(), 0);
  EXPECT_EQ(run.files.at("user.ini"), SettingsAfterRun(settings));
  EXPECT_EQ(run.files.at("HighSc.sav"), HighScoreAfterRun(highScore, 0));
  EXPECT_EQ(run.Events("msgbox").size(), 3u);
}

TEST(SaveFileBytesTest, EveryLengthUpTo40WithRandomContentsIsReadAndKeptWhole) {
  std::mt19937 random(20240607);
  for (std::size_t length = 0; length <= 40; ++length) {
    SCOPED_TRACE("files of " + std::to_string(length) + " bytes");
    CheckRun(RandomBytes(length, random), RandomBytes(length, random));
  }
}

// A stored high score below zero makes a game of no points a record; the next start reads
// back exactly what was written.
TEST(SaveFileBytesTest, ANegativeHighScoreIsBeatenByNothingAndWrittenBackWhole) {
  Bytes highScore(30, 0xA5);
  PutLittle(highScore, 6, 4, static_cast<std::uint32_t>(-7));
  ReplayResult first = RunReplay(kScript, {.files = {{"HighSc.sav", highScore}}});
  ASSERT_EQ(first.exitStatus, 0) << first.errors;
  const Bytes written = first.files.at("HighSc.sav");
  EXPECT_EQ(written, HighScoreAfterRun(highScore, 0));
  EXPECT_EQ(LittleSigned(written, 6, 4), -7);
  EXPECT_EQ(written.size(), 30u);
  ReplayResult second = RunReplay(kScript, {.files = {{"HighSc.sav", written}}});
  ASSERT_EQ(second.exitStatus, 0) << second.errors;
  EXPECT_EQ(second.snapshots.at("s")["HiScore"].Int(), -7);
  EXPECT_EQ(second.files.at("HighSc.sav"), written);
}

}  // namespace
