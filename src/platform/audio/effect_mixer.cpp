#include "platform/audio/effect_mixer.h"

#include <algorithm>

void EffectMixer::Start(std::shared_ptr<const EffectSamples> samples) {
  if (Playing()) {
    fading_ = std::move(current_);
    fadeLeft_ = fadeFrames_;
  }
  current_ = Voice{std::move(samples), 0};
}

void EffectMixer::MixVoice(Voice& voice, float* out, int frames, float gain, float step) {
  if (voice.samples == nullptr) return;
  const EffectSamples& samples = *voice.samples;
  for (int frame = 0; frame < frames && voice.at + 1 < samples.size(); ++frame) {
    out[2 * frame] += samples[voice.at] * gain;
    out[2 * frame + 1] += samples[voice.at + 1] * gain;
    voice.at += 2;
    gain = std::max(0.0f, gain - step);
  }
}

void EffectMixer::MixInto(float* out, int frames) {
  if (fadeLeft_ > 0) {
    const int count = std::min(frames, fadeLeft_);
    const float step = 1.0f / static_cast<float>(fadeFrames_);
    MixVoice(fading_, out, count, static_cast<float>(fadeLeft_) * step, step);
    fadeLeft_ -= count;
  }
  MixVoice(current_, out, frames, 1.0f, 0.0f);
}
