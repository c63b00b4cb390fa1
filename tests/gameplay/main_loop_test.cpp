#include "gameplay/main_loop.h"

#include <gtest/gtest.h>

#include "game_fixture.h"

namespace play_test {
namespace {

class MainLoopTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    StartPlay();
    PlayStartTick = Now();
  }

  // Runs the loop for `ms` milliseconds of the virtual clock.
  void RunLoopFor(std::uint32_t ms) {
    const std::uint32_t start = Now();
    backend->onIdle = [this, start, ms] {
      if (Now() - start >= ms) throw StopTest{};
    };
    EXPECT_THROW(GameLoop(), StopTest);
    backend->onIdle = nullptr;
  }

  std::string CaptionAfterPlaying(std::uint32_t seconds) {
    PlayStartTick = Now() - (seconds - 1) * 1000;
    RunLoopFor(1100);  // the first update comes with the frame at 1029 ms
    return backend->captions.empty() ? "" : backend->captions.back();
  }
};

TEST_F(MainLoopTest, CaptionShowsSecondsOnly) {
  EXPECT_EQ(CaptionAfterPlaying(59), "#Fumbo!2nd  （体験版） [ 59 秒 ]");
}

TEST_F(MainLoopTest, CaptionLeavesOutAUnitAtZero) {
  EXPECT_EQ(CaptionAfterPlaying(60), "#Fumbo!2nd  （体験版） [ 1 分 ]");
}

TEST_F(MainLoopTest, CaptionShowsHours) {
  EXPECT_EQ(CaptionAfterPlaying(3605), "#Fumbo!2nd  （体験版） [ 1 時間 5 秒 ]");
}

TEST_F(MainLoopTest, CaptionUnderOneSecondOfPlayHasEmptyBrackets) {
  PlayStartTick = Now() + 30;  // the update finds 999 ms of play
  RunLoopFor(1100);
  ASSERT_EQ(backend->captions.size(), 1u);
  EXPECT_EQ(backend->captions[0], "#Fumbo!2nd  （体験版） [ ]");
}

TEST_F(MainLoopTest, FpsHasNoValueUntilTheFirstUpdate) {
  RunLoopFor(1028);
  EXPECT_FALSE(FPS.has_value());
  EXPECT_TRUE(backend->captions.empty());
  EXPECT_EQ(FrameCount, 20);
}

TEST_F(MainLoopTest, FpsIsFramesPerCountedSecond) {
  RunLoopFor(1030);
  ASSERT_TRUE(FPS.has_value());
  EXPECT_DOUBLE_EQ(*FPS, 20.0);
  RunLoopFor(1030);
  EXPECT_EQ(SecCount, 2);
  EXPECT_DOUBLE_EQ(*FPS, 41.0 / 2.0);
}

class MainLoopAtTheWrapTest : public MainLoopTest {
 protected:
  std::uint32_t StartClock() const override { return 0xFFFFFE00u; }
};

TEST_F(MainLoopAtTheWrapTest, FramesAreFortyNineMillisecondsApartAcrossTheWrap) {
  RunLoopFor(49 * 20 + 1);
  EXPECT_EQ(FrameCount, 20);
  EXPECT_LT(Now(), 0x1000u);
}

TEST_F(MainLoopTest, GravityActsEveryFrameWhenFallWaitIsBelowThePeriod) {
  FallWait = 0;
  RunLoopFor(49 * 5 + 1);
  EXPECT_EQ(FallOfs, 5);
}

TEST_F(MainLoopTest, GravityWaitsOutFallWait) {
  RunLoopFor(49 * 10 + 1);
  EXPECT_EQ(FallOfs, 0);
  RunLoopFor(50);  // the frame at 539 ms
  EXPECT_EQ(FallOfs, 1);
  EXPECT_EQ(FromLoop, False);
}

TEST_F(MainLoopTest, KeysAreHandledInTheFrameAfterThePress) {
  int posBeforeFrame = -1;
  backend->onPump = [&] {
    if (Now() == kStartClock + 30) PressLeft = 1;
    if (Now() == kStartClock + 48) posBeforeFrame = CurPos;
  };
  RunLoopFor(50);
  EXPECT_EQ(posBeforeFrame, 154);
  EXPECT_EQ(CurPos, 153);
  EXPECT_EQ(FrameCount, 1);
}

TEST_F(MainLoopTest, TheOptionScreenPausesPlayAndTheClock) {
  FallWait = 0;
  OptionShown = True;
  RunLoopFor(3000);
  EXPECT_EQ(FrameCount, 0);
  EXPECT_EQ(SecCount, 0);
  EXPECT_EQ(FallOfs, 0);
  EXPECT_TRUE(backend->captions.empty());
}

TEST_F(MainLoopTest, TheWaitBetweenFramesKeepsPumpingEvents) {
  RunLoopFor(40);
  EXPECT_GE(backend->pumps, 40);
}

TEST_F(MainLoopTest, RedrawAndYieldDrawsThenPumpsOnce) {
  int anglesAtPump = -1;
  backend->onPump = [&] { anglesAtPump = PulseAngle; };
  RedrawAndYield();
  EXPECT_EQ(backend->pumps, 1);
  EXPECT_EQ(anglesAtPump, 15) << "the well is drawn before the pump";
}

}  // namespace
}  // namespace play_test
