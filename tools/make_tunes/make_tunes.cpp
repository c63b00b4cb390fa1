// Composes the game's two tunes: the short opening fanfare of the splash and the game tune,
// a loop of 48 bars in C major with lead, vibraphone, electric piano, bass, a celesta
// arpeggio and drums.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "midi_writer.h"

namespace {

constexpr int kEighth = MidiWriter::kDivision / 2;
constexpr int kSixteenth = MidiWriter::kDivision / 4;
constexpr int kBar = MidiWriter::kBar;

enum Channel { kLead = 0, kPiano = 1, kBass = 2, kArp = 3, kVibes = 4, kDrums = 9 };
enum Drum {
  kKick = 36,
  kSnare = 38,
  kClosedHat = 42,
  kOpenHat = 46,
  kCrash = 49,
  kLowTom = 45,
  kMidTom = 47,
  kHighTom = 50
};

// A chord by name: root and the intervals above it ("Am", "G7", "E").
std::vector<int> ChordTones(const std::string& name) {
  std::size_t at = 1;
  if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) ++at;
  const int root = PitchOf(name.substr(0, at) + "3") % 12;
  const std::string quality = name.substr(at);
  std::vector<int> tones{root, root + (quality.starts_with("m") ? 3 : 4), root + 7};
  if (quality.ends_with("7")) tones.push_back(root + 10);
  return tones;
}

// Writes a melody line: "E5:2 G5:2 C6:3 B5:1", lengths in eighth notes; returns the tick
// after its last note.
int Melody(MidiWriter& song, int channel, int tick, const std::string& line, int velocity,
           int transpose = 0) {
  std::istringstream words(line);
  std::string word;
  while (words >> word) {
    if (word == "|") continue;
    const auto colon = word.find(':');
    const int pitch = PitchOf(word.substr(0, colon));
    const int length = std::stoi(word.substr(colon + 1)) * kEighth;
    if (pitch >= 0) song.Note(channel, tick, pitch + transpose, length - 20, velocity);
    tick += length;
  }
  return tick;
}

struct Section {
  std::vector<std::string> chords;  // one a bar
  std::string melody;               // empty: none
  int leadVelocity = 96;
  bool vibes = false;  // the vibraphone doubles the lead an octave down
  bool arpeggio = false;
  bool busyDrums = false;
};

void Accompany(MidiWriter& song, int bar, const std::string& chord, const Section& section,
               bool firstBar, bool lastBarOfSong) {
  const int start = bar * kBar;
  const std::vector<int> tones = ChordTones(chord);
  // Electric piano: the triad around middle C, on beats 1 and 3.
  for (int half = 0; half < 2; ++half)
    for (int tone : tones)
      song.Note(kPiano, start + half * 2 * MidiWriter::kDivision, 55 + (tone % 12 + 5) % 12,
                2 * MidiWriter::kDivision - 30, 58);
  // Bass: a bouncing eighth-note figure on the root and the fifth.
  const int root = 36 + tones[0] % 12;
  const int figure[] = {0, 0, 7, 0, 12, 7, 0, 7};
  for (int step = 0; step < 8; ++step) {
    const int pitch = root + figure[step];
    song.Note(kBass, start + step * kEighth, pitch, kEighth - 40, step % 2 == 0 ? 100 : 80);
  }
  if (section.arpeggio) {
    // Up the chord over two octaves and again.
    const int count = static_cast<int>(tones.size());
    for (int step = 0; step < 16; ++step) {
      const int k = step % (2 * count);
      const int pitch = 60 + tones[static_cast<std::size_t>(k % count)] % 12 + 12 * (k / count);
      song.Note(kArp, start + step * kSixteenth, pitch, kSixteenth, step % 4 == 0 ? 62 : 44);
    }
  }
  // Drums.
  if (firstBar) song.Note(kDrums, start, kCrash, kEighth, 100);
  for (int step = 0; step < 8; ++step) {
    const int at = start + step * kEighth;
    const bool open = !lastBarOfSong && step == 7 && bar % 4 == 3;
    song.Note(kDrums, at, open ? kOpenHat : kClosedHat, kEighth / 2, step % 2 == 0 ? 72 : 50);
    if (step == 0 || step == 4 || (section.busyDrums && step == 5))
      song.Note(kDrums, at, kKick, kEighth, 104);
    if (step == 2 || step == 6) song.Note(kDrums, at, kSnare, kEighth, 92);
  }
}

void DrumFill(MidiWriter& song, int bar) {
  const int start = bar * kBar + 2 * MidiWriter::kDivision;
  const int toms[] = {kHighTom, kHighTom, kMidTom, kMidTom, kLowTom, kLowTom, kSnare, kSnare};
  for (int step = 0; step < 8; ++step)
    song.Note(kDrums, start + step * kSixteenth, toms[step], kSixteenth, 80 + 4 * step);
}

void SetUpChannels(MidiWriter& song) {
  const int programs[][4] = {{kLead, 80, 84, 64}, {kPiano, 4, 78, 44},  {kBass, 33, 104, 64},
                             {kArp, 8, 62, 84},   {kVibes, 11, 80, 52}, {kDrums, 0, 100, 64}};
  for (const auto& [channel, program, volume, pan] : programs) {
    song.Program(channel, program);
    song.Control(channel, 7, volume);
    song.Control(channel, 10, pan);
  }
}

