// The committed tunes and sounds: readable by our sequencer and SDL, of the promised shape.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/audio/midi_file.h"

namespace {

const std::string kAssets = std::string(FUMBO_SOURCE_DIR) + "/assets";

MidiSong LoadTune(const std::string& name) {
  std::uint32_t error = 0;
  auto song = LoadMidiSong(kAssets + "/music/" + name, &error);
  EXPECT_TRUE(song) << name << " error " << error;
  return song ? *song : MidiSong();
}

TEST(Assets, TheOpeningIsAShortFanfare) {
  const MidiSong song = LoadTune("Opening.mid");
  EXPECT_NEAR(static_cast<double>(song.LengthMicros()) / 1e6, 4.0, 0.5);
}

TEST(Assets, TheGameTuneLoopsForOneToTwoMinutesWithDrumsAndSeveralInstruments) {
  const MidiSong song = LoadTune("Game.mid");
  const double seconds = static_cast<double>(song.LengthMicros()) / 1e6;
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 120.0);
  std::set<int> channels, programs;
  int drumNotes = 0;
  for (const MidiEvent& event : song.Events()) {
    if ((event.status & 0xF0) == 0x90) channels.insert(event.status & 0x0F);
    if ((event.status & 0xF0) == 0xC0 && (event.status & 0x0F) != 9) programs.insert(event.data1);
    if (event.status == 0x99) ++drumNotes;
  }
  EXPECT_GE(channels.size(), 5u);
  EXPECT_GE(programs.size(), 4u);
  EXPECT_GT(drumNotes, 500);
  // Ends on a bar line, so the loop keeps the beat.
  EXPECT_EQ(song.LengthUnits() % 16, 0u);
}

// The samples of a 16-bit mono PCM WAV file, as written by make_sounds.
std::vector<double> ReadWav(const std::string& name, int& rate) {
  std::ifstream in(kAssets + "/sounds/" + name, std::ios::binary);
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_GE(bytes.size(), 44u) << name;
  if (bytes.size() < 44) return {};
  auto word = [&](std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
      value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
  };
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(word(20, 2), 1u) << "PCM";
  EXPECT_EQ(word(34, 2), 16u) << "16-bit";
  rate = static_cast<int>(word(24, 4));
  std::vector<double> samples;
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2)
    samples.push_back(static_cast<std::int16_t>(word(at, 2)) / 32768.0);
  return samples;
}

double Energy(const std::vector<double>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += s[i] * s[i];
  return sum / static_cast<double>(to - from);
}

int ZeroCrossings(const std::vector<double>& s, std::size_t from, std::size_t to) {
  int count = 0;
  for (std::size_t i = from + 1; i < to; ++i) count += (s[i - 1] < 0) != (s[i] < 0);
  return count;
}

TEST(Assets, TheSoundsAreShortCleanAndDistinct) {
  std::set<std::size_t> lengths;
  for (const char* name : {"Fall.wav", "Turn.wav", "Del.wav", "Super1.wav", "Super2.wav",
                           "Select.wav", "Change.wav"}) {
    int rate = 0;
    const std::vector<double> s = ReadWav(name, rate);
    ASSERT_FALSE(s.empty()) << name;
    const double seconds = static_cast<double>(s.size()) / rate;
    EXPECT_LE(seconds, 1.2) << name;
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 0.3) << name;
    EXPECT_LT(peak, 0.99) << name;  // no clipping
    EXPECT_LT(std::abs(s.front()) + std::abs(s.back()), 0.01)
        << name << ": starts or ends with a click";
    lengths.insert(s.size());
  }
  EXPECT_EQ(lengths.size(), 7u);
}

TEST(Assets, SuperOneRisesAndSuperTwoBursts) {
  int rate = 0;
  const std::vector<double> rise = ReadWav("Super1.wav", rate);
  const std::size_t quarter = rise.size() / 4;
  EXPECT_NEAR(static_cast<double>(rise.size()) / rate, 1.0, 0.2);
  EXPECT_GT(ZeroCrossings(rise, 3 * quarter, 4 * quarter), 3 * ZeroCrossings(rise, 0, quarter));
  const std::vector<double> burst = ReadWav("Super2.wav", rate);
  const std::size_t tenth = burst.size() / 10;
  EXPECT_NEAR(static_cast<double>(burst.size()) / rate, 1.0, 0.2);
  EXPECT_GT(Energy(burst, 0, tenth), 20 * Energy(burst, 7 * tenth, 8 * tenth));
}

}  // namespace
