// Standard MIDI files (formats 0 and 1): the checks the sequencer makes at open, the tempo
// map, and positions in the sequencer's unit, the song pointer (one unit per sixteenth
// note, division / 4 ticks; milliseconds for files timed in SMPTE frames).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One message for the synthesizer on the merged time line: a channel message (note,
// controller, program, ...), or with status 0xF0 a system-exclusive message whose bytes are
// MidiSong::SysEx(sysex).
struct MidiEvent {
  std::uint32_t tick = 0;
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  std::uint32_t sysex = 0;
};

class MidiSong {
 public:
  // Ticks past this are refused: positions and lengths stay within 31 bits.
  static constexpr std::uint32_t kMaxTick = 0x7FFFFFFF;

  // Null when the bytes are not a well-formed format 0 or 1 file.
  static std::optional<MidiSong> Parse(std::span<const std::uint8_t> bytes);

  int Format() const { return format_; }
  int TrackCount() const { return trackCount_; }
  bool TimedInFrames() const { return ticksPerSecond_ != 0; }
  // The tick of the last end of track (or of the last event).
  std::uint32_t EndTick() const { return endTick_; }
  const std::vector<MidiEvent>& Events() const { return events_; }
  // The bytes of a system-exclusive message between its F0 and its closing F7.
  std::span<const std::uint8_t> SysEx(std::uint32_t index) const { return sysex_[index]; }

  // Song pointer units; the end tick maps to LengthUnits and back.
  std::uint32_t LengthUnits() const { return TickToUnits(endTick_); }
  std::uint32_t TickToUnits(std::uint32_t tick) const;
  std::uint32_t UnitsToTick(std::uint32_t units) const;

  // Time from the start of the song, through the tempo map.
  std::uint64_t MicrosAt(std::uint32_t tick) const;
  // The last tick reached at that time (the end tick past the end).
  std::uint32_t TickAt(std::uint64_t micros) const;
  std::uint64_t LengthMicros() const { return MicrosAt(endTick_); }

 private:
  struct TempoPoint {
    std::uint32_t tick;
    std::uint32_t microsPerQuarter;
    std::uint64_t microsAt;
  };
  friend class MidiReader;

  void BuildTempoMap(std::vector<std::pair<std::uint32_t, std::uint32_t>> changes);

  int format_ = 0;
  int trackCount_ = 0;
  std::uint32_t division_ = 96;       // ticks per quarter note
  std::uint32_t ticksPerSecond_ = 0;  // SMPTE timing: frames per second x ticks per frame
  std::uint32_t endTick_ = 0;
  std::vector<TempoPoint> tempo_;
  std::vector<MidiEvent> events_;
  std::vector<std::vector<std::uint8_t>> sysex_;
};

// MCI error numbers of a failed load.
constexpr std::uint32_t kMciFileNotFound = 275;
constexpr std::uint32_t kMciInvalidFile = 296;

// Reads and parses the file at a native path; null with the error number in *error and the
// reason, for a message, in *why.
std::optional<MidiSong> LoadMidiSong(const std::string& path, std::uint32_t* error,
                                     std::string* why = nullptr);
