#include "midi_writer.h"

#include <algorithm>
#include <stdexcept>

namespace {

void PutNumber(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7) bytes.insert(bytes.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutChunk(std::vector<std::uint8_t>& out, const char* id,
              const std::vector<std::uint8_t>& body) {
  out.insert(out.end(), id, id + 4);
  const auto size = static_cast<std::uint32_t>(body.size());
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(size >> shift));
  out.insert(out.end(), body.begin(), body.end());
}

void PutMeta(std::vector<std::uint8_t>& track, int type, const std::vector<std::uint8_t>& data) {
  track.push_back(0xFF);
  track.push_back(static_cast<std::uint8_t>(type));
  PutNumber(track, static_cast<std::uint32_t>(data.size()));
  track.insert(track.end(), data.begin(), data.end());
}

}  // namespace

void MidiWriter::Add(int channel, Event event) {
  channels_.at(channel).push_back(std::move(event));
}

void MidiWriter::Program(int channel, int program) {
  Add(channel,
      {0, 1, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)}});
}

void MidiWriter::Control(int channel, int controller, int value, int tick) {
  Add(channel, {tick,
                1,
                {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
                 static_cast<std::uint8_t>(value)}});
}

void MidiWriter::Note(int channel, int tick, int pitch, int length, int velocity) {
  if (pitch < 0 || pitch > 127) throw std::runtime_error("pitch out of range");
  const auto status = static_cast<std::uint8_t>(channel);
  Add(channel, {tick,
                2,
                {static_cast<std::uint8_t>(0x90 | status), static_cast<std::uint8_t>(pitch),
                 static_cast<std::uint8_t>(std::clamp(velocity, 1, 127))}});
  Add(channel, {tick + length,
                0,
                {static_cast<std::uint8_t>(0x80 | status), static_cast<std::uint8_t>(pitch), 0}});
}

std::vector<std::uint8_t> MidiWriter::Bytes(const std::string& title) const {
  std::vector<std::vector<std::uint8_t>> tracks;
  std::vector<std::uint8_t> conductor;
  const std::uint32_t tempo = 60000000u / static_cast<std::uint32_t>(beatsPerMinute_);
  PutNumber(conductor, 0);
  PutMeta(conductor, 0x03, std::vector<std::uint8_t>(title.begin(), title.end()));
  PutNumber(conductor, 0);
  PutMeta(conductor, 0x58, {4, 2, 24, 8});
  PutNumber(conductor, 0);
  PutMeta(conductor, 0x51,
          {static_cast<std::uint8_t>(tempo >> 16), static_cast<std::uint8_t>(tempo >> 8),
           static_cast<std::uint8_t>(tempo)});
  PutNumber(conductor, static_cast<std::uint32_t>(endTick_));
  PutMeta(conductor, 0x2F, {});
  tracks.push_back(conductor);
  for (const auto& channel : channels_) {
    if (channel.empty()) continue;
    std::vector<Event> events = channel;
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> track;
    int now = 0;
    for (const Event& event : events) {
      if (event.tick > endTick_) throw std::runtime_error("an event after the end");
      PutNumber(track, static_cast<std::uint32_t>(event.tick - now));
      track.insert(track.end(), event.bytes.begin(), event.bytes.end());
      now = event.tick;
    }
    PutNumber(track, static_cast<std::uint32_t>(endTick_ - now));
    PutMeta(track, 0x2F, {});
    tracks.push_back(track);
  }
  std::vector<std::uint8_t> file;
  PutChunk(file, "MThd",
           {0, 1, 0, static_cast<std::uint8_t>(tracks.size()), kDivision >> 8, kDivision & 0xFF});
  for (const auto& track : tracks) PutChunk(file, "MTrk", track);
  return file;
}

int PitchOf(const std::string& name) {
  if (name == "R") return -1;
  static const int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::runtime_error("bad pitch " + name);
  int pitch = kSemitone[name[0] - 'A'];
  std::size_t at = 1;
  if (at < name.size() && name[at] == '#') ++pitch, ++at;
  if (at < name.size() && name[at] == 'b') --pitch, ++at;
  return pitch + 12 * (std::stoi(name.substr(at)) + 1);
}
