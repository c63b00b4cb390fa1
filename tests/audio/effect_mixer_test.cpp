#include "platform/audio/effect_mixer.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const EffectSamples> Constant(float value, int frames) {
  return std::make_shared<EffectSamples>(static_cast<std::size_t>(2 * frames), value);
}

TEST(EffectMixer, AddsTheEffectToTheMusicAndEndsWithIt) {
  EffectMixer mixer(4);
  mixer.Start(Constant(0.5f, 3));
  std::vector<float> out(10, 0.25f);
  mixer.MixInto(out.data(), 5);
  EXPECT_EQ(out, (std::vector<float>{0.75f, 0.75f, 0.75f, 0.75f, 0.75f, 0.75f, 0.25f, 0.25f, 0.25f,
                                     0.25f}));
  EXPECT_FALSE(mixer.Playing());
}

TEST(EffectMixer, ANewEffectCutsTheOldOneWithAShortFade) {
  EffectMixer mixer(4);
  mixer.Start(Constant(1.0f, 100));
  std::vector<float> out(4, 0.0f);
  mixer.MixInto(out.data(), 2);
  mixer.Start(Constant(0.125f, 100));
  out.assign(16, 0.0f);
  mixer.MixInto(out.data(), 8);
  const float expected[] = {1.125f, 0.875f, 0.625f, 0.375f, 0.125f, 0.125f, 0.125f, 0.125f};
  for (int frame = 0; frame < 8; ++frame) {
    EXPECT_FLOAT_EQ(out[2 * frame], expected[frame]) << frame;
    EXPECT_FLOAT_EQ(out[2 * frame + 1], expected[frame]) << frame;
  }
  EXPECT_TRUE(mixer.Playing());
}

}  // namespace
