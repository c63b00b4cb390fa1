// The super-clear effect: its frames and their timing, its two sounds, the triangles, the
// disc and the fade from white.
#include "gameplay/super_effect.h"

#include <vector>

#include "clearing_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"

namespace clearing_test {
namespace {

class SuperEffectTest : public ClearingFixture {
 protected:
  // Main's pixel at (x, y) in every frame.
  std::vector<Colour> RunWatching(int x, int y) {
    WatchMainPixel(x, y);
    SuperEffect();
    return mainPixels;
  }
};

TEST_F(SuperEffectTest, RunsEightySixFramesOf30MsThenSixteenOf50Ms) {
  SuperEffect();
  ASSERT_EQ(backend.pumpTimes.size(), 102u);
  for (int i = 0; i < 86; ++i) EXPECT_EQ(backend.pumpTimes[i], 30u * (i + 1)) << "frame " << i;
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(backend.pumpTimes[86 + i], 2580u + 50u * (i + 1)) << "fade frame " << i;
  EXPECT_GE(backend.Elapsed(), 3380u);
}

TEST_F(SuperEffectTest, PlaysItsTwoSoundsAtFrames15And45) {
  UserSettings.SoundOn = True;
  SuperEffect();
  EXPECT_EQ(backend.EffectsNamed("Super1.wav"), 1);
  EXPECT_EQ(backend.EffectsNamed("Super2.wav"), 1);
  if (backend.sounds.size() == 2) {
    EXPECT_EQ(backend.sounds[0].time, 480u);
    EXPECT_EQ(backend.sounds[1].time, 1380u);
  }
}

TEST_F(SuperEffectTest, SilentWhenSoundIsOff) {
  UserSettings.SoundOn = 1;  // a stored 1 is not True
  SuperEffect();
  EXPECT_EQ(backend.EffectsNamed("Super1.wav") + backend.EffectsNamed("Super2.wav"), 0);
  EXPECT_EQ(backend.pumpTimes.size(), 102u);
}

TEST_F(SuperEffectTest, DiscGrowsFromTheCentreFromFrame55) {
  const std::vector<Colour> centre = RunWatching(120, 200);
  mainPixels.clear();
  const std::vector<Colour> nearEdge = RunWatching(126, 200);
  mainPixels.clear();
  const std::vector<Colour> beyond = RunWatching(129, 200);
  mainPixels.clear();
  const std::vector<Colour> corner = RunWatching(25, 55);
  ASSERT_EQ(centre.size(), 102u);
  EXPECT_EQ(centre[54], kBackdrop);
  EXPECT_EQ(centre[55], kBackdrop);  // a disc of radius 0
  EXPECT_EQ(centre[56], Merge(kBackdrop, RGB(110, 8, 8)));
  EXPECT_EQ(nearEdge[56], Merge(kBackdrop, RGB(110, 8, 8)));
  EXPECT_EQ(beyond[56], kBackdrop);
  EXPECT_EQ(centre[58], Merge(kBackdrop, RGB(120, 26, 26)));
  EXPECT_EQ(centre[85], RGB(255, 255, 255));
  EXPECT_EQ(corner[85], RGB(255, 255, 255));
  EXPECT_EQ(corner[66], kBackdrop);  // the disc does not reach the corner yet
}

TEST_F(SuperEffectTest, WellFadesBackFromWhite) {
  Board[At(0, 0)] = Digit(7);
  const std::vector<Colour> digit = RunWatching(25, 330);
  mainPixels.clear();
  const std::vector<Colour> floor = RunWatching(219, 349);
  EXPECT_EQ(digit[86], RGB(255, 255, 255));
  EXPECT_EQ(floor[86], RGB(255, 255, 255));
  EXPECT_EQ(digit[87], Merge(DigitColour(7), RGB(238, 238, 238)));
  EXPECT_EQ(digit[101], DigitColour(7));
  EXPECT_EQ(floor[101], kBackdrop);
}

TEST_F(SuperEffectTest, TrianglesSpinOverMarkedCellsInAFadingBlue) {
  const int cell = At(4, 4);  // centre (110, 260), digit from x 105
  Board[cell] = Digit(3);
  Marked[cell] = True;
  const std::vector<Colour> centre = RunWatching(110, 260);
  // Frame 20: radius 10.3, colour (170, 170, 255) merged onto the digit.
  EXPECT_EQ(centre[20], Merge(DigitColour(3), RGB(170, 170, 255)));
  EXPECT_EQ(centre[50], Merge(DigitColour(3), RGB(110, 110, 255)));
  EXPECT_EQ(Board[cell], Digit(3));
  EXPECT_EQ(Marked[cell], True);
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().FillStyle, 1);
}

}  // namespace
}  // namespace clearing_test
