// The one sound-effect slot of the audio stream: a new effect cuts the one playing, which
// fades out over a few milliseconds instead of stopping with a click. The mixer runs inside
// the audio callback; Start is called with the audio device locked.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Interleaved stereo samples at the device's rate.
using EffectSamples = std::vector<float>;

class EffectMixer {
 public:
  explicit EffectMixer(int fadeFrames) : fadeFrames_(fadeFrames) {}

  void Start(std::shared_ptr<const EffectSamples> samples);
  // Adds the effects to `frames` stereo frames of `out`. Frees nothing (real-time thread).
  void MixInto(float* out, int frames);
  bool Playing() const {
    return current_.samples != nullptr && current_.at < current_.samples->size();
  }

 private:
  struct Voice {
    std::shared_ptr<const EffectSamples> samples;
    std::size_t at = 0;  // next sample (not frame)
  };
  // Mixes one voice, scaled from `gain` down by `step` per frame (fading) or at 1.
  static void MixVoice(Voice& voice, float* out, int frames, float gain, float step);

  int fadeFrames_;
  Voice current_;
  Voice fading_;
  int fadeLeft_ = 0;  // frames of fading_ still to play
};
