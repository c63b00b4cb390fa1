// A sequencer device: one open MIDI file and its playback state, as the MCI interpreter
// drives it. Positions and lengths are in song pointer units (midi_file.h).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/audio/midi_file.h"

enum class SequencerMode { NotReady, Stopped, Playing, Paused };

class SequencerDevice {
 public:
  virtual ~SequencerDevice() = default;
  virtual const MidiSong& Song() const = 0;
  // Plays from `from` (or on from the current position) up to `to` (or the end) and returns
  // at once. A play while playing continues; at the end the mode becomes stopped.
  virtual void Play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) = 0;
  // Halts and silences every note; the position is kept.
  virtual void Stop() = 0;
  virtual void Pause() = 0;
  // Continues when paused; does nothing otherwise.
  virtual void Resume() = 0;
  // Stops, then moves to the position.
  virtual void Seek(std::uint32_t position) = 0;
  virtual std::uint32_t Position() = 0;
  virtual std::uint32_t Length() const = 0;
  virtual SequencerMode Mode() = 0;
};

// The state machine every device shares; a device supplies its output: where playback
// starts, where it has got to, and how it is silenced.
class SequencerBase : public SequencerDevice {
 public:
  explicit SequencerBase(MidiSong song) : song_(std::move(song)) {}

  const MidiSong& Song() const override { return song_; }
  void Play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) override;
  void Stop() override;
  void Pause() override;
  void Resume() override;
  void Seek(std::uint32_t position) override;
  std::uint32_t Position() override;
  std::uint32_t Length() const override { return song_.LengthUnits(); }
  SequencerMode Mode() override;

 protected:
  // Starts sounding the song from the tick.
  virtual void StartOutput(std::uint32_t fromTick) = 0;
  // Ends the output. `silence`: cut every note at once (stop, pause, close); otherwise the
  // song reached its end and the last notes may ring out. Called also when nothing plays.
  virtual void StopOutput(bool silence) = 0;
  // Where the current play ends (before StartOutput, and again when a play while playing
  // moves the end): no note may start from there on.
  virtual void OutputEndsAt(std::uint32_t tick) { (void)tick; }
  // The tick the output has reached since StartOutput.
  virtual std::uint32_t OutputTick() = 0;
  // Devices call this in their destructor while their output still exists.
  void Close();

 private:
  // Notices the end of the song (or of the played range).
  void Update();
  void Halt(SequencerMode mode);

  MidiSong song_;
  SequencerMode mode_ = SequencerMode::Stopped;
  std::uint32_t tick_ = 0;      // the position while not playing
  std::uint32_t stopTick_ = 0;  // where the current play ends
};
