// The MCI string interface on the virtual sequencer: replies, errors, device behaviour.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "audio/smf_builder.h"
#include "audio/test_backend.h"
#include "platform/system.h"

namespace {

class MciTest : public ::testing::Test {
 protected:
  MciTest() : folder_("fumbo-mci") { song_ = folder_.Write("song.mid", ThreeSecondSong()); }

  // Sends with a roomy reply buffer; the reply lands in reply_.
  std::uint32_t Send(const std::string& command, std::uint32_t length = 128) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    const std::uint32_t result = mciSendStringA(command.c_str(), buffer, length, nullptr);
    reply_ = length > 0 ? std::string(buffer) : std::string();
    return result;
  }
  std::string Status(const std::string& item) {
    EXPECT_EQ(Send("status midifile " + item), 0u) << item;
    return reply_;
  }
  void OpenSong() { ASSERT_EQ(Send("open " + song_ + " type sequencer alias midifile"), 0u); }

  TestBackend backend_;
  TempFolder folder_;
  std::string song_;
  std::string reply_;
};

TEST_F(MciTest, OpenGivesTheDeviceNumberAndAStoppedDeviceAtZero) {
  OpenSong();
  EXPECT_EQ(reply_, "1");
  EXPECT_EQ(Status("mode"), "stopped");
  EXPECT_EQ(Status("position"), "0");
  EXPECT_EQ(Status("length"), "16");
  EXPECT_EQ(Status("ready"), "true");
  EXPECT_EQ(Status("time format"), "song pointer");
  ASSERT_EQ(Send("open " + song_ + " type sequencer alias other"), 0u);
  EXPECT_EQ(reply_, "2");
  EXPECT_EQ(Send("close other"), 0u);
}

TEST_F(MciTest, PlayRunsThroughTheTempoMapAndStopsAtTheEnd) {
  OpenSong();
  ASSERT_EQ(Send("play midifile"), 0u);
  EXPECT_EQ(reply_, "");
  EXPECT_EQ(Status("mode"), "playing");
  backend_.now += 1000;  // two quarter notes at 120
  EXPECT_EQ(Status("position"), "8");
  backend_.now += 1999;  // 1 ms before the end (the second half is at 60)
  EXPECT_EQ(Status("mode"), "playing");
  EXPECT_EQ(Status("position"), "15");
  backend_.now += 1;
  EXPECT_EQ(Status("mode"), "stopped");
  EXPECT_EQ(Status("position"), "16");
  // At the end a play plays nothing.
  EXPECT_EQ(Send("play midifile"), 0u);
  EXPECT_EQ(Status("mode"), "stopped");
}

TEST_F(MciTest, StopPauseResumeSeekAndPlayFrom) {
  OpenSong();
  Send("play midifile");
  backend_.now += 500;
  EXPECT_EQ(Send("stop midifile "), 0u);
  EXPECT_EQ(Status("mode"), "stopped");
  backend_.now += 5000;
  EXPECT_EQ(Status("position"), "4");  // kept, not rewound
  EXPECT_EQ(Send("stop midifile"), 0u);
  Send("play midifile");  // on from 4
  backend_.now += 500;
  EXPECT_EQ(Status("position"), "8");
  EXPECT_EQ(Send("pause midifile "), 0u);
  EXPECT_EQ(Status("mode"), "paused");
  backend_.now += 5000;
  EXPECT_EQ(Send("resume midifile "), 0u);
  EXPECT_EQ(Status("mode"), "playing");
  backend_.now += 1000;
  EXPECT_EQ(Status("position"), "12");
  EXPECT_EQ(Send("resume midifile"), 0u);  // not paused: nothing
  EXPECT_EQ(Status("mode"), "playing");
  EXPECT_EQ(Send("play midifile from 0"), 0u);
  EXPECT_EQ(Status("position"), "0");
  EXPECT_EQ(Status("mode"), "playing");
  EXPECT_EQ(Send("seek midifile to START"), 0u);
  EXPECT_EQ(Status("mode"), "stopped");
  EXPECT_EQ(Send("seek midifile to end"), 0u);
  EXPECT_EQ(Status("position"), "16");
  EXPECT_EQ(Send("seek midifile to 12"), 0u);
  EXPECT_EQ(Status("position"), "12");
  Send("play midifile");
  backend_.now += 1000;
  EXPECT_EQ(Status("mode"), "stopped");
  EXPECT_EQ(Send("play midifile from 4 to 8"), 0u);
  backend_.now += 499;
  EXPECT_EQ(Status("mode"), "playing");
  backend_.now += 1;
  EXPECT_EQ(Status("mode"), "stopped");
  EXPECT_EQ(Status("position"), "8");
  EXPECT_EQ(Send("close midifile"), 0u);
  EXPECT_EQ(Send("status midifile mode"), 263u);
  OpenSong();  // the alias is free again
}

