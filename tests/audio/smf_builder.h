// Standard MIDI file bytes made by hand for the tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes Vlq(std::uint32_t value) {
  Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7) out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  return out;
}

// A track body built event by event.
class TrackBody {
 public:
  TrackBody& Event(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
    Append(Vlq(delta));
    bytes_.insert(bytes_.end(), bytes);
    return *this;
  }
  TrackBody& Tempo(std::uint32_t delta, std::uint32_t microsPerQuarter) {
    return Event(delta, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsPerQuarter >> 16),
                         static_cast<std::uint8_t>(microsPerQuarter >> 8),
                         static_cast<std::uint8_t>(microsPerQuarter)});
  }
  TrackBody& End(std::uint32_t delta) { return Event(delta, {0xFF, 0x2F, 0x00}); }
  const Bytes& bytes() const { return bytes_; }

 private:
  void Append(const Bytes& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
  Bytes bytes_;
};

inline void AppendChunk(Bytes& file, const char* id, const Bytes& body) {
  file.insert(file.end(), id, id + 4);
  const auto size = static_cast<std::uint32_t>(body.size());
  for (int shift = 24; shift >= 0; shift -= 8)
    file.push_back(static_cast<std::uint8_t>(size >> shift));
  file.insert(file.end(), body.begin(), body.end());
}

inline Bytes SmfFile(int format, std::uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes file;
  AppendChunk(file, "MThd",
              {0, static_cast<std::uint8_t>(format), 0, static_cast<std::uint8_t>(tracks.size()),
               static_cast<std::uint8_t>(division >> 8), static_cast<std::uint8_t>(division)});
  for (const Bytes& track : tracks) AppendChunk(file, "MTrk", track);
  return file;
}

// Division 96; one bar of four quarter notes: two at 120 beats a minute (1000 ms), two at
// 60 (2000 ms). Length 16 sixteenths, 3000 ms.
inline Bytes ThreeSecondSong() {
  TrackBody body;
  body.Tempo(0, 500000)
      .Event(0, {0xC0, 0x00})
      .Event(0, {0x90, 60, 100})
      .Event(96, {0x80, 60, 0})
      .Event(0, {0x90, 62, 100})
      .Event(96, {0x80, 62, 0})
      .Tempo(0, 1000000)
      .Event(0, {0x90, 64, 100})
      .Event(96, {0x80, 64, 0})
      .Event(0, {0x90, 65, 100})
      .Event(96, {0x80, 65, 0})
      .End(0);
  return SmfFile(0, 96, {body.bytes()});
}
