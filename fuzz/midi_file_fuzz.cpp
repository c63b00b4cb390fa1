// The MIDI file reader on arbitrary bytes: it must refuse what it cannot read, and what it
// accepts must have a consistent time line.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "platform/audio/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto song = MidiSong::Parse(std::span<const std::uint8_t>(data, size));
  if (!song) return 0;
  if (song->EndTick() > MidiSong::kMaxTick) FuzzFailure("end tick past the limit");
  std::uint32_t previous = 0;
  for (const MidiEvent& event : song->Events()) {
    if (event.tick < previous) FuzzFailure("events out of time order");
    if (event.tick > song->EndTick()) FuzzFailure("an event after the end");
    if (event.status == 0xF0 && song->SysEx(event.sysex).empty())
      FuzzFailure("an empty system-exclusive message");
    previous = event.tick;
  }
  // Positions map to ticks and back without passing the end.
  const std::uint32_t length = song->LengthUnits();
  if (song->UnitsToTick(length) != song->EndTick()) FuzzFailure("the length is not the end");
  for (std::uint32_t units : {0u, length / 2, length}) {
    const std::uint32_t tick = song->UnitsToTick(units);
    if (song->TickToUnits(tick) > length) FuzzFailure("a position past the length");
  }
  // Time runs forward with the ticks, and the tick at a time never passes the end.
  const std::uint64_t total = song->LengthMicros();
  if (song->MicrosAt(song->EndTick() / 2) > total) FuzzFailure("time runs backwards");
  for (std::uint64_t micros : {std::uint64_t{0}, total / 3, total, total + 1000000})
    if (song->TickAt(micros) > song->EndTick()) FuzzFailure("a tick past the end");
  return 0;
}
