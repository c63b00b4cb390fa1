// Start-up: the splash sliding in with its light bars, the hold and the opening tune, the
// main window fitted and centred, and the first game set up.
#include "frontend/startup.h"

#include <fstream>

#include "frontend/splash_bars.h"
#include "frontend_fixture.h"
#include "gameplay/game_state.h"

namespace {

// A one-note tune of `beats` half-second beats.
void WriteTune(const std::filesystem::path& path, int beats) {
  const int ticks = beats * 96;
  // Tempo 500000 us a beat, one note held for the whole tune, end of track.
  std::string file("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x14\0\xFF\x51\3\7\xA1\x20\0\x90\x3C\x40",
                   33);
  file += {char(0x80 | (ticks >> 7)), char(ticks & 0x7F)};
  file += std::string("\x80\x3C\x40\0\xFF\x2F\0", 7);
  std::ofstream(path, std::ios::binary) << file;
}

class StartUpTest : public FrontendTest {
 protected:
  std::vector<std::string> Splash(const std::string& op) {
    std::vector<std::string> found;
    for (const std::string& line : Lines("window"))
      if (line.find("\"splash\",\"op\":\"" + op + "\"") != std::string::npos) found.push_back(line);
    return found;
  }
  // From the opening tune's start to the splash's end.
  std::uint64_t SplashTime() {
    for (const std::string& line : Lines("mci"))
      if (line.find("\"play midifile\"") != std::string::npos)
        return TimeOf(Splash("unload").at(0)) - TimeOf(line);
    return 0;
  }
};

TEST_F(StartUpTest, SplashSlidesFromTheTopAndHoldsTheCleanBanner) {
  SnapAt(101 * 30 + 1, "last-frame", []() -> Surface& { return AD(0); });
  RunSplash();
  auto moves = Splash("move");
  ASSERT_GE(moves.size(), 4u);
  // Centred by its load handler on the 1024 x 768 screen, then the slide-in.
  EXPECT_EQ(IntField(moves[0], "y"), 349);
  EXPECT_EQ(IntField(moves[1], "y"), 0);
  EXPECT_EQ(IntField(moves[2], "y"), 174);  // half-way at once
  EXPECT_EQ(IntField(moves.back(), "y"), 346);
  for (const std::string& move : moves) EXPECT_EQ(IntField(move, "x"), 412);
  // No tune: 101 frames 30 ms apart and the hold, nothing more.
  EXPECT_EQ(SplashTime(), 101u * 30 + 2000);
  EXPECT_EQ(shots.at("last-frame").pixels, AD(1).Picture()->pixels);  // bars of no height
}

TEST_F(StartUpTest, OpeningTuneKeepsTheSplashUpOnlyWhileItPlays) {
  WriteTune(folder / "Opening.mid", 40);  // 20 s
  RunSplash();
  EXPECT_GE(SplashTime(), 20000u);
  EXPECT_LE(SplashTime(), 20100u);
}

TEST_F(StartUpTest, LightBarWrapsOnlyOncePast200) {
  Surface& banner = AD(1);
  banner.SetPicture(std::make_shared<Image>(200, 70, RGB(0, 8, 0)));
  const Colour clean = RGB(0, 8, 0), lit = RGB(100, 108, 100);
  LightBars bars;
  bars.LightX.fill(-700.0f);  // out of sight for two frames
  bars.LightSpeed.fill(20);
  bars.LightX[0] = 190.0f;  // 210 next: back to -200
  bars.LightX[1] = 180.0f;  // exactly 200 next: drawn there, wraps a frame later
  DrawSplashFrame(banner, bars, 100);
  EXPECT_EQ(bars.LightX[1], 200.0f);
  EXPECT_EQ(banner.Pixel(50, 49), lit);  // bar 0 spans -200..99
  EXPECT_EQ(banner.Pixel(150, 49), clean);
  EXPECT_EQ(CountColour(banner, clean, 0, 50, 200, 70), 200 * 20);
  DrawSplashFrame(banner, bars, 100);
  EXPECT_EQ(bars.LightX[1], -200.0f);
  EXPECT_EQ(banner.Pixel(50, 59), lit);
  EXPECT_EQ(banner.Pixel(150, 59), clean);
  EXPECT_EQ(banner.DrawMode, 13);
}

TEST_F(StartUpTest, MainWindowFitsTheGamePictureAndTheGameTuneFollowsTheSettings) {
  WriteFile("user.ini", {0, 0xFF, 0xFF, 0, 0});
  WriteFile("HighSc.sav", {0, 0, 0, 0, 0, 0, 0x39, 0x30});
  WriteTune(folder / "Game.mid", 4);
  Backend().SetEndTime(6000);
  EXPECT_THROW(StartUp(), ReplayEndReached);
  int width = 0, height = 0;
  Backend().ClientSize(WindowId::Main, width, height);
  WindowRect outer = Backend().OuterRect(WindowId::Main);
  EXPECT_EQ(std::pair(width, height), std::pair(380, 400));
  EXPECT_EQ(std::pair(outer.left, outer.top), std::pair(319, 170));  // centred, half to even
  EXPECT_EQ(HiScore, 12345);
  auto mci = Lines("mci");
  auto open = std::find_if(mci.begin(), mci.end(), [](const std::string& line) {
    return line.find("Game.mid") != std::string::npos;
  });
  ASSERT_GE(mci.end() - open, 3);
  EXPECT_NE(open[2].find("\"cmd\":\"play midifile\""), std::string::npos);
}

}  // namespace
