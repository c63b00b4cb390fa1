// The super-clear effect: its frames and their timing, its sounds, the triangles, the disc
// and the fade from white.
#include "gameplay/super_effect.h"

#include "clearing_fixture.h"
#include "gameplay/surfaces.h"

namespace clearing_test {
namespace {

class SuperEffectTest : public ClearingFixture {
 protected:
  std::vector<Colour> RunWatching(int x, int y) {
    WatchMainPixel(x, y);
    SuperEffect();
    return mainPixels;
  }
};

TEST_F(SuperEffectTest, EightySixFramesOf30MsThenSixteenOf50MsWithTwoSounds) {
  UserSettings.SoundOn = True;
  SuperEffect();
  ASSERT_EQ(backend.pumpTimes.size(), 102u);
  for (int i = 0; i < 86; ++i) EXPECT_EQ(backend.pumpTimes[i], 30u * (i + 1)) << i;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(backend.pumpTimes[86 + i], 2580u + 50 * (i + 1)) << i;
  EXPECT_GE(backend.Elapsed(), 3380u);
  ASSERT_EQ(backend.sounds.size(), 2u);
  EXPECT_EQ(backend.sounds[0].first, 480u);  // frame 15
  EXPECT_NE(backend.sounds[0].second.find("\"Super1.wav\""), std::string::npos);
  EXPECT_EQ(backend.sounds[1].first, 1380u);  // frame 45
  EXPECT_NE(backend.sounds[1].second.find("\"Super2.wav\""), std::string::npos);
  UserSettings.SoundOn = 1;  // a stored 1 is not True
  SuperEffect();
  EXPECT_EQ(backend.sounds.size(), 2u);
}

TEST_F(SuperEffectTest, DiscGrowsFromTheCentreFromFrame55TowardsWhite) {
  const std::vector<Colour> centre = RunWatching(120, 200);
  const std::vector<Colour> nearEdge = RunWatching(126, 200);
  const std::vector<Colour> beyond = RunWatching(129, 200);
  const std::vector<Colour> corner = RunWatching(25, 55);
  ASSERT_EQ(centre.size(), 102u);
  EXPECT_EQ(centre[55], kBackdrop);  // radius 0
  EXPECT_EQ(centre[56], kBackdrop | RGB(110, 8, 8));
  EXPECT_EQ(nearEdge[56], kBackdrop | RGB(110, 8, 8));
  EXPECT_EQ(beyond[56], kBackdrop);
  EXPECT_EQ(centre[58], kBackdrop | RGB(120, 26, 26));
  EXPECT_EQ(corner[66], kBackdrop);
  EXPECT_EQ(centre[85], kWhite);
  EXPECT_EQ(corner[85], kWhite);
}

TEST_F(SuperEffectTest, WellFadesBackFromWhite) {
  Put({At(0, 0)}, 7);
  const std::vector<Colour> digit = RunWatching(25, 330);
  const std::vector<Colour> floor = RunWatching(219, 349);
  EXPECT_EQ(digit[86], kWhite);
  EXPECT_EQ(floor[86], kWhite);
  EXPECT_EQ(digit[87], DigitColour(7) | Grey(238));
  EXPECT_EQ(digit[101], DigitColour(7));
  EXPECT_EQ(floor[101], kBackdrop);
}

TEST_F(SuperEffectTest, TrianglesSpinOverMarkedCellsInAFadingBlue) {
  Put({At(4, 4)}, 3, true);  // centre (110, 260), on the digit
  const std::vector<Colour> centre = RunWatching(110, 260);
  EXPECT_EQ(centre[20], DigitColour(3) | RGB(170, 170, 255));
  EXPECT_EQ(centre[50], DigitColour(3) | RGB(110, 110, 255));
  EXPECT_EQ(BackP().DrawMode * 10 + BackP().FillStyle, 131);
}

}  // namespace
}  // namespace clearing_test