TEST_F(MciTest, WordsMatchWithoutCaseAndExtraBlanksAreHarmless) {
  ASSERT_EQ(Send("  OPEN " + song_ + "   TYPE Sequencer ALIAS MidiFile  "), 0u);
  EXPECT_EQ(Send("PLAY MIDIFILE"), 0u);
  EXPECT_EQ(Send("Status midifile MODE"), 0u);
  EXPECT_EQ(reply_, "playing");
  EXPECT_EQ(Send("seek midifile to Start "), 0u);
  EXPECT_EQ(Send("status midifile mode notify"), 0u);
  EXPECT_EQ(reply_, "stopped");
}

TEST_F(MciTest, QuotedPathsKeepTheirBlanksAndShortFormsOpenToo) {
  const std::string folder = folder_.Path() + "/My Music";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/Game Tune.mid";
  std::filesystem::copy_file(song_, path);
  EXPECT_EQ(Send("open " + path + " type sequencer alias midifile"), 259u);
  ASSERT_EQ(Send("open \"" + path + "\" type sequencer alias midifile"), 0u);
  EXPECT_EQ(Send("close midifile"), 0u);

  char shortPath[512] = {};
  const std::uint32_t size = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(size, std::strlen(shortPath));
  EXPECT_EQ(std::string(shortPath).find(' '), std::string::npos) << shortPath;
  EXPECT_NE(std::string(shortPath).find("/MYMUSI~1/GAMETU~1.MID"), std::string::npos);
  ASSERT_EQ(Send(std::string("open ") + shortPath + " type sequencer alias midifile"), 0u);
  EXPECT_EQ(Status("length"), "16");

  // The game's own form: a backslash before the name.
  char gameForm[512] = {};
  EXPECT_GT(GetShortPathNameA((folder + "\\Game Tune.mid").c_str(), gameForm, 512), 0u);
  EXPECT_STREQ(gameForm, shortPath);
  // Too small a buffer: the size needed, nothing written.
  char tiny[4] = {'q', 'q', 'q', 0};
  EXPECT_EQ(GetShortPathNameA(path.c_str(), tiny, 4), size + 1);
  EXPECT_EQ(tiny[0], '\0');
  // A missing file: 0 and empty.
  char missing[16] = "junk";
  EXPECT_EQ(GetShortPathNameA((folder + "/none.mid").c_str(), missing, 16), 0u);
  EXPECT_STREQ(missing, "");
}

// An alias is never the name of a neighbour, whatever its case: the next number is taken.
TEST_F(MciTest, AShortFormPassesOverANeighbourNamedLikeItsAlias) {
  for (const char* name : {"my game", "MYGAME~1", "mygame~2"})
    std::filesystem::create_directories(folder_.Path() + "/" + name);
  std::filesystem::copy_file(song_, folder_.Path() + "/my game/Opening.mid");
  folder_.Write("MYGAME~1/Opening.mid", SmfFile(0, 96, {TrackBody().End(96).bytes()}));
  char shortPath[512] = {};
  ASSERT_GT(GetShortPathNameA((folder_.Path() + "/my game\\Opening.mid").c_str(), shortPath, 512),
            0u);
  EXPECT_NE(std::string(shortPath).find("/MYGAME~3/Opening.mid"), std::string::npos) << shortPath;
  ASSERT_EQ(Send(std::string("open ") + shortPath + " type sequencer alias midifile"), 0u);
  EXPECT_EQ(Status("length"), "16");  // the game's tune, not the neighbour's
}

