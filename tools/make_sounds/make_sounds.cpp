// Synthesizes the game's sound effects and writes them as 16-bit mono PCM WAV files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kTau = 2 * std::numbers::pi;

using Signal = std::vector<double>;

// A sound `seconds` long whose sample at time t is voice(t).
Signal Render(double seconds, const std::function<double(double)>& voice) {
  Signal out(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = voice(static_cast<double>(i) / kRate);
  return out;
}

// Attack and release ramps so that no sound starts or ends with a click; then scaled to a
// peak of `peak` (of full scale).
Signal Finish(Signal signal, double attack, double release, double peak) {
  const double length = static_cast<double>(signal.size()) / kRate;
  for (std::size_t i = 0; i < signal.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    signal[i] *= std::min({1.0, t / attack, (length - t) / release});
  }
  double top = 0;
  for (double s : signal) top = std::max(top, std::abs(s));
  if (top > 0)
    for (double& s : signal) s *= peak / top;
  return signal;
}

// The phase of a tone whose frequency glides exponentially from f0 to f1 over `span`.
double GlidePhase(double t, double f0, double f1, double span) {
  const double k = std::log(f1 / f0) / span;
  const double tt = std::min(t, span);
  double phase = f0 * (std::exp(k * tt) - 1) / k;
  if (t > span) phase += f1 * (t - span);
  return kTau * phase;
}

double Bell(double t, double frequency, double decay) {
  return std::exp(-t / decay) *
         (std::sin(kTau * frequency * t) +
          0.35 * std::sin(kTau * 2.76 * frequency * t) * std::exp(-t / (decay * 0.4)));
}

Signal Fall() {  // a soft wooden knock as the pair lands
  std::mt19937 random(3);
  std::uniform_real_distribution<double> noise(-1, 1);
  return Finish(Render(0.14,
                       [&](double t) {
                         const double body =
                             std::sin(GlidePhase(t, 260, 120, 0.06)) * std::exp(-t / 0.035);
                         const double click = noise(random) * std::exp(-t / 0.004) * 0.4;
                         return body + click;
                       }),
                0.001, 0.02, 0.7);
}

Signal Turn() {  // a quick rising blip
  return Finish(Render(0.07,
                       [](double t) {
                         const double phase = GlidePhase(t, 700, 1400, 0.05);
                         return (std::sin(phase) + 0.25 * std::sin(3 * phase)) *
                                std::exp(-t / 0.05);
                       }),
                0.002, 0.02, 0.5);
}

Signal Del() {  // three bell notes running up: cells clear
  const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
  return Finish(Render(0.42,
                       [&](double t) {
                         double sum = 0;
                         for (int i = 0; i < 4; ++i) {
                           const double start = i * 0.055;
                           if (t >= start) sum += Bell(t - start, notes[i], 0.09);
                         }
                         return sum;
                       }),
                0.001, 0.08, 0.6);
}

Signal Super1() {  // the super pair charges: a swelling rise with a shimmer
  return Finish(Render(1.0,
                       [](double t) {
                         const double phase = GlidePhase(t, 160, 1500, 1.0);
                         const double wobble = 1 + 0.3 * std::sin(kTau * 14 * t);
                         const double tone = std::sin(phase) + 0.5 * std::sin(2 * phase) +
                                             0.25 * std::sin(3 * phase + wobble);
                         const double swell = 0.25 + 0.75 * t;
                         return tone * swell * wobble;
                       }),
                0.02, 0.12, 0.75);
}

Signal Super2() {  // the burst: a deep boom under a wash of noise
  std::mt19937 random(11);
  std::uniform_real_distribution<double> noise(-1, 1);
  double smooth = 0;
  return Finish(Render(1.1,
                       [&](double t) {
                         const double boom =
                             std::sin(GlidePhase(t, 90, 38, 0.6)) * std::exp(-t / 0.3);
                         smooth += 0.25 * (noise(random) - smooth);  // a gentle low-pass
                         const double wash = smooth * std::exp(-t / 0.22) * 1.6;
                         const double crack = noise(random) * std::exp(-t / 0.015);
                         return boom + wash + 0.5 * crack;
                       }),
                0.001, 0.25, 0.85);
}

Signal Select() {  // a light tick for a cursor move
  return Finish(Render(0.05,
                       [](double t) {
                         const double phase = kTau * 1250 * t;
                         return (std::sin(phase) + 0.2 * std::sin(2 * phase)) * std::exp(-t / 0.02);
                       }),
                0.001, 0.01, 0.45);
}

Signal Change() {  // two tones up: a setting changed
  auto tone = [](double t, double start, double frequency) {
    if (t < start) return 0.0;
    const double local = t - start;
    return std::sin(kTau * frequency * local) * std::min(1.0, local / 0.002) *
           std::exp(-local / 0.04);
  };
  return Finish(Render(0.18, [&](double t) { return tone(t, 0, 784.0) + tone(t, 0.065, 1174.7); }),
                0.002, 0.03, 0.5);
}

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool WriteWav(const std::string& path, const Signal& signal) {
  std::ofstream out(path, std::ios::binary);
  const auto dataSize = static_cast<std::uint32_t>(signal.size() * 2);
  out.write("RIFF", 4);
  Put(out, 36 + dataSize, 4);
  out.write("WAVEfmt ", 8);
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, 1, 2);  // mono
  Put(out, kRate, 4);
  Put(out, kRate * 2, 4);
  Put(out, 2, 2);
  Put(out, 16, 2);
  out.write("data", 4);
  Put(out, dataSize, 4);
  for (double s : signal) {
    const auto sample = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767));
    Put(out, static_cast<std::uint16_t>(sample), 2);
  }
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::pair<const char*, Signal> sounds[] = {
      {"Fall.wav", Fall()},     {"Turn.wav", Turn()},     {"Del.wav", Del()},
      {"Super1.wav", Super1()}, {"Super2.wav", Super2()}, {"Select.wav", Select()},
      {"Change.wav", Change()}};
  for (const auto& [name, signal] : sounds) {
    if (!WriteWav(folder + "/" + name, signal)) {
      std::fprintf(stderr, "make_sounds: cannot write %s/%s\n", name, folder.c_str());
      return 1;
    }
  }
  return 0;
}
