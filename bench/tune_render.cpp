// Renders a tune through the game's real sound system on SDL's disk audio driver, as fast as
// the processor allows, so that two builds can be compared by ear and by measure
// (bench/compare_tune.sh):
//   tune_render OUT.raw MIDI...
// OUT.raw is what the audio device would have played: 32-bit float stereo at 44100 Hz, each
// tune in turn, its last notes ringing out to silence. Prints the audio thread's processor
// time per second of music.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/sequencer_device.h"
#include "platform/audio/sound_system.h"

namespace {

constexpr double kDeviceRate = 44100;
constexpr std::uintmax_t kFrameBytes = 8;
constexpr std::uintmax_t kQuietFrames = 44100;  // a second of silence ends a tune's tail

// Seconds the SDL audio thread of this process has run.
double AudioThreadSeconds() {
  double total = 0;
  std::error_code ec;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name.rfind("SDLAudio", 0) != 0) continue;
    std::ifstream stat(task.path() / "schedstat");
    double nanos = 0;
    stat >> nanos;
    total += nanos / 1e9;
  }
  return total;
}

std::uintmax_t FramesIn(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : size / kFrameBytes;
}

// True when the last second written is silent: every note has died away.
bool EndsInSilence(const std::string& path, std::uintmax_t from) {
  const std::uintmax_t frames = FramesIn(path);
  if (frames < from + kQuietFrames) return false;
  std::ifstream in(path, std::ios::binary);
  std::vector<float> tail(2 * kQuietFrames);
  in.seekg(static_cast<std::streamoff>((frames - kQuietFrames) * kFrameBytes));
  in.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tail.size() * 4));
  return in && std::all_of(tail.begin(), tail.end(), [](float v) { return v == 0.0f; });
}

void Wait() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tune_render OUT.raw MIDI...\n");
    return 2;
  }
  const std::string out = std::filesystem::absolute(argv[1]).string();
  std::filesystem::remove(out);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);  // no waiting for a sound card: render flat out
  auto sound = CreateSdlSoundSystem();
  double music = 0, cpu = 0;
  // One tune after the other, each closed before the next opens, as the game does.
  for (int i = 2; i < argc; ++i) {
    std::uint32_t error = 0;
    auto tune = sound->OpenSequencer(argv[i], &error, nullptr);
    if (!tune) {
      std::fprintf(stderr, "tune_render: cannot open %s (MCI error %u)\n", argv[i], error);
      return 1;
    }
    const double length = static_cast<double>(tune->Song().LengthMicros()) / 1e6;
    const double cpuStart = AudioThreadSeconds();
    tune->Play(std::nullopt, std::nullopt);
    while (tune->Mode() == SequencerMode::Playing) Wait();
    cpu += AudioThreadSeconds() - cpuStart;
    music += length;
    // The last notes ring out before the tune is closed (which would cut them).
    const std::uintmax_t end = FramesIn(out);
    while (!EndsInSilence(out, end)) Wait();
  }
  sound.reset();
  std::printf("music %.1f s, audio thread %.3f s = %.3f %% of a core in real time\n", music, cpu,
              100 * cpu / music);
  return 0;
}
