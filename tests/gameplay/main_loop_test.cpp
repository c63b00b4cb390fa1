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
  // Runs the loop for `ms` of the virtual clock.
  void RunLoopFor(std::uint32_t ms) {
    const std::uint32_t start = Now();
    backend->onIdle = [this, start, ms] {
      if (Now() - start >= ms) throw StopTest{};
    };
    EXPECT_THROW(GameLoop(), StopTest);
    backend->onIdle = nullptr;
  }
};

TEST_F(MainLoopTest, TheCaptionClockLeavesOutUnitsAtZero) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {59, "#Fumbo!2nd  （体験版） [ 59 秒 ]"},
      {60, "#Fumbo!2nd  （体験版） [ 1 分 ]"},
      {3605, "#Fumbo!2nd  （体験版） [ 1 時間 5 秒 ]"}};
  for (auto [seconds, caption] : cases) {
    PlayStartTick = Now() - (seconds - 1) * 1000;
    RunLoopFor(1100);  // the update comes with the frame at 1029 ms
    ASSERT_FALSE(backend->captions.empty());
    EXPECT_EQ(backend->captions.back(), caption);
  }
}

TEST_F(MainLoopTest, FpsHasNoValueUntilTheFirstUpdate) {
  RunLoopFor(1028);
  EXPECT_FALSE(FPS.has_value());
  EXPECT_EQ(FrameCount, 20);
  RunLoopFor(2);  // a new entry waits a whole period again
  EXPECT_FALSE(FPS.has_value());
  RunLoopFor(1030);
  ASSERT_TRUE(FPS.has_value());
  EXPECT_DOUBLE_EQ(*FPS, 40.0) << "the frames of both runs in one counted second";
  EXPECT_EQ(backend->captions.size(), 1u);
}

class MainLoopAtTheWrapTest : public MainLoopTest {
  std::uint32_t StartClock() const override { return 0xFFFFFE00u; }
};

TEST_F(MainLoopAtTheWrapTest, FramesAreFortyNineMillisecondsApartAcrossTheWrap) {
  RunLoopFor(49 * 20 + 1);
  EXPECT_EQ(FrameCount, 20);
  EXPECT_LT(Now(), 0x1000u);
}

TEST_F(MainLoopTest, GravityRunsOnceAFrameAfterFallWait) {
  RunLoopFor(49 * 10 + 1);
  EXPECT_EQ(FallOfs, 0);
  RunLoopFor(50);  // the frame at 539 ms
  EXPECT_EQ(FallOfs, 1);
  EXPECT_EQ(FromLoop, False);
  FallWait = 0;
  RunLoopFor(49 * 5 + 1);
  EXPECT_EQ(FallOfs, 6);
}

TEST_F(MainLoopTest, AKeyActsInTheFrameAfterItsPress) {
  int posBeforeFrame = -1;
  backend->onPump = [&] {
    if (Now() == kStartClock + 30) PressLeft = 1;
    if (Now() == kStartClock + 48) posBeforeFrame = CurPos;
  };
  RunLoopFor(50);
  EXPECT_EQ(posBeforeFrame, 154);
  EXPECT_EQ(CurPos, 153);
  EXPECT_GE(backend->pumps, 48) << "the wait between frames pumps events";
}

TEST_F(MainLoopTest, TheOptionScreenPausesPlayAndTheClock) {
  FallWait = 0;
  OptionShown = True;
  RunLoopFor(3000);
  EXPECT_EQ(FrameCount, 0);
  EXPECT_EQ(FallOfs, 0);
  EXPECT_TRUE(backend->captions.empty());
}

TEST_F(MainLoopTest, RedrawAndYieldDrawsThenPumpsOnce) {
  int angleAtPump = -1;
  backend->onPump = [&] { angleAtPump = PulseAngle; };
  RedrawAndYield();
  EXPECT_EQ(backend->pumps, 1);
  EXPECT_EQ(angleAtPump, 15);
}

}  // namespace
}  // namespace play_test
