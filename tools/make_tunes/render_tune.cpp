// Renders a standard MIDI file through FluidSynth with the game's SoundFont and settings
// into a 16-bit stereo WAV file, faster than real time, to measure that a tune sounds.
#include <fluidsynth.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kRate = 44100;

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: render_tune <tune.mid> <out.wav> [soundfont.sf2]\n");
    return 2;
  }
  const char* font = argc > 3 ? argv[3] : "/usr/share/sounds/sf2/TimGM6mb.sf2";
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kRate);
  fluid_settings_setnum(settings, "synth.gain", 0.4);
  fluid_settings_setint(settings, "synth.reverb.active", 0);
  fluid_settings_setint(settings, "synth.chorus.active", 0);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_synth_t* synth = new_fluid_synth(settings);
  fluid_player_t* player = new_fluid_player(synth);
  if (fluid_synth_sfload(synth, font, 1) < 0 || fluid_player_add(player, argv[1]) != FLUID_OK) {
    std::fprintf(stderr, "render_tune: cannot load %s or %s\n", font, argv[1]);
    return 1;
  }
  fluid_player_play(player);
  std::vector<std::int16_t> samples;
  std::vector<std::int16_t> block(2 * 512);
  while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
    fluid_synth_write_s16(synth, 512, block.data(), 0, 2, block.data(), 1, 2);
    samples.insert(samples.end(), block.begin(), block.end());
  }
  delete_fluid_player(player);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);

  std::ofstream out(argv[2], std::ios::binary);
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  Put(out, 36 + dataSize, 4);
  out.write("WAVEfmt ", 8);
  Put(out, 16, 4), Put(out, 1, 2), Put(out, 2, 2), Put(out, kRate, 4), Put(out, kRate * 4, 4);
  Put(out, 4, 2), Put(out, 16, 2);
  out.write("data", 4);
  Put(out, dataSize, 4);
  for (std::int16_t s : samples) Put(out, static_cast<std::uint16_t>(s), 2);
  return out ? 0 : 1;
}
