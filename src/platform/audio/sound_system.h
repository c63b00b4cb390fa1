// Sound effects and the MIDI sequencer, as one service of the back end. The real one mixes
// both into the SDL audio stream; the virtual one (headless) plays nothing and runs its
// tunes on the virtual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class SequencerDevice;  // one open standard MIDI file (sequencer_device.h)

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  // Starts the effect in the WAV file at `path`, cutting the one playing; returns at once.
  // False when the file is missing or unreadable (then nothing plays).
  virtual bool PlayEffect(const std::string& path) = 0;
  // Opens a standard MIDI file on a new sequencer device; null with the MCI error number
  // in *error when it cannot.
  virtual std::unique_ptr<SequencerDevice> OpenSequencer(const std::string& path,
                                                         std::uint32_t* error) = 0;
};

// Headless: tunes advance with `clock` (milliseconds), nothing is heard.
std::unique_ptr<SoundSystem> CreateVirtualSoundSystem(std::function<std::uint32_t()> clock);
// Real: SDL audio with FluidSynth. Without an audio device it says so once on standard
// error and falls back to a silent system that still keeps time.
std::unique_ptr<SoundSystem> CreateSdlSoundSystem();