std::vector<std::uint8_t> GameTune() {
  const Section intro{{"C", "Am", "F", "G"}, "", 0, false, true, false};
  const Section verse{{"C", "Am", "F", "G", "C", "Am", "F", "G"},
                      "E5:2 G5:2 C6:3 B5:1 | A5:2 E5:2 C5:2 E5:2 | F5:2 A5:2 C6:2 A5:2 | "
                      "G5:3 F5:1 E5:2 D5:2 | E5:2 G5:2 C6:3 D6:1 | E6:2 C6:2 A5:4 | "
                      "A5:2 C6:2 B5:1 A5:1 G5:2 | G5:4 R:2 D5:2",
                      96,
                      false,
                      false,
                      false};
  const Section chorus{{"F", "G", "Em", "Am", "Dm", "G", "C", "C"},
                       "C6:3 A5:1 F5:2 A5:2 | B5:3 G5:1 D5:2 G5:2 | B5:2 G5:2 E5:2 G5:2 | "
                       "A5:6 R:2 | F5:2 A5:2 D6:2 C6:2 | B5:2 D6:2 G5:2 B5:2 | C6:8 | "
                       "R:4 G5:2 A5:1 B5:1",
                       100,
                       true,
                       true,
                       true};
  Section verseAgain = verse;
  verseAgain.vibes = true;
  verseAgain.leadVelocity = 88;
  const Section bridge{{"Am", "F", "C", "G", "Am", "F", "Dm", "E"},
                       "C5:1 E5:1 A5:2 E5:1 A5:1 C6:2 | A5:1 F5:1 C5:2 F5:2 A5:2 | "
                       "G5:1 E5:1 C5:2 E5:2 G5:2 | B5:2 D6:2 B5:2 G5:2 | C6:3 B5:1 A5:2 E5:2 | "
                       "F5:2 A5:2 C6:4 | D6:2 C6:2 A5:2 F5:2 | G#5:4 B5:4",
                       92,
                       true,
                       true,
                       false};
  const Section turnaround{{"F", "G", "C", "G"},
                           "A5:2 G5:2 F5:2 E5:2 | D5:2 E5:2 F5:2 G5:2 | "
                           "E5:4 C5:4 | D5:4 G4:4",
                           84,
                           true,
                           false,
                           false};
  const Section order[] = {intro, verse, chorus, verseAgain, bridge, chorus, turnaround};

  MidiWriter song(132);
  SetUpChannels(song);
  int bar = 0;
  const int totalBars = 48;
  for (const Section& section : order) {
    if (!section.melody.empty()) {
      const int end = Melody(song, kLead, bar * kBar, section.melody, section.leadVelocity);
      if (end != (bar + static_cast<int>(section.chords.size())) * kBar)
        throw std::runtime_error("a melody that does not fill its bars");
      if (section.vibes) Melody(song, kVibes, bar * kBar, section.melody, 70, -12);
    }
    for (std::size_t i = 0; i < section.chords.size(); ++i, ++bar) {
      Accompany(song, bar, section.chords[i], section, i == 0, bar == totalBars - 1);
      if (i + 1 == section.chords.size()) DrumFill(song, bar);
    }
  }
  song.EndAt(bar * kBar);
  return song.Bytes("Fumbo game tune");
}

// Two bars at 120: a rising fanfare that lands on a held C major chord (4 seconds).
std::vector<std::uint8_t> OpeningTune() {
  MidiWriter song(120);
  const int programs[][3] = {
      {0, 61, 100}, {1, 48, 80}, {2, 33, 100}, {3, 47, 90}, {kDrums, 0, 100}};
  for (const auto& [channel, program, volume] : programs) {
    song.Program(channel, program);
    song.Control(channel, 7, volume);
  }
  Melody(song, 0, 0, "G4:1 C5:1 E5:1 G5:1 C6:3 B5:1 | A5:1 B5:1 C6:6", 104);
  Melody(song, 1, 0, "C4:4 E4:4 | F4:2 G4:2 E4:4", 70);
  Melody(song, 1, 0, "E4:4 G4:4 | A4:2 B4:2 G4:4", 70);
  Melody(song, 2, 0, "C3:2 C3:2 G2:2 G2:2 | F2:2 G2:2 C3:4", 100);
  Melody(song, 3, 0, "C3:2 G2:2 C3:2 G2:2 | F2:2 G2:2 C3:4", 90);
  for (int step = 0; step < 4; ++step)
    song.Note(kDrums, 3 * MidiWriter::kDivision + step * kSixteenth, kSnare, kSixteenth,
              70 + 8 * step);
  song.Note(kDrums, 0, kCrash, kEighth, 100);
  song.Note(kDrums, kBar, kKick, kEighth, 110);
  song.Note(kDrums, kBar + 2 * MidiWriter::kDivision, kCrash, kEighth, 110);
  song.Note(kDrums, kBar + 2 * MidiWriter::kDivision, kKick, kEighth, 110);
  song.EndAt(2 * kBar);
  return song.Bytes("Fumbo opening");
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_tunes <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!Write(folder + "/Opening.mid", OpeningTune()) || !Write(folder + "/Game.mid", GameTune())) {
    std::fprintf(stderr, "make_tunes: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
