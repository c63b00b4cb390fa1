// Sound effects and the MIDI sequencer, as one service of the back end. The real one mixes
// both into the SDL audio stream; the virtual one (headless) plays nothing and runs its
// tunes on the virtual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class SequencerDevice;  // one open standard MIDI file (sequencer_device.h)

// Why a sound effect cannot be played.
struct EffectFailure {
  bool missing = false;  // no regular file there
  std::string why;       // for a message: "no such file", "Permission denied", ...

  // From the error of opening or reading its file (file_access.h); `limit` is the size that
  // ReadSmallFile was given.
  static EffectFailure OfFile(int error, std::size_t limit = 0);
};

// What is said of a sound or a tune whose file was read but holds nothing the game can play.
inline constexpr const char* kNotAWave = "not a WAV file it can read";

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  // Starts the effect in the WAV file at `path`, cutting the one playing; returns at once.
  // False when it cannot be played (then nothing plays), with the reason in *failure. A file
  // that failed is remembered: every later play of it fails at once, without a look at the
  // disk (a file mended while the game runs is not picked up).
  bool PlayEffect(const std::string& path, EffectFailure* failure = nullptr);
  // Opens a standard MIDI file on a new sequencer device; null with the MCI error number in
  // *error and the reason, for a message, in *why when it cannot.
  virtual std::unique_ptr<SequencerDevice> OpenSequencer(const std::string& path,
                                                         std::uint32_t* error,
                                                         std::string* why) = 0;
  // The back end calls this at every frame, in every state, on the game's thread: the real
  // system judges there whether its device still takes sound, by the game's own running time.
  virtual void WatchDevice() {}

 protected:
  // Starts the effect; false with `failure` filled when the file cannot be played.
  virtual bool StartEffect(const std::string& path, EffectFailure& failure) = 0;

 private:
  std::map<std::string, EffectFailure> failedEffects_;  // by path
};

// Headless: tunes advance with `clock` (milliseconds), nothing is heard.
std::unique_ptr<SoundSystem> CreateVirtualSoundSystem(std::function<std::uint32_t()> clock);
// The General MIDI SoundFonts of Debian's packages, in the order they are tried.
inline const std::vector<std::string> kGeneralMidiSoundFonts = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2"};
// Real: SDL audio with FluidSynth and the first of `soundFonts` that loads. Without an audio
// device it says so once on standard error and falls back to a silent system that still keeps
// time; a SoundFont that is there but cannot be used is told in one line, and without one the
// tunes keep time in silence. The device opens on a thread of its own while `whileOpening`
// runs over and over (the back end idles there, where a termination signal still ends the
// game), so an audio driver that never answers holds nothing else; one that answers late
// still plays. Without `whileOpening` the open is simply waited for.
std::unique_ptr<SoundSystem> CreateSdlSoundSystem(
    const std::vector<std::string>& soundFonts = kGeneralMidiSoundFonts,
    const std::function<void()>& whileOpening = {});
