// Start-up: the splash sliding in with its light bars, the hold and the opening tune, the
// main window fitted and centred, and the first game set up.
#include "frontend/startup.h"

#include <fstream>

#include "frontend/splash_bars.h"
#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"

namespace {

// A one-note tune of `beats` beats at 120 beats a minute (half a second each).
void WriteTune(const std::filesystem::path& path, int beats) {
  const int ticks = beats * 96;
  std::vector<std::uint8_t> track = {0x00,
                                     0xFF,
                                     0x51,
                                     0x03,
                                     0x07,
                                     0xA1,
                                     0x20,
                                     0x00,
                                     0x90,
                                     0x3C,
                                     0x40,
                                     static_cast<std::uint8_t>(0x80 | (ticks >> 7)),
                                     static_cast<std::uint8_t>(ticks & 0x7F),
                                     0x80,
                                     0x3C,
                                     0x40,
                                     0x00,
                                     0xFF,
                                     0x2F,
                                     0x00};
  std::vector<std::uint8_t> file = {
      'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
      1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(track.size())};
  file.insert(file.end(), track.begin(), track.end());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

class StartUpTest : public FrontendTest {
 protected:
  std::vector<std::string> SplashLines(const std::string& op) {
    std::vector<std::string> found;
    for (const std::string& line : Lines("window"))
      if (line.find("\"splash\"") != std::string::npos &&
          line.find("\"op\":\"" + op + "\"") != std::string::npos)
        found.push_back(line);
    return found;
  }
  std::uint64_t FirstMci(const std::string& command) {
    for (const std::string& line : Lines("mci"))
      if (line.find("\"cmd\":\"" + command) != std::string::npos) return TimeOf(line);
    return 0;
  }
};

TEST_F(StartUpTest, SplashStartsAtTheTopAndCreepsTowardTheCentre) {
  RunSplash();
  auto moves = SplashLines("move");
  ASSERT_GE(moves.size(), 4u);
  // Centred by its load handler on the 1024 x 768 screen, then the slide-in.
  EXPECT_EQ(IntField(moves[0], "x"), 412);
  EXPECT_EQ(IntField(moves[0], "y"), 349);
  EXPECT_EQ(IntField(moves[1], "y"), 0);
  EXPECT_EQ(IntField(moves[2], "y"), 174);  // half-way at once
  EXPECT_EQ(IntField(moves.back(), "y"), 346);
  for (const std::string& move : moves) EXPECT_EQ(IntField(move, "x"), 412);
  EXPECT_EQ(SplashLines("unload").size(), 1u);
}

TEST_F(StartUpTest, SlideAndHoldWithoutATune) {
  std::map<std::string, Image> shots;
  Backend().SetSnapshotTaker(
      [&](const std::string& name) { shots.emplace(name, AD(0).Snapshot()); });
  ScriptEvent snap;
  snap.kind = ScriptEventKind::Snap;
  snap.time = 3031;
  snap.words = {"last-frame"};
  Backend().Schedule(snap);
  RunSplash();
  const std::uint64_t play = FirstMci("play midifile");
  const std::uint64_t unload = TimeOf(SplashLines("unload")[0]);
  EXPECT_EQ(unload - play, 101u * 30 + 2000);
  // The last frame's bars have no height: the banner shows clean.
  ASSERT_TRUE(shots.contains("last-frame"));
  const Image& banner = *AD(1).Picture();
  EXPECT_EQ(shots.at("last-frame").pixels, banner.pixels);
}

TEST_F(StartUpTest, LongOpeningTuneKeepsTheSplashUpUntilItEnds) {
  WriteTune(Folder() / "Opening.mid", 40);  // 20 s
  RunSplash();
  const std::uint64_t play = FirstMci("play midifile");
  const std::uint64_t unload = TimeOf(SplashLines("unload")[0]);
  EXPECT_GE(unload - play, 20000u);
  EXPECT_LE(unload - play, 20100u);
}

TEST_F(StartUpTest, ShortOpeningTuneAddsNoWait) {
  WriteTune(Folder() / "Opening.mid", 4);  // 2 s
  RunSplash();
  EXPECT_EQ(TimeOf(SplashLines("unload")[0]) - FirstMci("play midifile"), 101u * 30 + 2000);
}

TEST_F(StartUpTest, LightBarWrapsOnlyOncePast200) {
  Surface& banner = AD(1);
  auto dark = std::make_shared<Image>(200, 70, RGB(0, 8, 0));
  banner.SetPicture(dark);
  const Image& clean = *dark;
  LightBars bars;
  bars.LightX.fill(-700.0f);  // out of sight for two frames
  bars.LightSpeed.fill(20);
  bars.LightX[0] = 190.0f;  // 210 next: back to -200
  bars.LightX[1] = 180.0f;  // exactly 200 next: drawn there, wraps a frame later
  DrawSplashFrame(banner, bars, 100);
  EXPECT_EQ(bars.LightX[0], -200.0f);
  EXPECT_EQ(bars.LightX[1], 200.0f);
  auto merged = [&](int x, int y) { return clean.At(x, y) | RGB(100, 100, 100); };
  ASSERT_NE(merged(50, 49), clean.At(50, 49));
  EXPECT_EQ(banner.Pixel(50, 49), merged(50, 49));  // bar 0 spans -200..99
  EXPECT_EQ(banner.Pixel(150, 49), clean.At(150, 49));
  for (int x = 0; x < 200; ++x) EXPECT_EQ(banner.Pixel(x, 69), clean.At(x, 69)) << x;
  DrawSplashFrame(banner, bars, 100);
  EXPECT_EQ(bars.LightX[1], -200.0f);
  EXPECT_EQ(banner.Pixel(50, 59), merged(50, 59));
  EXPECT_EQ(banner.Pixel(150, 59), clean.At(150, 59));
  // Drawing leaves the banner's pens as they were.
  EXPECT_EQ(banner.DrawMode, 13);
  EXPECT_EQ(banner.FillStyle, 1);
}

TEST_F(StartUpTest, MainWindowFitsTheGamePictureAndIsCentred) {
  ShowMainWindow();
  int width = 0, height = 0;
  Backend().ClientSize(WindowId::Main, width, height);
  EXPECT_EQ(width, 380);
  EXPECT_EQ(height, 400);
  WindowRect outer = Backend().OuterRect(WindowId::Main);
  EXPECT_EQ(outer.left, (1024 - outer.width) / 2);
  EXPECT_LE(std::abs(2 * outer.top - (768 - outer.height)), 1);
  EXPECT_TRUE(Backend().Visible(WindowId::Main));
  EXPECT_EQ(Backend().Caption(WindowId::Main), "#Fumbo!2nd  （体験版）");
  EXPECT_EQ(Backend().AttachedSurface(WindowId::Main), &Main());
}

TEST_F(StartUpTest, WholeStartUpReachesPlayWithTheFirstPair) {
  WriteFile("user.ini", {0x00, 0xFF, 0xFF, 0x00, 0x00});
  WriteFile("HighSc.sav", {0, 0, 0, 0, 0, 0, 0x39, 0x30, 0, 0});
  WriteTune(Folder() / "Game.mid", 4);
  Backend().SetEndTime(6000);
  EXPECT_THROW(StartUp(), ReplayEndReached);
  EXPECT_EQ(CurPiece[0], 2);
  EXPECT_EQ(CurPiece[1], 2);
  EXPECT_EQ(SuperCount, 1);
  EXPECT_GE(SuperAt, 80);
  EXPECT_LE(SuperAt, 84);
  EXPECT_EQ(Level, 1);
  EXPECT_EQ(HiScore, 12345);
  EXPECT_EQ(TickExp, 7);
  EXPECT_GE(PlayStartTick, 100000u + 5030);
  // Music is on in the settings: the game tune starts after the splash.
  auto mci = Lines("mci");
  auto gameTune = std::find_if(mci.begin(), mci.end(), [](const std::string& line) {
    return line.find("\"cmd\":\"open ") != std::string::npos &&
           line.find("Game.mid") != std::string::npos;
  });
  ASSERT_NE(gameTune, mci.end()) << ::testing::PrintToString(mci);
  ASSERT_NE(gameTune + 1, mci.end());
  EXPECT_NE(gameTune[1].find("\"cmd\":\"stop midifile \""), std::string::npos);
  EXPECT_NE(gameTune[2].find("\"cmd\":\"play midifile\""), std::string::npos);
}

}  // namespace
