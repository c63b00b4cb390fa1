// The opening and closing animations of the option screen, frame by frame.
#include "frontend/option_transition.h"

#include "frontend_fixture.h"
#include "gameplay/game_state.h"

namespace {

constexpr Colour kGameScreen = RGB(10, 20, 30);

// Rows showing the option background (the top `bands` of every 20) and the game.
void ExpectBlinds(const Image& shot, int bands) {
  for (int y = 0; y < 400; ++y) {
    int x = (y * 7) % 380;
    EXPECT_EQ(shot.At(x, y), y % 20 < bands ? OptBackP().Pixel(x, y) : kGameScreen) << y;
  }
}

using OptionTransitionTest = FrontendTest;

TEST_F(OptionTransitionTest, SlideOffsetsRoundHalvesToEven) {
  auto open = [](int i) { return std::pair(OpeningSlideOffsets(i).x, OpeningSlideOffsets(i).y); };
  EXPECT_EQ(open(0), std::pair(-200, -400));
  EXPECT_EQ(open(15), std::pair(-12, -25));
  EXPECT_EQ(open(17), std::pair(-4, -9));
  EXPECT_EQ(open(19), std::pair(0, -1));
  auto close = [](int i) { return std::pair(ClosingSlideOffsets(i).x, ClosingSlideOffsets(i).y); };
  EXPECT_EQ(close(7), std::pair(-56, 28));
  EXPECT_EQ(close(15), std::pair(0, 60));
  EXPECT_EQ(close(30), std::pair(450, 120));
}

TEST_F(OptionTransitionTest, OpensOverTheSavedScreenAndGivesItBackWhole) {
  Fill(Main(), kGameScreen);
  SnapAt(31, "blinds-1");
  SnapAt(20 * 30 + 1, "blinds-20");
  std::uint64_t start = Backend().Elapsed();
  OptionTransition(True);
  EXPECT_EQ(Backend().Elapsed() - start, 41u * 30);
  ExpectBlinds(shots.at("blinds-1"), 1);
  ExpectBlinds(shots.at("blinds-20"), 20);
  EXPECT_EQ(Main().Pixel(367, 345), RGB(255, 255, 200));  // the menu in place

  SnapAt(31 * 30 + 30 + 1, "closing-blinds-first");
  start = Backend().Elapsed();
  OptionTransition(std::int16_t{1});  // anything but -1 closes
  EXPECT_EQ(Backend().Elapsed() - start, 52u * 30);
  ExpectBlinds(shots.at("closing-blinds-first"), 20);
  EXPECT_EQ(CountColour(Main(), kGameScreen, 0, 0, 380, 400), 380 * 400);
}

}  // namespace
