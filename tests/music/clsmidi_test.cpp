// The music player's exact command strings, in order, and what the game reads back.
#include "music/clsMIDI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "audio/smf_builder.h"
#include "audio/test_backend.h"

namespace {

using Commands = std::vector<std::string>;

class ClsMidiTest : public ::testing::Test {
 protected:
  ClsMidiTest() : folder_("fumbo-clsmidi") {
    std::filesystem::create_directories(folder_.Path() + "/Fumbo Game");
    tune_ = folder_.Path() + "/Fumbo Game\\Game.mid";  // as the game joins it
    folder_.Write("Fumbo Game/Game.mid", ThreeSecondSong());
  }
  // The commands sent since the last call.
  Commands Sent() {
    Commands all = backend_.Commands();
    Commands fresh(all.begin() + static_cast<long>(seen_), all.end());
    seen_ = all.size();
    return fresh;
  }

  TestBackend backend_;
  TempFolder folder_;
  std::string tune_;
  std::size_t seen_ = 0;
};

TEST_F(ClsMidiTest, ConstructionAndDestructionStopAndClose) {
  { clsMIDI player; }
  EXPECT_EQ(Sent(),
            (Commands{"stop midifile ", "close midifile", "stop midifile ", "close midifile"}));
}

TEST_F(ClsMidiTest, EachMemberSendsItsCommandsInOrder) {
  clsMIDI player;
  Sent();
  player.FileName(tune_);
  const Commands opened = Sent();
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], "stop midifile ");
  EXPECT_EQ(opened[1], "close midifile");
  // The short form keeps blanks out of the command.
  EXPECT_EQ(opened[2].rfind("open ", 0), 0u);
  EXPECT_NE(opened[2].find("/FUMBOG~1/Game.mid type sequencer alias midifile"), std::string::npos)
      << opened[2];
  EXPECT_EQ(player.FileName(), tune_);
  EXPECT_EQ(player.Mode(), "STOPPED");  // the open worked
  Sent();

  player.Play();
  EXPECT_EQ(Sent(), (Commands{"stop midifile ", "play midifile"}));
  player.StopM();
  EXPECT_EQ(Sent(), (Commands{"stop midifile "}));
  player.Pause();
  EXPECT_EQ(Sent(), (Commands{"pause midifile "}));
  player.Position("START");
  EXPECT_EQ(Sent(), (Commands{"seek midifile to START"}));
  EXPECT_EQ(player.Position(), "0");
  EXPECT_EQ(Sent(), (Commands{"status midifile position"}));
  EXPECT_EQ(player.Length(), 16);
  EXPECT_EQ(Sent(), (Commands{"status midifile length"}));
  EXPECT_EQ(player.Mode(), "STOPPED");
  EXPECT_EQ(Sent(), (Commands{"status midifile mode"}));
  // On the NT family resuming is a play from where the tune was left.
  player.ResumeM();
  EXPECT_EQ(Sent(), (Commands{"stop midifile ", "play midifile"}));
}

TEST_F(ClsMidiTest, ModeOfAPlayingAFinishedAndNoTune) {
  clsMIDI player;
  EXPECT_EQ(player.Mode(), "");
  EXPECT_EQ(player.Length(), 0);  // no number in the reply
  EXPECT_EQ(player.Position(), "");
  player.FileName(tune_);
  player.Play();
  EXPECT_EQ(player.Mode(), "PLAYING");
  backend_.now += 1500;
  EXPECT_EQ(player.Position(), "10");
  backend_.now += 1500;
  EXPECT_EQ(player.Mode(), "STOPPED");
  // The game's keep-alive: rewind and play again.
  player.Position("START");
  player.Play();
  EXPECT_EQ(player.Mode(), "PLAYING");
}

TEST_F(ClsMidiTest, AssigningTheFileNameStopsAPlayingTune) {
  clsMIDI player;
  player.FileName(tune_);
  player.Play();
  backend_.now += 500;
  player.FileName(tune_);
  EXPECT_EQ(player.Mode(), "STOPPED");
  EXPECT_EQ(player.Position(), "0");  // opened afresh
}

TEST_F(ClsMidiTest, AMissingFileOpensNothingAndStaysSilent) {
  clsMIDI player;
  player.FileName(folder_.Path() + "\\Opening.mid");
  EXPECT_EQ(Sent().back(), "open  type sequencer alias midifile");
  EXPECT_EQ(player.FileName(), folder_.Path() + "\\Opening.mid");
  player.Play();
  EXPECT_EQ(player.Mode(), "");
}

// Folders whose names a command cannot carry as they are (a quote, a tab) on a path longer
// than the player's buffer: the short form carries them and the tune opens. A path that does
// not fit even in short form is told once.
TEST_F(ClsMidiTest, AFolderTheCommandCannotCarryAsItIsStillOpensOrIsTold) {
  const std::string carried =
      folder_.Path() + "/quo\"te/a\tb/" + std::string(250, 'x') + "/" + std::string(250, 'y');
  std::string deep = folder_.Path();
  for (int i = 0; i < 60; ++i) deep += "/abcdefgh";
  clsMIDI player;
  for (const std::string& folder : {carried, deep}) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(folder_.Path() + "/Fumbo Game/Game.mid", folder + "/Game.mid");
  }
  player.FileName(carried + "\\Game.mid");
  EXPECT_EQ(player.Mode(), "STOPPED");  // the open worked
  testing::internal::CaptureStderr();
  player.FileName(deep + "\\Game.mid");
  player.FileName(deep + "\\Game.mid");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("fumbo2: cannot play the tune " + deep +
                           "/Game.mid: its path is too long for the music player",
                       0),
            0u)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(player.Mode(), "");
}

TEST_F(ClsMidiTest, PlayLoopReturnsWhenNoDeviceAnswers) {
  clsMIDI player;
  Sent();
  player.PlayLoop();
  EXPECT_EQ(Sent(), (Commands{"play midifile", "status midifile mode"}));
}

TEST_F(ClsMidiTest, PlayLoopRestartsTheTuneUntilAHandlerStopsIt) {
  clsMIDI player;
  player.FileName(tune_);
  Sent();
  int restarts = 0;
  std::size_t lines = backend_.trace.size();
  backend_.onPump = [&] {
    for (; lines < backend_.trace.size(); ++lines)
      if (backend_.trace[lines].find("\"play midifile from 0\"") != std::string::npos &&
          ++restarts == 2)
        player.StopM();
  };
  const std::uint32_t start = backend_.now;
  player.PlayLoop();
  EXPECT_EQ(restarts, 2);
  // Two whole passes of the 3-second tune, then the stop: a few polls more.
  EXPECT_GE(backend_.now - start, 6000u);
  EXPECT_LT(backend_.now - start, 6010u);
  const Commands sent = Sent();
  EXPECT_EQ(sent.front(), "play midifile");
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "play midifile from 0"), 2);
  EXPECT_EQ(sent.back(), "status midifile mode");
  EXPECT_EQ(player.Mode(), "STOPPED");
}

}  // namespace
