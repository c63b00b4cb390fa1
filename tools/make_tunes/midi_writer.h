// A small standard MIDI file writer: one track per channel after a tempo track (format 1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MidiWriter {
 public:
  static constexpr int kDivision = 480;  // ticks per quarter note
  static constexpr int kBar = 4 * kDivision;

  explicit MidiWriter(int beatsPerMinute) : beatsPerMinute_(beatsPerMinute) {}

  void Program(int channel, int program);
  void Control(int channel, int controller, int value, int tick = 0);
  void Note(int channel, int tick, int pitch, int length, int velocity);
  // The end of the song: every track ends here.
  void EndAt(int tick) { endTick_ = tick; }
  std::vector<std::uint8_t> Bytes(const std::string& title) const;

 private:
  struct Event {
    int tick;
    int order;  // note-offs first at the same tick, then controls, then note-ons
    std::vector<std::uint8_t> bytes;
  };
  void Add(int channel, Event event);

  int beatsPerMinute_;
  int endTick_ = 0;
  std::vector<std::vector<Event>> channels_ = std::vector<std::vector<Event>>(16);
};

// "C4" = 60, "F#5", "Bb3"; -1 for "R" (a rest).
int PitchOf(const std::string& name);
