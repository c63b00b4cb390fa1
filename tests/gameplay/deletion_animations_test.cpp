// The fade of the deleted cells and the reveal of the changed ones, pixel by pixel on Main.
#include "gameplay/deletion_animations.h"

#include <vector>

#include "clearing_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

class DeletionAnimationsTest : public ClearingFixture {};

TEST_F(DeletionAnimationsTest, FadeDarkensTheBlockOneMaskBandPerFrame) {
  Board[At(3, 2)] = Digit(4);
  Marked[At(3, 2)] = True;
  // Cell (3, 2): left 60, top 270; its digit from x 65.
  std::vector<std::pair<Colour, Colour>> frames;
  backend.onPump = [&] { frames.push_back({Main().Pixel(65, 270), Main().Pixel(64, 289)}); };
  AnimateDeletion();
  ASSERT_EQ(frames.size(), 8u);
  for (int f = 0; f < 8; ++f) {
    const int grey = 255 - 30 * f;
    EXPECT_EQ(frames[f].first, Mask(Merge(kBackdrop, RGB(grey, grey, grey)), DigitColour(4)))
        << "band " << f;
    EXPECT_EQ(frames[f].second, kBackdrop) << "band " << f;
    EXPECT_EQ(backend.pumpTimes[f], 50u * (f + 1)) << "band " << f;
  }
  EXPECT_EQ(Board[At(3, 2)], Digit(4));
}

TEST_F(DeletionAnimationsTest, FadeErasesWhatWasDrawnOverTheCell) {
  Board[At(0, 0)] = Digit(2);
  Marked[At(0, 0)] = True;
  BackP().FillStyle = 0;
  BackP().FillColor = BackP().ForeColor = RGB(255, 0, 0);
  Rectangle(BackP(), 20, 330, 40, 350);
  BackP().FillStyle = 1;
  AnimateDeletion();
  EXPECT_EQ(Main().Pixel(20, 330), kBackdrop);
  EXPECT_EQ(Main().Pixel(39, 349), kBackdrop);
  EXPECT_EQ(Main().Pixel(25, 349), Mask(Merge(kBackdrop, RGB(45, 45, 45)), DigitColour(2)));
}

TEST_F(DeletionAnimationsTest, FadeOfTheSpawnRowAloneDrawsNothingButSounds) {
  UserSettings.SoundOn = True;
  Board[At(15, 3)] = Digit(2);
  Marked[At(15, 3)] = True;
  AnimateDeletion();
  EXPECT_TRUE(backend.pumpTimes.empty());
  EXPECT_EQ(backend.Elapsed(), 0u);
  EXPECT_EQ(backend.EffectsNamed("Del.wav"), 1);
}

TEST_F(DeletionAnimationsTest, DeletionSoundsOnlyWhenSoundIsExactlyOn) {
  Board[At(0, 0)] = Digit(2);
  Marked[At(0, 0)] = True;
  UserSettings.SoundOn = 1;  // a stored 1 is not True
  AnimateDeletion();
  UserSettings.SoundOn = False;
  AnimateDeletion();
  EXPECT_EQ(backend.EffectsNamed("Del.wav"), 0);
}

class RevealTest : public ClearingFixture {
 protected:
  static constexpr Colour kOld = RGB(1, 2, 3);
  void SetUp() override {
    ClearingFixture::SetUp();
    // The old picture of the well, which the reveal uncovers from each cell's centre.
    BackP().SetPicture(std::make_shared<Image>(380, 400, kOld));
  }
};

TEST_F(RevealTest, SquaresGrowOnePixelASidePerFrame) {
  const int cell = At(5, 4);  // centre (110, 240)
  Board[cell] = Digit(6);
  Changed[cell] = True;
  struct Frame {
    bool inside[4];
    bool outside[4];
  };
  std::vector<Frame> frames;
  backend.onPump = [&] {
    const int k = static_cast<int>(frames.size());
    const Surface& m = Main();
    frames.push_back({{m.Pixel(110 - k, 240) != kOld, m.Pixel(110 + k - 1, 240) != kOld,
                       m.Pixel(110, 240 - k) != kOld, m.Pixel(110, 240 + k - 1) != kOld},
                      {m.Pixel(110 - k - 1, 240) == kOld, m.Pixel(110 + k, 240) == kOld,
                       m.Pixel(110, 240 - k - 1) == kOld, m.Pixel(110, 240 + k) == kOld}});
  };
  ShowChanged();
  ASSERT_EQ(frames.size(), 11u);
  for (int k = 0; k < 11; ++k) {
    for (int side = 0; side < 4; ++side) {
      if (k > 0) {
        EXPECT_TRUE(frames[k].inside[side]) << "frame " << k << " side " << side;
      }
      if (k < 10) {
        EXPECT_TRUE(frames[k].outside[side]) << "frame " << k << " side " << side;
      }
    }
    EXPECT_EQ(backend.pumpTimes[k], 30u * (k + 1));
  }
  // The new digit on the clean backdrop, and the backdrop itself around it.
  EXPECT_EQ(Main().Pixel(105, 230), DigitColour(6));
  EXPECT_EQ(Main().Pixel(104, 230), kBackdrop);
  EXPECT_EQ(BackPSub().Pixel(105, 230), kBackdrop);  // cleaned afterwards
}

TEST_F(RevealTest, OnlyOccupiedUnmarkedChangedCellsOfTheVisibleRowsAreRevealed) {
  Changed[At(0, 0)] = True;  // empty
  Board[At(0, 1)] = Digit(2);
  Changed[At(0, 1)] = True;
  Marked[At(0, 1)] = True;  // about to go
  Board[At(15, 2)] = Digit(2);
  Changed[At(15, 2)] = True;  // out of sight
  DelSum = SuperAt = 10;      // a lamp would be due
  BackPSub().FillStyle = 0;
  BackPSub().FillColor = BackPSub().ForeColor = RGB(9, 9, 9);
  Rectangle(BackPSub(), 0, 0, 10, 10);
  BackPSub().FillStyle = 1;
  const std::vector<float> stream = RandomStream(3, 1);
  ShowChanged();
  EXPECT_TRUE(backend.pumpTimes.empty());
  EXPECT_EQ(backend.Elapsed(), 0u);
  EXPECT_EQ(LampOn, False);
  EXPECT_EQ(Rnd(), stream[0]);
  EXPECT_EQ(BackPSub().Pixel(5, 5), kBackdrop);
  EXPECT_EQ(Main().Pixel(30, 340), kBackdrop);
}

TEST_F(RevealTest, LampFlickersOnEveryFrameWhileASuperPairIsDue) {
  Board[At(0, 0)] = Digit(2);
  Changed[At(0, 0)] = True;
  DelSum = SuperAt = 10;
  const std::vector<float> stream = RandomStream(11, 34);
  std::vector<Colour> lamp;
  backend.onPump = [&] { lamp.push_back(Main().Pixel(240, 35)); };
  ShowChanged();
  ASSERT_EQ(lamp.size(), 11u);
  for (int k = 0; k < 11; ++k)
    EXPECT_EQ(lamp[k], LampColour(stream[3 * k], stream[3 * k + 1], stream[3 * k + 2]))
        << "frame " << k;
  EXPECT_EQ(Rnd(), stream[33]);
  EXPECT_EQ(LampOn, True);
  EXPECT_EQ(BackP().DrawMode, 13);
  EXPECT_EQ(BackP().FillStyle, 1);
}

}  // namespace
}  // namespace clearing_test
