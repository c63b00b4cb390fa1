#include "platform/audio/midi_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/file_access.h"

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // 120 beats a minute
// A tune of the game is a few KB and the longest ordinary MIDI files a few hundred. Beyond
// this a file is a damaged or foreign one: 1 MB of notes is some 340,000 events, about 5 MB
// once read.
constexpr std::size_t kMaxTuneBytes = 1 << 20;

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[at + i];
  return value;
}

bool ChunkIs(std::span<const std::uint8_t> bytes, std::size_t at, const char* id) {
  return std::equal(id, id + 4, bytes.begin() + at,
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

// Walks the chunks of one file; every read is bounds-checked, so a broken file only fails.
class MidiReader {
 public:
  explicit MidiReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<MidiSong> Read() {
    if (!ReadHeader()) return std::nullopt;
    int tracksRead = 0;
    while (tracksRead < song_.trackCount_) {
      if (bytes_.size() - at_ < 8) return std::nullopt;
      const bool isTrack = ChunkIs(bytes_, at_, "MTrk");
      const std::uint32_t size = BigEndian(bytes_, at_ + 4, 4);
      at_ += 8;
      if (size > bytes_.size() - at_) return std::nullopt;
      if (isTrack) {
        if (!ReadTrack(at_, at_ + size)) return std::nullopt;
        ++tracksRead;
      }
      at_ += size;
    }
    std::stable_sort(song_.events_.begin(), song_.events_.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
    std::stable_sort(tempoChanges_.begin(), tempoChanges_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    song_.BuildTempoMap(std::move(tempoChanges_));
    return std::move(song_);
  }

 private:
  bool ReadHeader() {
    if (bytes_.size() < 14 || !ChunkIs(bytes_, 0, "MThd")) return false;
    const std::uint32_t size = BigEndian(bytes_, 4, 4);
    if (size < 6 || size > bytes_.size() - 8) return false;
    song_.format_ = static_cast<int>(BigEndian(bytes_, 8, 2));
    song_.trackCount_ = static_cast<int>(BigEndian(bytes_, 10, 2));
    const std::uint32_t division = BigEndian(bytes_, 12, 2);
    if (song_.format_ > 1 || song_.trackCount_ == 0) return false;
    if (song_.format_ == 0 && song_.trackCount_ != 1) return false;
    if (division & 0x8000) {
      const int frames = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
      const std::uint32_t perFrame = division & 0xFF;
      if ((frames != 24 && frames != 25 && frames != 29 && frames != 30) || perFrame == 0)
        return false;
      song_.ticksPerSecond_ = static_cast<std::uint32_t>(frames) * perFrame;
    } else {
      if (division == 0) return false;
      song_.division_ = division;
    }
    at_ = 8 + size;
    return true;
  }

  // A variable-length quantity of at most four bytes.
  bool ReadNumber(std::size_t& at, std::size_t end, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at >= end) return false;
      const std::uint8_t byte = bytes_[at++];
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

  bool ReadTrack(std::size_t at, std::size_t end) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    inSysEx_ = false;  // a message left unfinished by the last track is dropped
    while (at < end) {
      std::uint32_t delta = 0;
      if (!ReadNumber(at, end, delta)) return false;
      tick += delta;
      if (tick > MidiSong::kMaxTick || at >= end) return false;
      song_.endTick_ = std::max(song_.endTick_, static_cast<std::uint32_t>(tick));
      std::uint8_t status = bytes_[at];
      if (status & 0x80) {
        ++at;
      } else if (running == 0) {
        return false;
      } else {
        status = running;
      }
      if (status < 0xF0) {
        running = status;
        if (!ReadChannelEvent(at, end, status, static_cast<std::uint32_t>(tick))) return false;
        continue;
      }
      running = 0;  // system and meta events cancel running status
      bool endOfTrack = false;
      if (!ReadSystemEvent(at, end, status, static_cast<std::uint32_t>(tick), endOfTrack))
        return false;
      if (endOfTrack) return true;
    }
    return true;
  }

  bool ReadChannelEvent(std::size_t& at, std::size_t end, std::uint8_t status, std::uint32_t tick) {
    const int kind = status & 0xF0;
    const int count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    if (end - at < static_cast<std::size_t>(count)) return false;
    MidiEvent event{tick, status, bytes_[at], count == 2 ? bytes_[at + 1] : std::uint8_t{0}};
    if ((event.data1 | event.data2) & 0x80) return false;
    at += count;
    song_.events_.push_back(event);
    return true;
  }

  bool ReadSystemEvent(std::size_t& at, std::size_t end, std::uint8_t status, std::uint32_t tick,
                       bool& endOfTrack) {
    std::uint8_t type = 0;
    if (status == 0xFF) {
      if (at >= end) return false;
      type = bytes_[at++];
    } else if (status != 0xF0 && status != 0xF7) {
      return false;  // real-time and common messages have no place in a file
    }
    std::uint32_t size = 0;
    if (!ReadNumber(at, end, size) || size > end - at) return false;
    const auto data = bytes_.subspan(at, size);
    at += size;
    if (status != 0xFF) {
      AddSysEx(status, data, tick);
    } else if (type == 0x51 && size == 3) {
      tempoChanges_.emplace_back(tick, std::max<std::uint32_t>(BigEndian(data, 0, 3), 1));
    }
    endOfTrack = status == 0xFF && type == 0x2F;
    return true;
  }

  // System exclusive comes in two forms: F0 and the message, which ends in F7 unless it goes
  // on in F7 packets; or F7 and bytes to send as they are, a message when they run from F0 to
  // F7. The synthesizer gets each whole message at the time of its last packet; other bytes
  // sent as they are (song select, real time) mean nothing to it.
  void AddSysEx(std::uint8_t status, std::span<const std::uint8_t> data, std::uint32_t tick) {
    if (status == 0xF0) {
      sysEx_.assign(data.begin(), data.end());
    } else if (inSysEx_) {
      sysEx_.insert(sysEx_.end(), data.begin(), data.end());
    } else if (!data.empty() && data.front() == 0xF0) {
      sysEx_.assign(data.begin() + 1, data.end());
    } else {
      return;
    }
    inSysEx_ = sysEx_.empty() || sysEx_.back() != 0xF7;
    if (inSysEx_) return;  // more packets to come
    sysEx_.pop_back();
    if (sysEx_.empty()) return;
    song_.events_.push_back(
        MidiEvent{tick, 0xF0, 0, 0, static_cast<std::uint32_t>(song_.sysex_.size())});
    song_.sysex_.push_back(std::move(sysEx_));
    sysEx_.clear();
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  MidiSong song_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> tempoChanges_;
  std::vector<std::uint8_t> sysEx_;  // the system-exclusive message being read
  bool inSysEx_ = false;             // its last packet is still to come
};

std::optional<MidiSong> MidiSong::Parse(std::span<const std::uint8_t> bytes) {
  return MidiReader(bytes).Read();
}

void MidiSong::BuildTempoMap(std::vector<std::pair<std::uint32_t, std::uint32_t>> changes) {
  tempo_.assign(1, TempoPoint{0, kDefaultTempo, 0});
  for (const auto& [tick, microsPerQuarter] : changes) {
    TempoPoint& last = tempo_.back();
    if (tick == last.tick) {
      last.microsPerQuarter = microsPerQuarter;
      continue;
    }
    const std::uint64_t micros =
        last.microsAt + std::uint64_t{tick - last.tick} * last.microsPerQuarter / division_;
    tempo_.push_back(TempoPoint{tick, microsPerQuarter, micros});
  }
}

std::uint32_t MidiSong::TickToUnits(std::uint32_t tick) const {
  if (TimedInFrames()) return static_cast<std::uint32_t>(MicrosAt(tick) / 1000);
  return static_cast<std::uint32_t>(std::uint64_t{tick} * 4 / division_);
}

std::uint32_t MidiSong::UnitsToTick(std::uint32_t units) const {
  if (units >= LengthUnits()) return endTick_;
  // Rounded up, so that the tick maps back to the same unit.
  if (TimedInFrames())
    return static_cast<std::uint32_t>((std::uint64_t{units} * ticksPerSecond_ + 999) / 1000);
  return static_cast<std::uint32_t>((std::uint64_t{units} * division_ + 3) / 4);
}

std::uint64_t MidiSong::MicrosAt(std::uint32_t tick) const {
  if (TimedInFrames()) return std::uint64_t{tick} * 1000000 / ticksPerSecond_;
  auto point = std::upper_bound(tempo_.begin(), tempo_.end(), tick,
                                [](std::uint32_t t, const TempoPoint& p) { return t < p.tick; });
  --point;  // the first point is at tick 0
  return point->microsAt + std::uint64_t{tick - point->tick} * point->microsPerQuarter / division_;
}

std::uint32_t MidiSong::TickAt(std::uint64_t micros) const {
  std::uint64_t tick = 0;
  if (TimedInFrames()) {
    tick = micros * ticksPerSecond_ / 1000000;
  } else {
    auto point =
        std::upper_bound(tempo_.begin(), tempo_.end(), micros,
                         [](std::uint64_t m, const TempoPoint& p) { return m < p.microsAt; });
    --point;
    tick = point->tick + (micros - point->microsAt) * division_ / point->microsPerQuarter;
    // A later point may start at the same time (a tempo change at the same instant).
    if (point + 1 != tempo_.end()) tick = std::min<std::uint64_t>(tick, (point + 1)->tick);
  }
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(tick, endTick_));
}

std::optional<MidiSong> LoadMidiSong(const std::string& path, std::uint32_t* error,
                                     std::string* why) {
  // Opened without waiting: a FIFO or a device is refused as a missing file would be.
  std::vector<std::uint8_t> bytes;
  int readError = 0;
  if (!ReadSmallFile(path, kMaxTuneBytes, bytes, readError)) {
    if (error) *error = kMciFileNotFound;
    if (why) *why = UnusableFileReason(readError, kMaxTuneBytes);
    return std::nullopt;
  }
  auto song = MidiSong::Parse(bytes);
  if (!song) {
    if (error) *error = kMciInvalidFile;
    if (why) *why = "not a standard MIDI file";
  }
  return song;
}
