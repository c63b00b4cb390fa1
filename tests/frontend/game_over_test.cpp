// The game-over sequence: the burst of the well's digits, the blinds, the fade-in of the
// title, the pause, then the exit.
#include "frontend/game_over.h"

#include <map>

#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace {

class GameOverTest : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    Main().SetPicture(GameBackgroundPicture());
    BackPSub().SetPicture(GameBackgroundPicture());
    Backend().AttachSurface(WindowId::Main, &Main());
    Backend().Show(WindowId::Main);
    Backend().SetSnapshotTaker(
        [this](const std::string& name) { shots_.emplace(name, Main().Snapshot()); });
  }
  void SnapAt(std::uint64_t ms, const std::string& name) {
    ScriptEvent snap;
    snap.time = Backend().Elapsed() + ms;
    snap.kind = ScriptEventKind::Snap;
    snap.words = {name};
    Backend().Schedule(snap);
  }
  std::map<std::string, Image> shots_;
};

TEST_F(GameOverTest, RunsItsFramesThenPausesThenQuits) {
  const std::uint64_t start = Backend().Elapsed();
  EXPECT_TRUE(EndsProgram([] { GameOver(); }));
  auto boxes = Lines("msgbox");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_GE(TimeOf(boxes[0]) - start, 6140u);
  EXPECT_NE(boxes[1].find("FPS = "), std::string::npos);
}

TEST_F(GameOverTest, DrawsSixHundredRandomNumbers) {
  RandomizeWith(99);
  for (int i = 0; i < 600; ++i) Rnd();
  const float next = Rnd();
  RandomizeWith(99);
  EXPECT_TRUE(EndsProgram([] { GameOver(); }));
  EXPECT_EQ(Rnd(), next);
}

TEST_F(GameOverTest, BurstStartsAtHomeAndLeavesTheWellEmpty) {
  Board[0] = 2;            // digit 1, bottom-left
  Board[144] = 5;          // the game-over cell
  Board[154] = 3;          // spawn row: never drawn
  Board[37] = kSuperCell;  // no digit of its own
  SnapAt(31, "burst-0");
  SnapAt(30 * 31 + 1, "burst-30");
  SnapAt(30 * 52 + 1, "blinds-20");
  SnapAt(30 * 138 + 1, "fade-85");
  EXPECT_TRUE(EndsProgram([] { GameOver(); }));

  // Frame 0: each digit of the well at its home place over the empty well.
  const Image& first = shots_.at("burst-0");
  Surface home(380, 400);
  home.SetPicture(GameBackgroundPicture());
  for (int cell : {0, 144}) {
    int x = 25 + 20 * (cell % 10), y = 30 + 20 * ((159 - cell) / 10);
    BitBlt(home, x, y, 10, 20, BlP()[1], (Board[cell] - 1) * 10, 0, SRCPAINT);
    BitBlt(home, x, y, 10, 20, BlP()[0], (Board[cell] - 1) * 10, 0, SRCAND);
  }
  int differing = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x) differing += first.At(x, y) != home.Pixel(x, y);
  EXPECT_EQ(differing, 0);
  // Frame 30: every digit has flown out of the well.
  const Image& last = shots_.at("burst-30");
  for (int y = 50; y < 350; ++y)
    for (int x = 20; x < 220; ++x)
      ASSERT_EQ(last.At(x, y), GameBackgroundPicture()->At(x, y)) << x << "," << y;
  // The blinds meet: all black.
  for (Colour pixel : shots_.at("blinds-20").pixels) ASSERT_EQ(pixel, RGB(0, 0, 0));
}

TEST_F(GameOverTest, TitleFadesInToFullBrightnessOnBlack) {
  SnapAt(30 * 53 + 1, "fade-0");
  SnapAt(30 * 138 + 1, "fade-85");
  EXPECT_TRUE(EndsProgram([] { GameOver(); }));
  for (Colour pixel : shots_.at("fade-0").pixels) ASSERT_EQ(pixel, RGB(0, 0, 0));
  const Image& title = shots_.at("fade-85");
  Sheet& words = GameOverP();
  int lit = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x) {
      bool inside = x >= 60 && x < 320 && y >= 175 && y < 225;
      bool glyph = inside && words[1].Pixel(x - 60, y - 175) == RGB(255, 255, 255);
      Colour expected = glyph ? words[0].Pixel(x - 60, y - 175) : RGB(0, 0, 0);
      ASSERT_EQ(title.At(x, y), expected) << x << "," << y;
      lit += glyph;
    }
  EXPECT_GT(lit, 1000);
  Surface shot(380, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x) shot.SetPixel(x, y, title.At(x, y));
  SaveScreenshot(shot, "game_over");
}

}  // namespace
