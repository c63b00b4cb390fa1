// The virtual clock: waits take exactly their virtual time and no wall time, across the
// wrap of the tick counter too; snapshots and the end time come exactly when due.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

class HeadlessClockTest : public ::testing::Test {
 protected:
  void Install(HeadlessOptions options = {}) {
    backend_ = std::make_unique<HeadlessBackend>(std::move(options));
    SetBackend(backend_.get());
  }
  void TearDown() override { SetBackend(nullptr); }

  std::unique_ptr<HeadlessBackend> backend_;
};

TEST_F(HeadlessClockTest, WaitOf500MsTakesExactly500VirtualMsAndNoWallTime) {
  Install();
  const auto wallStart = std::chrono::steady_clock::now();
  const std::uint32_t start = GetTickCount();
  EXPECT_EQ(start, 100000u);
  WaitSince(start, 500);
  const auto wall = std::chrono::steady_clock::now() - wallStart;
  EXPECT_EQ(GetTickCount(), 100500u);
  EXPECT_EQ(backend_->Elapsed(), 500u);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(wall).count(), 100);
}

TEST_F(HeadlessClockTest, OnlyIdleMovesTheClock) {
  Install({.clock = 7});
  for (int i = 0; i < 1000; ++i) {
    GetTickCount();
    DoEvents();
  }
  EXPECT_EQ(GetTickCount(), 7u);
  Idle();
  Idle();
  EXPECT_EQ(GetTickCount(), 9u);
}

TEST_F(HeadlessClockTest, WaitAcrossTheWrapOfTheCounterEndsAfterTheRightTime) {
  Install({.clock = 4294967000u});
  const std::uint32_t start = GetTickCount();
  WaitSince(start, 500);
  EXPECT_EQ(backend_->Elapsed(), 500u);
  EXPECT_EQ(GetTickCount(), 204u);  // 4294967000 + 500 - 2^32
  EXPECT_EQ(TickSince(start), 500u);
}

TEST_F(HeadlessClockTest, SnapshotsAreTakenWhenTheClockReachesTheirTimeWaitingOrPumping) {
  Install();
  std::vector<std::pair<std::string, std::uint64_t>> taken;
  backend_->SetSnapshotTaker(
      [&](const std::string& name) { taken.emplace_back(name, backend_->Elapsed()); });
  backend_->Schedule({.time = 0, .kind = ScriptEventKind::Snap, .words = {"first"}});
  backend_->Schedule({.time = 30, .kind = ScriptEventKind::Snap, .words = {"late"}});
  backend_->Schedule({.time = 20, .kind = ScriptEventKind::Snap, .words = {"early"}});
  DoEvents();  // a pump at time 0 takes the first
  ASSERT_EQ(taken.size(), 1u);
  WaitSince(GetTickCount(), 25);
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[1], std::make_pair(std::string("early"), std::uint64_t{20}));
  WaitSince(GetTickCount(), 100);
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[2], std::make_pair(std::string("late"), std::uint64_t{30}));
  const auto& lines = backend_->Trace().Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], R"({"t":20,"ev":"snap","name":"early"})");
}

TEST_F(HeadlessClockTest, TheEndTimeStopsTheRunFromIdleAndFromThePump) {
  Install();
  backend_->SetEndTime(40);
  backend_->Schedule({.time = 40, .kind = ScriptEventKind::Snap, .words = {"last"}});
  int snaps = 0;
  backend_->SetSnapshotTaker([&](const std::string&) { ++snaps; });
  EXPECT_THROW(WaitSince(GetTickCount(), 1000), ReplayEndReached);
  EXPECT_EQ(backend_->Elapsed(), 40u);
  EXPECT_EQ(snaps, 1);  // a snapshot due at the end is still taken
  EXPECT_THROW(DoEvents(), ReplayEndReached);
}

TEST_F(HeadlessClockTest, ALoopThatNeverIdlesIsStoppedInsteadOfHanging) {
  Install();
  const std::uint32_t start = GetTickCount();
  EXPECT_THROW(
      {
        while (GetTickCount() - start < 10) DoEvents();
      },
      HeadlessStall);
}

TEST_F(HeadlessClockTest, EndThrowsProgramEnded) {
  Install();
  EXPECT_THROW(End(), ProgramEnded);
  EXPECT_TRUE(backend_->Ended());
}

}  // namespace
