// The fade of the deleted cells and the reveal of the changed ones, pixel by pixel on Main.
#include "gameplay/deletion_animations.h"

#include "clearing_fixture.h"
#include "gameplay/surfaces.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

constexpr Colour kOld = RGB(1, 2, 3);  // the well on BackP before an animation

class DeletionAnimationsTest : public ClearingFixture {
 protected:
  void SetUp() override {
    ClearingFixture::SetUp();
    BackP().SetPicture(std::make_shared<Image>(380, 400, kOld));
  }
};

TEST_F(DeletionAnimationsTest, FadeDarkensTheBlockOneMaskBandPerFrame) {
  Put({At(3, 2)}, 4, true);  // cell from (60, 270), its digit from x 65
  int f = 0;
  backend.onPump = [&] {
    EXPECT_EQ(Main().Pixel(65, 270), (kBackdrop | Grey(255 - 30 * f)) & DigitColour(4)) << f;
    EXPECT_EQ(Main().Pixel(60, 289), kBackdrop) << f;
    EXPECT_EQ(Main().Pixel(59, 289), kOld) << f;
    EXPECT_EQ(backend.pumpTimes.back(), 50u * ++f);
  };
  AnimateDeletion();
  EXPECT_EQ(f, 8);
}

TEST_F(DeletionAnimationsTest, FadeSoundsOnlyWhenSoundIsOnAndSkipsTheSpawnRow) {
  UserSettings.SoundOn = True;
  Put({At(15, 3)}, 2, true);
  AnimateDeletion();
  UserSettings.SoundOn = 1;  // a stored 1 is not True
  AnimateDeletion();
  EXPECT_TRUE(backend.pumpTimes.empty());
  EXPECT_EQ(backend.Elapsed(), 0u);
  ASSERT_EQ(backend.sounds.size(), 1u);
  EXPECT_NE(backend.sounds[0].second.find("\"Del.wav\""), std::string::npos);
}

TEST_F(DeletionAnimationsTest, RevealSquaresGrowOnePixelASideFromTheCellCentre) {
  Put({At(5, 4)}, 6);  // centre (110, 240)
  Changed[At(5, 4)] = True;
  int k = 0;
  backend.onPump = [&] {
    if (k > 0) {
      EXPECT_NE(Main().Pixel(110 - k, 240 + k - 1), kOld) << k;
    }
    EXPECT_EQ(Main().Pixel(110 - k - 1, 240), kOld) << k;
    EXPECT_EQ(Main().Pixel(110 + k, 240 + k), kOld) << k;
    EXPECT_EQ(backend.pumpTimes.back(), 30u * ++k);
  };
  ShowChanged();
  EXPECT_EQ(k, 11);
  EXPECT_EQ(Main().Pixel(105, 230), DigitColour(6));
  EXPECT_EQ(BackPSub().Pixel(105, 230), kBackdrop);  // clean again
}

TEST_F(DeletionAnimationsTest, OnlyOccupiedUnmarkedChangedVisibleCellsAreRevealed) {
  Put({At(0, 1)}, 2, true);  // about to go
  Put({At(15, 2)}, 2);       // out of sight
  Changed[At(0, 0)] = Changed[At(0, 1)] = Changed[At(15, 2)] = True;
  DelSum = SuperAt = 10;  // a lamp would be due
  BackPSub().SetPixel(5, 5, kOld);
  const std::vector<float> stream = RandomStream(3, 1);
  ShowChanged();
  EXPECT_TRUE(backend.pumpTimes.empty());
  EXPECT_EQ(Rnd(), stream[0]);
  EXPECT_EQ(BackPSub().Pixel(5, 5), kBackdrop);
}

TEST_F(DeletionAnimationsTest, LampFlickersOnEveryRevealFrameWhileASuperPairIsDue) {
  Put({At(0, 0)}, 2);
  Changed[At(0, 0)] = True;
  DelSum = SuperAt = 10;
  const std::vector<float> stream = RandomStream(11, 34);
  int k = 0;
  backend.onPump = [&] { EXPECT_EQ(Main().Pixel(240, 35), LampColour(&stream[3 * k++])); };
  ShowChanged();
  EXPECT_EQ(k, 11);
  EXPECT_EQ(Rnd(), stream[33]);
  EXPECT_EQ(LampOn, True);
  EXPECT_EQ(BackP().DrawMode * 10 + BackP().FillStyle, 131);
}

}  // namespace
}  // namespace clearing_test
