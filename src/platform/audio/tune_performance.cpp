#include "platform/audio/tune_performance.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kMicrosPerSecond = 1000000;

bool IsNote(const MidiEvent& event) {
  const int kind = event.status & 0xF0;
  return kind == 0x80 || kind == 0x90;
}

}  // namespace

TunePerformance::TunePerformance(const MidiSong& song, fluid_synth_t* synth, int rate,
                                 std::uint32_t fromTick, std::uint32_t endTick)
    : song_(song),
      synth_(synth),
      rate_(rate),
      fromTick_(fromTick),
      startMicros_(song.MicrosAt(fromTick)) {
  fluid_synth_system_reset(synth_);
  const auto& events = song_.Events();
  for (; next_ < events.size() && events[next_].tick < fromTick; ++next_)
    if (!IsNote(events[next_])) Send(events[next_]);
  EndAt(endTick);
}

void TunePerformance::EndAt(std::uint32_t tick) {
  endTick_ = tick;
  endFrame_ = FrameOf(tick);
  SendDueEvents();
}

int TunePerformance::FramesBeforeNextEvent(int frames) const {
  const auto& events = song_.Events();
  if (next_ == events.size() || events[next_].tick > endTick_) return frames;
  const std::uint64_t due = FrameOf(events[next_].tick);
  if (due <= rendered_) return frames;  // not left unsent: see SendDueEvents
  return static_cast<int>(
      std::min<std::uint64_t>(static_cast<std::uint64_t>(frames), due - rendered_));
}

void TunePerformance::Advance(int frames) {
  rendered_ += static_cast<std::uint64_t>(frames);
  SendDueEvents();
}

std::uint32_t TunePerformance::Tick(std::uint64_t aheadMicros) const {
  if (rendered_ >= endFrame_) return endTick_;
  const auto rate = static_cast<std::uint64_t>(rate_);
  const std::uint64_t micros = startMicros_ + rendered_ / rate * kMicrosPerSecond +
                               rendered_ % rate * kMicrosPerSecond / rate + aheadMicros;
  // The tick at the start's time may round down below the start.
  return std::clamp(song_.TickAt(micros), std::min(fromTick_, endTick_), endTick_);
}

// The first frame at or after the tick's time (in two steps: the product of a long song's
// microseconds and the rate would not fit in 64 bits).
std::uint64_t TunePerformance::FrameOf(std::uint32_t tick) const {
  const std::uint64_t at = song_.MicrosAt(tick);
  if (at <= startMicros_) return 0;
  const std::uint64_t micros = at - startMicros_;
  const auto rate = static_cast<std::uint64_t>(rate_);
  return micros / kMicrosPerSecond * rate +
         (micros % kMicrosPerSecond * rate + kMicrosPerSecond - 1) / kMicrosPerSecond;
}

// Every event whose frame has been reached is sent before the device is unlocked, so the
// position never runs ahead of what the synthesizer was told.
void TunePerformance::SendDueEvents() {
  const auto& events = song_.Events();
  for (; next_ < events.size(); ++next_) {
    const MidiEvent& event = events[next_];
    if (event.tick > endTick_ || FrameOf(event.tick) > rendered_) return;
    const bool noteOn = (event.status & 0xF0) == 0x90 && event.data2 > 0;
    if (!noteOn || event.tick < endTick_) Send(event);
  }
}

void TunePerformance::Send(const MidiEvent& event) {
  const int channel = event.status & 0x0F;
  switch (event.status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth_, channel, event.data1);
      break;
    case 0x90:
      fluid_synth_noteon(synth_, channel, event.data1, event.data2);  // velocity 0: off
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth_, channel, event.data1, event.data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth_, channel, event.data1, event.data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth_, channel, event.data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth_, channel, event.data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth_, channel, event.data1 | event.data2 << 7);
      break;
    default: {
      const auto message = song_.SysEx(event.sysex);
      fluid_synth_sysex(synth_, reinterpret_cast<const char*>(message.data()),
                        static_cast<int>(message.size()), nullptr, nullptr, nullptr, 0);
    }
  }
}
