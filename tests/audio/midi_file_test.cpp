#include "platform/audio/midi_file.h"

#include <gtest/gtest.h>

#include <random>

#include "audio/smf_builder.h"
#include "audio/test_backend.h"

namespace {

TEST(MidiFile, RunningStatusAndTheTempoMapGiveLengthAndTimes) {
  TrackBody body;
  body.Event(0, {0x90, 60, 100}).Event(48, {62, 90}).Event(48, {60, 0}).Event(0, {62, 0}).End(0);
  auto song = MidiSong::Parse(SmfFile(0, 96, {body.bytes()}));
  ASSERT_TRUE(song);
  ASSERT_EQ(song->Events().size(), 4u);
  EXPECT_EQ(song->Events()[1].tick, 48u);
  EXPECT_EQ(song->Events()[1].status, 0x90);
  EXPECT_EQ(song->Events()[1].data1, 62);
  EXPECT_EQ(song->Events()[1].data2, 90);
  EXPECT_EQ(song->EndTick(), 96u);
  EXPECT_EQ(song->LengthUnits(), 4u);  // one quarter note
  EXPECT_EQ(song->LengthMicros(), 500000u);

  auto timed = MidiSong::Parse(ThreeSecondSong());
  ASSERT_TRUE(timed);
  EXPECT_EQ(timed->LengthUnits(), 16u);
  EXPECT_EQ(timed->MicrosAt(192), 1000000u);
  EXPECT_EQ(timed->MicrosAt(288), 2000000u);
  EXPECT_EQ(timed->LengthMicros(), 3000000u);
  EXPECT_EQ(timed->TickAt(999999), 191u);
  EXPECT_EQ(timed->TickAt(1500000), 240u);
  EXPECT_EQ(timed->TickAt(99000000), 384u);  // past the end: the end
}

TEST(MidiFile, FormatOneMergesTracksAndTakesTempoFromAnyTrack) {
  TrackBody conductor;
  conductor.Tempo(0, 250000).End(0);
  TrackBody melody;
  melody.Event(10, {0x91, 70, 80}).Event(200, {0x81, 70, 0}).End(30);
  TrackBody bass;
  bass.Event(5, {0x92, 40, 80}).Event(100, {0x82, 40, 0}).End(0);
  auto song = MidiSong::Parse(SmfFile(1, 120, {conductor.bytes(), melody.bytes(), bass.bytes()}));
  ASSERT_TRUE(song);
  EXPECT_EQ(song->TrackCount(), 3);
  EXPECT_EQ(song->EndTick(), 240u);  // the melody's end of track
  EXPECT_EQ(song->LengthUnits(), 8u);
  EXPECT_EQ(song->LengthMicros(), 500000u);
  ASSERT_EQ(song->Events().size(), 4u);
  EXPECT_EQ(song->Events()[0].tick, 5u);
  EXPECT_EQ(song->Events()[1].tick, 10u);
}

// System exclusive reaches the synthesizer whole, from either form; meta events are not
// sent; both cancel running status.
TEST(MidiFile, SysexIsKeptWholeAndMetaEventsCancelRunningStatus) {
  TrackBody body;
  body.Event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .Event(0, {0xFF, 0x03, 0x04, 'T', 'u', 'n', 'e'})
      .Event(0, {0xB0, 7, 100})
      .Event(24, {0xF7, 0x01, 0x00})                   // bytes to send as they are: not a message
      .Event(0, {0xF0, 0x02, 0x43, 0x10})              // a message in packets...
      .Event(0, {0xB0, 7, 90})                         // (other events may come between)
      .Event(6, {0xF7, 0x03, 0x4C, 0x00, 0xF7})        // ...complete at its last
      .Event(0, {0xF7, 0x04, 0xF0, 0x41, 0x10, 0xF7})  // a message sent as it is
      .End(18);
  auto song = MidiSong::Parse(SmfFile(0, 96, {body.bytes()}));
  ASSERT_TRUE(song);
  ASSERT_EQ(song->Events().size(), 5u);
  auto sysex = [&](std::size_t index) {
    const MidiEvent& event = song->Events()[index];
    EXPECT_EQ(event.status, 0xF0) << index;
    const auto bytes = song->SysEx(event.sysex);
    return std::make_pair(event.tick, Bytes(bytes.begin(), bytes.end()));
  };
  EXPECT_EQ(sysex(0), std::make_pair(0u, Bytes{0x7E, 0x7F, 0x09, 0x01}));
  EXPECT_EQ(sysex(3), std::make_pair(30u, Bytes{0x43, 0x10, 0x4C, 0x00}));
  EXPECT_EQ(sysex(4), std::make_pair(30u, Bytes{0x41, 0x10}));
  EXPECT_EQ(song->EndTick(), 48u);

  TrackBody broken;
  broken.Event(0, {0x90, 60, 100}).Event(0, {0xFF, 0x01, 0x00}).Event(10, {60, 0}).End(0);
  EXPECT_FALSE(MidiSong::Parse(SmfFile(0, 96, {broken.bytes()})));
}

TEST(MidiFile, PositionsInSixteenthsRoundTripForAnyDivision) {
  TrackBody body;
  body.Event(0, {0x90, 60, 100}).Event(1000, {0x80, 60, 0}).End(0);
  auto song = MidiSong::Parse(SmfFile(0, 90, {body.bytes()}));
  ASSERT_TRUE(song);
  EXPECT_EQ(song->LengthUnits(), 44u);  // 1000 ticks / 22.5
  for (std::uint32_t units = 0; units <= song->LengthUnits(); ++units)
    EXPECT_EQ(song->TickToUnits(song->UnitsToTick(units)), units) << units;
  EXPECT_EQ(song->UnitsToTick(44), 1000u);  // the length is the end, not 990
}

TEST(MidiFile, FramesTimingCountsMilliseconds) {
  TrackBody body;
  body.Event(0, {0x90, 60, 100}).Event(1000, {0x80, 60, 0}).End(0);
  // 25 frames of 40 ticks: 1000 ticks a second.
  auto song = MidiSong::Parse(SmfFile(0, 0xE728, {body.bytes()}));
  ASSERT_TRUE(song);
  EXPECT_TRUE(song->TimedInFrames());
  EXPECT_EQ(song->LengthUnits(), 1000u);
  EXPECT_EQ(song->LengthMicros(), 1000000u);
  EXPECT_EQ(song->UnitsToTick(250), 250u);
}

TEST(MidiFile, MalformedFilesAreRefused) {
  const Bytes good = ThreeSecondSong();
  auto with = [&](std::size_t at, std::uint8_t value) {
    Bytes bytes = good;
    bytes[at] = value;
    return bytes;
  };
  EXPECT_FALSE(MidiSong::Parse(Bytes{}));
  EXPECT_FALSE(MidiSong::Parse(with(0, 'X')));    // no MThd
  EXPECT_FALSE(MidiSong::Parse(with(9, 2)));      // format 2
  EXPECT_FALSE(MidiSong::Parse(with(11, 2)));     // format 0 with two tracks
  EXPECT_FALSE(MidiSong::Parse(with(11, 0)));     // no track
  EXPECT_FALSE(MidiSong::Parse(with(13, 0)));     // division 0
  EXPECT_FALSE(MidiSong::Parse(with(19, 0xFF)));  // track longer than the file
  EXPECT_FALSE(MidiSong::Parse(Bytes(good.begin(), good.end() - 1)));
  TrackBody noStatus;
  noStatus.Event(0, {60, 100}).End(0);
  EXPECT_FALSE(MidiSong::Parse(SmfFile(0, 96, {noStatus.bytes()})));
  TrackBody longNumber;
  longNumber.Event(0, {0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x01});
  EXPECT_FALSE(MidiSong::Parse(SmfFile(0, 96, {longNumber.bytes()})));
  TrackBody dataTooHigh;
  dataTooHigh.Event(0, {0x90, 0x80, 100}).End(0);
  EXPECT_FALSE(MidiSong::Parse(SmfFile(0, 96, {dataTooHigh.bytes()})));
  TrackBody realTime;
  realTime.Event(0, {0xF8}).End(0);
  EXPECT_FALSE(MidiSong::Parse(SmfFile(0, 96, {realTime.bytes()})));
  TrackBody tooLong;
  tooLong.Event(0, {0x90, 1, 1});
  for (int i = 0; i < 9; ++i) tooLong.Event(0x0FFFFFFF, {1, 1});  // past 2^31 ticks
  tooLong.End(0);
  EXPECT_FALSE(MidiSong::Parse(SmfFile(0, 96, {tooLong.bytes()})));
}

TEST(MidiFile, UnknownChunksAreSkipped) {
  Bytes file = ThreeSecondSong();
  Bytes withJunk(file.begin(), file.begin() + 14);
  AppendChunk(withJunk, "XFIH", {1, 2, 3});
  withJunk.insert(withJunk.end(), file.begin() + 14, file.end());
  auto song = MidiSong::Parse(withJunk);
  ASSERT_TRUE(song);
  EXPECT_EQ(song->LengthUnits(), 16u);
}

// The game's tunes are a few KB: a file over 1 MB is refused before it is read.
TEST(MidiFile, ATuneOverOneMegabyteIsRefused) {
  TempFolder folder("fumbo-midi-size");
  Bytes file = ThreeSecondSong();
  AppendChunk(file, "XFIH", Bytes(1 << 20, 0));
  std::uint32_t error = 0;
  std::string why;
  EXPECT_FALSE(LoadMidiSong(folder.Write("big.mid", file), &error, &why));
  EXPECT_EQ(error, 275u);
  EXPECT_EQ(why, "larger than 1 MB");
}

// Every prefix and many random corruptions: refused or read, never a fault (the sanitizers
// watch), and what is read stays consistent.
TEST(MidiFile, CorruptedBytesNeverBreakTheReader) {
  TrackBody second;
  second.Event(3, {0xF0, 0x02, 0x01, 0xF7})
      .Event(7, {0xE0, 0x00, 0x40})
      .Event(9, {0x10, 0x20})
      .End(0);
  const Bytes base = SmfFile(1, 96, {ThreeSecondSong(), second.bytes()});
  for (std::size_t size = 0; size < base.size(); ++size)
    MidiSong::Parse(std::span(base.data(), size));
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    Bytes bytes = base;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i)
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    if (auto song = MidiSong::Parse(bytes)) {
      EXPECT_LE(song->EndTick(), MidiSong::kMaxTick);
      EXPECT_EQ(song->TickAt(song->LengthMicros() + 1), song->EndTick());
      EXPECT_EQ(song->UnitsToTick(song->LengthUnits()), song->EndTick());
    }
  }
}

}  // namespace
