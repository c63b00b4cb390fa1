#include "platform/audio/sequencer_device.h"

#include <algorithm>

void SequencerBase::Update() {
  if (mode_ != SequencerMode::Playing) return;
  const std::uint32_t tick = OutputTick();
  if (tick < stopTick_) return;
  StopOutput(stopTick_ < song_.EndTick());
  tick_ = stopTick_;
  mode_ = SequencerMode::Stopped;
}

void SequencerBase::Halt(SequencerMode mode) {
  Update();
  if (mode_ == SequencerMode::Playing) tick_ = std::min(OutputTick(), stopTick_);
  StopOutput(true);  // also cuts the last notes of a song that has just ended
  mode_ = mode;
}

void SequencerBase::Play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) {
  Update();
  if (from) {
    if (mode_ == SequencerMode::Playing) StopOutput(true);
    mode_ = SequencerMode::Stopped;
    tick_ = song_.UnitsToTick(*from);
  }
  const std::uint32_t stop = to ? song_.UnitsToTick(*to) : song_.EndTick();
  if (mode_ == SequencerMode::Playing) {
    stopTick_ = stop;
    OutputEndsAt(stop);
    Update();
    return;
  }
  if (tick_ >= stop) {
    mode_ = SequencerMode::Stopped;
    return;
  }
  stopTick_ = stop;
  OutputEndsAt(stop);
  StartOutput(tick_);
  mode_ = SequencerMode::Playing;
}

void SequencerBase::Stop() { Halt(SequencerMode::Stopped); }

void SequencerBase::Pause() {
  Update();
  if (mode_ == SequencerMode::Playing) Halt(SequencerMode::Paused);
}

void SequencerBase::Resume() {
  if (mode_ != SequencerMode::Paused) return;
  StartOutput(tick_);
  mode_ = SequencerMode::Playing;
}

void SequencerBase::Seek(std::uint32_t position) {
  Halt(SequencerMode::Stopped);
  tick_ = song_.UnitsToTick(position);
}

std::uint32_t SequencerBase::Position() {
  Update();
  const std::uint32_t tick =
      mode_ == SequencerMode::Playing ? std::min(OutputTick(), stopTick_) : tick_;
  return song_.TickToUnits(tick);
}

SequencerMode SequencerBase::Mode() {
  Update();
  return mode_;
}

void SequencerBase::Close() {
  // No Update here: the clock behind a device may already be gone when it is closed.
  if (mode_ == SequencerMode::Playing) StopOutput(true);
  mode_ = SequencerMode::Stopped;
}
