// The opening and closing animations of the option screen, frame by frame on the virtual
// clock.
#include "frontend/option_transition.h"

#include <map>

#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"

namespace {

constexpr Colour kGameScreen = RGB(10, 20, 30);

class OptionTransitionTest : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    Fill(Main(), kGameScreen);
    Backend().SetSnapshotTaker(
        [this](const std::string& name) { shots_.emplace(name, Main().Snapshot()); });
  }
  // Main as it stands `ms` virtual milliseconds from now.
  void SnapAt(std::uint64_t ms, const std::string& name) {
    ScriptEvent snap;
    snap.time = Backend().Elapsed() + ms;
    snap.kind = ScriptEventKind::Snap;
    snap.words = {name};
    Backend().Schedule(snap);
  }
  // Rows of a snapshot that show the option background, and rows that show the game.
  void ExpectRows(const Image& shot, int bandHeight) {
    for (int y = 0; y < 400; ++y) {
      bool band = y % 20 < bandHeight;
      int x = (y * 7) % 380;
      if (band)
        EXPECT_EQ(shot.At(x, y), OptBackP().Pixel(x, y)) << "row " << y;
      else
        EXPECT_EQ(shot.At(x, y), kGameScreen) << "row " << y;
    }
  }
  std::map<std::string, Image> shots_;
};

TEST_F(OptionTransitionTest, SlideOffsetsRoundHalvesToEven) {
  auto open = [](int i) { return std::pair(OpeningSlideOffsets(i).x, OpeningSlideOffsets(i).y); };
  EXPECT_EQ(open(0), std::pair(-200, -400));
  EXPECT_EQ(open(1), std::pair(-180, -361));
  EXPECT_EQ(open(15), std::pair(-12, -25));
  EXPECT_EQ(open(17), std::pair(-4, -9));
  EXPECT_EQ(open(19), std::pair(0, -1));
  EXPECT_EQ(open(20), std::pair(0, 0));
  auto close = [](int i) { return std::pair(ClosingSlideOffsets(i).x, ClosingSlideOffsets(i).y); };
  EXPECT_EQ(close(7), std::pair(-56, 28));
  EXPECT_EQ(close(15), std::pair(0, 60));
  EXPECT_EQ(close(30), std::pair(450, 120));
}

TEST_F(OptionTransitionTest, BlindsOpenOverTheSavedScreen) {
  SnapAt(31, "first");
  SnapAt(20 * 30 + 1, "closed");
  const std::uint64_t start = Backend().Elapsed();
  OptionTransition(True);
  EXPECT_EQ(Backend().Elapsed() - start, 41u * 30);
  ExpectRows(shots_.at("first"), 1);
  ExpectRows(shots_.at("closed"), 20);
  // The game screen is kept while the option screen is open.
  EXPECT_EQ(CountColour(BackPSub(), kGameScreen, 0, 0, 380, 400), 380 * 400);
  // The menu has slid into place: its help panel is on screen.
  EXPECT_EQ(Main().Pixel(367, 345), RGB(255, 255, 200));
}

TEST_F(OptionTransitionTest, ClosingGivesBackTheSavedScreenWhole) {
  OptionTransition(True);
  SnapAt(31 * 30 + 30 + 1, "blinds-first");
  const std::uint64_t start = Backend().Elapsed();
  const std::int16_t closing = 1;  // anything but -1 closes
  OptionTransition(closing);
  EXPECT_EQ(Backend().Elapsed() - start, 52u * 30);
  ExpectRows(shots_.at("blinds-first"), 20);
  EXPECT_EQ(CountColour(Main(), kGameScreen, 0, 0, 380, 400), 380 * 400);
}

}  // namespace
