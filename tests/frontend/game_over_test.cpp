// The game-over sequence: the burst of the well's digits, the blinds, the title's fade-in,
// the pause, then the exit.
#include "frontend/game_over.h"

#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "platform/gdi.h"
#include "platform/system.h"

namespace {

using GameOverTest = FrontendTest;

TEST_F(GameOverTest, FramesInOrderThenTheExit) {
  ShowMain();
  Board[0] = 2, Board[144] = 5;  // digits 1 and 4
  Board[154] = 3;                // spawn row: never drawn
  Board[37] = kSuperCell;        // no digit of its own
  SnapAt(31, "burst-0");
  SnapAt(30 * 31 + 1, "burst-30");
  SnapAt(30 * 52 + 1, "blinds-20");
  SnapAt(30 * 138 + 1, "fade-85");
  RandomizeWith(99);
  for (int i = 0; i < 600; ++i) Rnd();
  const float after = Rnd();
  RandomizeWith(99);
  const std::uint64_t start = Backend().Elapsed();
  EXPECT_TRUE(EndsProgram([] { GameOver(); }));
  EXPECT_EQ(Rnd(), after);  // 600 random numbers for the shards
  EXPECT_GE(TimeOf(Lines("msgbox").at(0)) - start, 6140u);
  EXPECT_EQ(MessageTexts().size(), 2u);

  // Frame 0: the digits at home over the empty well.
  Surface home(380, 400);
  home.SetPicture(GameBackgroundPicture());
  for (int cell : {0, 144}) {
    int x = 25 + 20 * (cell % 10), y = 30 + 20 * ((159 - cell) / 10);
    BitBlt(home, x, y, 10, 20, BlP()[1], (Board[cell] - 1) * 10, 0, SRCPAINT);
    BitBlt(home, x, y, 10, 20, BlP()[0], (Board[cell] - 1) * 10, 0, SRCAND);
  }
  EXPECT_EQ(shots.at("burst-0").pixels, home.Snapshot().pixels);
  // Frame 30: every digit has flown out of the well.
  EXPECT_EQ(shots.at("burst-30").pixels, GameBackgroundPicture()->pixels);
  for (Colour pixel : shots.at("blinds-20").pixels) ASSERT_EQ(pixel, RGB(0, 0, 0));
  // The last fade frame: the title at full brightness, centred on black.
  const Image& title = shots.at("fade-85");
  int lit = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x) {
      bool glyph = x >= 60 && x < 320 && y >= 175 && y < 225 &&
                   GameOverP()[1].Pixel(x - 60, y - 175) == RGB(255, 255, 255);
      ASSERT_EQ(title.At(x, y), glyph ? GameOverP()[0].Pixel(x - 60, y - 175) : RGB(0, 0, 0));
      lit += glyph;
    }
  EXPECT_GT(lit, 1000);
  Surface screen(380, 400);
  screen.SetPicture(std::make_shared<Image>(title));
  SaveScreenshot(screen, "game_over");
}

}  // namespace
