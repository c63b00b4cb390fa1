// A sequencer that plays nothing and follows a millisecond clock: the headless back end's,
// or the wall clock when no audio device is there.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/audio/sequencer_device.h"

class VirtualSequencer : public SequencerBase {
 public:
  VirtualSequencer(MidiSong song, std::function<std::uint32_t()> clock)
      : SequencerBase(std::move(song)), clock_(std::move(clock)) {}
  ~VirtualSequencer() override { Close(); }

 protected:
  void StartOutput(std::uint32_t fromTick) override;
  void StopOutput(bool) override {}
  std::uint32_t OutputTick() override;

 private:
  std::function<std::uint32_t()> clock_;
  std::uint32_t startClock_ = 0;
  std::uint64_t startMicros_ = 0;
};