TEST_F(MciTest, ErrorsAndTheirNumbersLeaveTheReplyEmpty) {
  EXPECT_EQ(Send(""), 267u);
  EXPECT_EQ(reply_, "");
  EXPECT_EQ(Send("   "), 267u);
  EXPECT_EQ(Send("jump midifile"), 261u);
  EXPECT_EQ(Send("open"), 292u);
  EXPECT_EQ(Send("stop midifile "), 263u);
  EXPECT_EQ(Send("close midifile"), 263u);
  EXPECT_EQ(Send("status midifile mode"), 263u);
  EXPECT_EQ(reply_, "");
  EXPECT_EQ(Send("open " + folder_.Path() + "/none.mid type sequencer alias midifile"), 275u);
  EXPECT_EQ(Send("open  type sequencer alias midifile"), 275u);  // an empty path
  EXPECT_EQ(Send("status midifile mode"), 263u);
  folder_.Write("text.mid", {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i', 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(Send("open " + folder_.Path() + "/text.mid type sequencer alias midifile"), 296u);
  EXPECT_EQ(Send("open \"" + song_ + " type sequencer alias midifile"), 294u);
  EXPECT_EQ(Send("open " + song_ + " type sequencer alias"), 269u);
  OpenSong();
  EXPECT_EQ(Send("open " + song_ + " type sequencer alias midifile"), 289u);
  EXPECT_EQ(Send("status midifile"), 273u);
  EXPECT_EQ(Send("status midifile colour"), 259u);
  EXPECT_EQ(Send("seek midifile"), 273u);
  EXPECT_EQ(Send("seek midifile to"), 273u);
  EXPECT_EQ(Send("seek midifile to later"), 270u);
  EXPECT_EQ(Send("seek midifile to 17"), 282u);
  EXPECT_EQ(Send("seek midifile to -1"), 270u);
  EXPECT_EQ(Send("play midifile from x1"), 270u);
  EXPECT_EQ(Send("play midifile from 99999999999"), 270u);
  EXPECT_EQ(Send("play midifile from 17"), 282u);
  EXPECT_EQ(Send("play midifile from"), 273u);
  EXPECT_EQ(Send("play midifile fast"), 259u);
  EXPECT_EQ(Send("stop midifile now"), 259u);
  EXPECT_EQ(Status("mode"), "stopped");  // nothing of that started anything
}

TEST_F(MciTest, ReplyBufferLengthCountsTheTerminatingNul) {
  OpenSong();
  EXPECT_EQ(Send("status midifile mode", 7), 268u);  // "stopped" needs 8
  EXPECT_EQ(reply_, "");
  EXPECT_EQ(Send("status midifile mode", 8), 0u);
  EXPECT_EQ(reply_, "stopped");
  EXPECT_EQ(Send("status midifile length", 2), 268u);
  EXPECT_EQ(mciSendStringA("status midifile mode", nullptr, 0, nullptr), 0u);  // dropped
  // An open whose reply does not fit is undone.
  EXPECT_EQ(Send("open " + song_ + " type sequencer alias second", 1), 268u);
  EXPECT_EQ(Send("close second"), 263u);
  // The game opens with no reply buffer.
  EXPECT_EQ(mciSendStringA(("open " + song_ + " type sequencer alias second").c_str(), nullptr, 0,
                           nullptr),
            0u);
}

TEST_F(MciTest, EveryCommandIsTracedAsSent) {
  Send("bogus \"x");
  OpenSong();
  Send("status midifile mode");
  ASSERT_EQ(backend_.trace.size(), 3u);
  EXPECT_EQ(backend_.trace[0], "\"ev\":\"mci\",\"cmd\":\"bogus \\\"x\",\"ret\":294,\"reply\":\"\"");
  EXPECT_EQ(backend_.trace[1], "\"ev\":\"mci\",\"cmd\":\"open " + song_ +
                                   " type sequencer alias midifile\",\"ret\":0,\"reply\":\"1\"");
  EXPECT_EQ(backend_.trace[2],
            "\"ev\":\"mci\",\"cmd\":\"status midifile mode\",\"ret\":0,\"reply\":\"stopped\"");
}

TEST_F(MciTest, PlayWithWaitReturnsAtTheEnd) {
  OpenSong();
  const std::uint32_t start = backend_.now;
  EXPECT_EQ(Send("play midifile from 8 wait"), 0u);
  EXPECT_EQ(backend_.now - start, 2000u);
  EXPECT_EQ(Status("mode"), "stopped");
}

TEST_F(MciTest, SoundEffectsAreTracedByNameAndPlayOnlyWhenThereAtTheirFirstPlay) {
  const std::string wav =
      folder_.Write("Fall.wav", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
  EXPECT_EQ(PlaySoundA((folder_.Path() + "\\Fall.wav").c_str(), nullptr, SND_ASYNC), 1);
  EXPECT_EQ(PlaySoundA((folder_.Path() + "\\Del.wav").c_str(), nullptr, SND_ASYNC), 0);
  // A sound that failed is not looked for again: one that appears later stays silent.
  folder_.Write("Del.wav", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
  EXPECT_EQ(PlaySoundA((folder_.Path() + "\\Del.wav").c_str(), nullptr, SND_ASYNC), 0);
  ASSERT_EQ(backend_.trace.size(), 3u);
  EXPECT_EQ(backend_.trace[0], "\"ev\":\"sound\",\"name\":\"Fall.wav\",\"missing\":false");
  EXPECT_EQ(backend_.trace[1], "\"ev\":\"sound\",\"name\":\"Del.wav\",\"missing\":true");
  EXPECT_EQ(backend_.trace[2], backend_.trace[1]);
}

// Random commands from the game's words and stray characters: never a fault, and the reply
// rules hold for every one.
TEST_F(MciTest, RandomCommandsKeepTheReplyRules) {
  const char* const words[] = {
      "open",  "close", "play",  "stop", "pause", "resume",   "seek",   "status", "midifile",
      "to",    "from",  "start", "end",  "mode",  "position", "length", "type",   "sequencer",
      "alias", "wait",  "\"",    "0",    "16",    "99",       " ",      "\t",     "x"};
  std::mt19937 random(5);
  for (int round = 0; round < 5000; ++round) {
    std::string command;
    const int count = static_cast<int>(random() % 7);
    for (int i = 0; i < count; ++i) {
      command += words[random() % std::size(words)];
      command += random() % 4 == 0 ? "" : " ";
    }
    if (random() % 3 == 0) command.insert(0, "open " + song_ + " type sequencer alias midifile ");
    const std::uint32_t length = random() % 10;
    const std::uint32_t result = Send(command, length);
    if (result != 0 || length == 0) {
      EXPECT_EQ(reply_, "") << command;
    } else {
      EXPECT_LT(reply_.size(), length) << command;
    }
    backend_.now += random() % 700;
  }
}

}  // namespace
