// The millisecond counter wrapping from 2^32 - 1 to 0 in the middle of play: a game whose
// clock starts just below the wrap does everything at the same moments, draws the same
// pictures and leaves the same files as the same game started at an ordinary clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "robustness/robustness_runs.h"

namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;

// A pair of 1s waits at the bottom left; the first pair (two 1s) goes two columns left and
// is soft-dropped onto the floor beside it: a landing, a line of three, its clearing, and
// the caption clock before and after; then the option screen opened and closed. Music and effects
// on, so tunes and sounds are timed.
std::string ClearingScript(std::uint64_t clock) {
  std::string script = "seed 5\nclock " + std::to_string(clock) + "\n";
  script += "at 5500 set Board 0 2 2\n";
  script += "at 5600 key-down Left\nat 5700 key-up Left\nat 5800 key-down Left\n";
  script += "at 5900 key-up Left\n";
  for (int i = 0; i < 16; ++i)
    script += "at " + std::to_string(6000 + 200 * i) + " key-down Down\nat " +
              std::to_string(6100 + 200 * i) + " key-up Down\n";
  script += "at 12500 key-down Escape\nat 12600 key-up Escape\nat 13300 snap option\n";
  script += "at 13500 key-down Escape\nat 13600 key-up Escape\n";
  return script + "at 9000 snap landed\nat 10000 snap clearing\nat 14000 snap after\n" +
         "at 16000 close\nend 30000\n";
}

// Down held with key sensitivity 1 until the well fills: the game over and its exit.
std::string GameOverScript(std::uint64_t clock) {
  return "seed 3\nclock " + std::to_string(clock) +
         "\nat 5600 key-down Down\nat 20000 snap late\nend 200000\n";
}

ReplayResult RunWithMedia(const std::string& script, const Bytes& settings) {
  return RunReplay(script,
                   {.copyTunes = true, .copySounds = true, .files = {{"user.ini", settings}}});
}

// Texts without the name of the run's temporary folder, which the tune paths carry.
std::string WithoutFolder(std::string text) {
  const std::string stem = "fumbo-replay-test-";
  for (std::size_t at = text.find(stem); at != std::string::npos; at = text.find(stem, at))
    text.replace(at, std::min(stem.size() + 6, text.size() - at), "FOLDER");
  return text;
}

bool SameValue(const JsonValue& a, const JsonValue& b) {
  if (a.kind != b.kind || a.boolean != b.boolean || a.number != b.number ||
      WithoutFolder(a.text) != WithoutFolder(b.text) || a.items.size() != b.items.size() ||
      a.members.size() != b.members.size())
    return false;
  for (std::size_t i = 0; i < a.items.size(); ++i)
    if (!SameValue(a.items[i], b.items[i])) return false;
  for (const auto& [key, value] : a.members)
    if (!b.Has(key) || !SameValue(value, b[key])) return false;
  return true;
}

// Same trace line for line, same snapshots but for the tick the play clock started at,
// which lies exactly as far from the wrap as the clocks do, and the same files.
void ExpectSameRun(const ReplayResult& ordinary, const ReplayResult& wrapped,
                   std::uint64_t clockDifference) {
  ASSERT_EQ(ordinary.exitStatus, 0) << ordinary.errors;
  ASSERT_EQ(wrapped.exitStatus, 0) << wrapped.errors;
  ASSERT_EQ(ordinary.trace.size(), wrapped.trace.size());
  for (std::size_t i = 0; i < ordinary.trace.size(); ++i) {
    const JsonValue& a = ordinary.trace[i];
    const JsonValue& b = wrapped.trace[i];
    ASSERT_TRUE(SameValue(a, b)) << "line " << i << " (" << a["ev"].Str() << " at " << a["t"].Int()
                                 << " ms) differs: " << b["ev"].Str() << " at " << b["t"].Int()
                                 << " ms";
  }
  ASSERT_EQ(ordinary.snapshots.size(), wrapped.snapshots.size());
  for (const auto& [name, state] : ordinary.snapshots) {
    const JsonValue& other = wrapped.snapshots.at(name);
    for (const auto& [key, value] : state.members) {
      if (key == "PlayStartTick") {
        EXPECT_EQ(static_cast<std::uint32_t>(value.Int() - other[key].Int()),
                  static_cast<std::uint32_t>(kWrap - clockDifference))
            << name;
      } else {
        EXPECT_TRUE(SameValue(value, other[key])) << name << " " << key;
      }
    }
    EXPECT_EQ(ordinary.pictures.at(name)->pixels, wrapped.pictures.at(name)->pixels) << name;
  }
  EXPECT_EQ(ordinary.files, wrapped.files);
}

TEST(ClockWrapTest, ALandingAClearAndTheCaptionClockTimeAlikeAcrossTheWrap) {
  const Bytes allOn = {0x00, 0xFF, 0xFF, 0xFF, 0xFF};
  const ReplayResult ordinary = RunWithMedia(ClearingScript(100000), allOn);
  ASSERT_EQ(ordinary.exitStatus, 0) << ordinary.errors;
  ASSERT_GT(ordinary.snapshots.at("after")["DelSum"].Int(), 0) << "nothing was cleared";
  ASSERT_FALSE(ordinary.Events("sound").empty());
  ASSERT_EQ(ordinary.snapshots.at("option")["OptionShown"].Int(), -1);
  ASSERT_EQ(ordinary.snapshots.at("after")["OptionShown"].Int(), 0);
  // The wrap while the pair falls, early and late in the lock delay, in the clearing
  // animation, after it, in the option screen's opening and closing, at the very start and
  // in the splash.
  for (std::uint64_t wrapAt : {7296u, 8850u, 9400u, 9850u, 11000u, 12550u, 13550u, 1u, 2000u}) {
    SCOPED_TRACE("the counter wraps " + std::to_string(wrapAt) + " ms into the run");
    const std::uint64_t clock = kWrap - wrapAt;
    ExpectSameRun(ordinary, RunWithMedia(ClearingScript(clock), allOn), clock - 100000);
  }
}

TEST(ClockWrapTest, TheGameOverAndItsExitTimeAlikeAcrossTheWrap) {
  const Bytes autoKeys = {0x01, 0x00, 0x00, 0x00, 0x00};
  const ReplayResult ordinary = RunWithMedia(GameOverScript(100000), autoKeys);
  ASSERT_EQ(ordinary.EndReason(), "ended") << "the well never filled";
  const std::uint64_t end = static_cast<std::uint64_t>(ordinary.trace.back()["t"].Int());
  ASSERT_GT(end, 20000u);
  // In the last seconds the game-over sequence runs: wrap in its animation and its pause.
  for (std::uint64_t before : {5000u, 1500u}) {
    const std::uint64_t clock = kWrap - (end - before);
    SCOPED_TRACE("the counter wraps " + std::to_string(before) + " ms before the end");
    ExpectSameRun(ordinary, RunWithMedia(GameOverScript(clock), autoKeys), clock - 100000);
  }
}

}  // namespace
