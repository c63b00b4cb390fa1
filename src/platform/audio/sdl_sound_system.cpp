// The real sound system: one SDL audio device whose callback renders FluidSynth for the
// tunes and adds the current sound effect.
#include <SDL.h>
#include <fcntl.h>
#include <fluidsynth.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/audio/effect_mixer.h"
#include "platform/audio/mci_interpreter.h"
#include "platform/audio/silent_device_watch.h"
#include "platform/audio/sound_system.h"
#include "platform/audio/soundfont_loader.h"
#include "platform/audio/tune_performance.h"
#include "platform/audio/virtual_sequencer.h"
#include "platform/file_access.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBufferFrames = 512;        // about 12 ms
constexpr int kFadeFrames = kRate / 200;  // 5 ms fade of a cut effect
constexpr double kSynthGain = 0.4;        // keeps a busy tune clear of clipping
// Voices the synthesizer keeps ready; each costs about 15 KB whether it sounds or not. The
// game tune, at its busiest, sounds 63 (notes and their release tails), so none is ever
// taken from a note that still sounds; 96 leaves half as many again to spare.
constexpr int kPolyphony = 96;
// How long the device may run no callback, in the game's running time, before it counts as
// no longer taking sound. A device renders its buffer every 12 ms or so, and a starved audio
// thread renders late, but renders: only a device whose callback stopped comes near this.
constexpr std::uint64_t kSilentDeviceMillis = 1000;
// How long the end of the game waits for the device to close. Closing waits for the device's
// thread, which a device that takes no more sound (a sound server that hangs) holds for ever.
constexpr auto kDeviceCloseBound = std::chrono::seconds(1);

std::uint32_t WallClock() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Runs `job` on a thread of its own, which is never joined: a driver call that does not come
// back (a sound server that accepts and never answers) is left to the end of the program,
// which does not wait for it. Without a thread to spare, the job runs here and now.
template <typename Result>
std::future<Result> RunOnItsOwnThread(std::function<Result()> job) {
  auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
  std::future<Result> result = task->get_future();
  try {
    std::thread([task] {
      (*task)();
      SDL_TLSCleanup();  // SDL frees its per-thread block (the error text) only on its own threads
    }).detach();
  } catch (const std::system_error&) {
    (*task)();
  }
  return result;
}

// Closes the device, unless its thread does not come back within the bound: the device is
// then left to the end of the program. True when it closed.
bool CloseDevice(SDL_AudioDeviceID device) {
  auto closed = RunOnItsOwnThread<void>([device] { SDL_CloseAudioDevice(device); });
  if (closed.wait_for(kDeviceCloseBound) == std::future_status::ready) return true;
  std::fprintf(stderr, "fumbo2: the audio device did not close; the game ends without it\n");
  return false;
}

// A tune that plays: what the callback renders, and what the game needs to tell that its
// device went silent.
struct PlayingTune {
  PlayingTune(const MidiSong& song, fluid_synth_t* synth, int rate, std::uint32_t fromTick,
              std::uint32_t endTick, const std::string& path, std::uint64_t startedAt)
      : performance(song, synth, rate, fromTick, endTick), path(path), startedAt(startedAt) {}

  TunePerformance performance;
  std::string path;
  std::uint64_t startedAt;  // the game's running time (SilentDeviceWatch) at its start
};

// The device, the synthesizer and the effect slot, shared by the system and its sequencers
// so that a device still open at the end never outlives them.
struct AudioEngine {
  SDL_AudioDeviceID device = 0;
  int rate = kRate;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;           // null: tunes keep time in silence
  std::vector<PlayingTune*> tunes;          // changed on the game's thread, with the device locked
  std::atomic<std::uint64_t> callbacks{0};  // runs of the callback
  SilentDeviceWatch watch{0, WallClock()};  // on the game's thread
  std::string font;                         // the SoundFont's path
  int fontId = -1;
  std::set<int> programs;  // whose presets are loaded (every preset has to be kept in memory)
  bool wholeFont = false;  // the font could not be cut down to some programs
  EffectMixer effects{kFadeFrames};

  ~AudioEngine() {
    bool closed = true;
    if (device != 0) {
      // Paused, the device's thread runs the callback no more: the engine may go even when the
      // device is left open.
      SDL_PauseAudioDevice(device, 1);
      closed = CloseDevice(device);
    }
    if (synth != nullptr) delete_fluid_synth(synth);
    if (settings != nullptr) delete_fluid_settings(settings);
    // Ending audio would wait for a device left open all over again.
    if (closed) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // Looks at the device's progress, on the game's thread. Once it has run no callback for a
  // second of the game's running time, each tune that plays says once that it goes on in
  // silence.
  void WatchDevice() {
    watch.Look(callbacks.load(std::memory_order_relaxed), WallClock());
    for (const PlayingTune* tune : tunes)
      if (watch.SilentMillisSince(tune->startedAt) > kSilentDeviceMillis)
        TellOnce("the audio device stopped taking sound; the tune " + tune->path +
                 " goes on in silence");
  }

  // While no tune plays and the last notes have died away the synthesizer would render
  // silence: it is left alone then.
  bool Sounding() const {
    return synth != nullptr && (!tunes.empty() || fluid_synth_get_active_voice_count(synth) > 0);
  }

  // The synthesizer is rendered in stretches that end where an event of a tune is due, so
  // that each event sounds at its own sample (as near as the synthesizer's blocks of 64 allow).
  static void Callback(void* userdata, Uint8* stream, int length) {
    auto* engine = static_cast<AudioEngine*>(userdata);
    engine->callbacks.fetch_add(1, std::memory_order_relaxed);
    auto* out = reinterpret_cast<float*>(stream);
    const int frames = length / static_cast<int>(2 * sizeof(float));
    for (int done = 0; done < frames;) {
      int stretch = frames - done;
      for (PlayingTune* tune : engine->tunes)
        stretch = tune->performance.FramesBeforeNextEvent(stretch);
      float* at = out + 2 * done;
      if (engine->Sounding()) {
        fluid_synth_write_float(engine->synth, stretch, at, 0, 2, at, 1, 2);
      } else {
        std::fill(at, at + 2 * stretch, 0.0f);
      }
      for (PlayingTune* tune : engine->tunes) tune->performance.Advance(stretch);
      done += stretch;
    }
    engine->effects.MixInto(out, frames);
  }
};

class DeviceLock {
 public:
  explicit DeviceLock(const AudioEngine& engine) : device_(engine.device) {
    SDL_LockAudioDevice(device_);
  }
  ~DeviceLock() { SDL_UnlockAudioDevice(device_); }

 private:
  SDL_AudioDeviceID device_;
};

// A sequencer whose tune the audio callback plays into the synthesizer.
class FluidSequencer : public SequencerBase {
 public:
  FluidSequencer(MidiSong song, std::shared_ptr<AudioEngine> engine, std::string path)
      : SequencerBase(std::move(song)), engine_(std::move(engine)), path_(std::move(path)) {}
  ~FluidSequencer() override { Close(); }

 protected:
  void StartOutput(std::uint32_t fromTick) override {
    DeviceLock lock(*engine_);
    EndTune();
    engine_->WatchDevice();
    tune_.emplace(Song(), engine_->synth, engine_->rate, fromTick, endTick_, path_,
                  engine_->watch.RunningMillis());
    engine_->tunes.push_back(&*tune_);
  }

  void StopOutput(bool silence) override {
    DeviceLock lock(*engine_);
    EndTune();
    if (!silence) {  // the end of the song: what still sounds is released and rings out
      fluid_synth_all_notes_off(engine_->synth, -1);
      return;
    }
    fluid_synth_all_sounds_off(engine_->synth, -1);
    for (int channel = 0; channel < 16; ++channel) {
      fluid_synth_cc(engine_->synth, channel, 64, 0);   // sustain off
      fluid_synth_cc(engine_->synth, channel, 121, 0);  // reset controllers
    }
  }

  void OutputEndsAt(std::uint32_t tick) override {
    endTick_ = tick;
    DeviceLock lock(*engine_);
    if (tune_) tune_->performance.EndAt(tick);
  }

  // The tick the sound has reached. A device that stops taking sound no longer runs the
  // callback, and its tune would play for ever: once the device has been silent for a second
  // of the game's running time, the tune's time goes on by the clock, a second behind, in
  // silence, and still ends. When the device takes sound again, the tune goes on from where
  // its sound stopped.
  std::uint32_t OutputTick() override {
    if (!tune_) return Song().EndTick();
    engine_->WatchDevice();
    const std::uint64_t silent = engine_->watch.SilentMillisSince(tune_->startedAt);
    const std::uint64_t aheadMillis =
        silent > kSilentDeviceMillis ? silent - kSilentDeviceMillis : 0;
    DeviceLock lock(*engine_);
    return tune_->performance.Tick(aheadMillis * 1000);
  }

 private:
  void EndTune() {
    if (!tune_) return;
    std::erase(engine_->tunes, &*tune_);
    tune_.reset();
  }

  std::shared_ptr<AudioEngine> engine_;
  std::string path_;
  std::optional<PlayingTune> tune_;
  std::uint32_t endTick_ = 0;
};

// Keeps FluidSynth's own lines about a font that does not load off standard error while it
// lives: the game says in one line which font it cannot use. Fonts load before the audio
// callback first runs or while it is held, so nothing else of FluidSynth's runs meanwhile.
class QuietFluidSynth {
 public:
  QuietFluidSynth() {
    for (int level : kLevels) previous_[level] = fluid_set_log_function(level, nullptr, nullptr);
  }
  ~QuietFluidSynth() {
    for (int level : kLevels) fluid_set_log_function(level, previous_[level], nullptr);
  }
  QuietFluidSynth(const QuietFluidSynth&) = delete;
  QuietFluidSynth& operator=(const QuietFluidSynth&) = delete;

 private:
  static constexpr int kLevels[] = {FLUID_PANIC, FLUID_ERR, FLUID_WARN};
  fluid_log_function_t previous_[FLUID_WARN + 1] = {};
};

// Loads the SoundFont with the presets of `wanted` only (all of them when it cannot be cut
// down), in place of the one loaded before. False with the reason in `why` when it does not
// load.
bool LoadFont(AudioEngine& engine, const std::string& path, const std::set<int>& wanted,
              std::string& why) {
  // The old presets go first, so that the two sets are never in memory together; voices
  // still sounding keep what they play until they end.
  if (engine.fontId >= 0) {
    fluid_synth_sfunload(engine.synth, engine.fontId, 0);
    engine.fontId = -1;
    malloc_trim(0);  // give the freed presets back to the system
  }
  // Only a regular file whose lists we can read goes to the synthesizer: its own loaders
  // would wait on a FIFO, and the last of them speaks up about a file of another kind.
  int error = 0;
  if (!OpenRegularFile(path, O_RDONLY, error)) {
    why = UnusableFileReason(error);
    return false;
  }
  why = "not a SoundFont it can read";  // whatever fails from here on
  const FontServing serving = ServeSoundFontSubset(path, wanted);
  if (serving == FontServing::kNoSoundFont) return false;
  bool subset = serving == FontServing::kSubset;
  QuietFluidSynth quiet;
  int id = fluid_synth_sfload(engine.synth, path.c_str(), 1);
  if (id < 0 && subset) {  // a font our cutting does not suit: whole, then
    ServeWholeSoundFont(path);
    subset = false;
    id = fluid_synth_sfload(engine.synth, path.c_str(), 1);
  }
  if (id < 0) return false;
  why.clear();
  engine.font = path;
  engine.fontId = id;
  engine.programs = wanted;
  engine.wholeFont = !subset;
  return true;
}

// Makes sure that the presets of every program the song selects are loaded.
void CoverPrograms(AudioEngine& engine, const MidiSong& song) {
  if (engine.wholeFont) return;
  std::set<int> wanted = engine.programs;
  for (const MidiEvent& event : song.Events())
    if ((event.status & 0xF0) == 0xC0) wanted.insert(event.data1);
  if (wanted == engine.programs) return;
  DeviceLock lock(engine);
  std::string why;
  if (!LoadFont(engine, engine.font, wanted, why))
    std::fprintf(stderr, "fumbo2: %s did not load again (%s); the music is silent\n",
                 engine.font.c_str(), why.c_str());
}

class SdlSoundSystem : public SoundSystem {
 public:
  explicit SdlSoundSystem(std::shared_ptr<AudioEngine> engine) : engine_(std::move(engine)) {}
  ~SdlSoundSystem() override { MciCloseAll(); }

  std::unique_ptr<SequencerDevice> OpenSequencer(const std::string& path, std::uint32_t* error,
                                                 std::string* why) override {
    auto song = LoadMidiSong(path, error, why);
    if (!song) return nullptr;
    if (engine_->synth == nullptr)
      return std::make_unique<VirtualSequencer>(std::move(*song), WallClock);
    CoverPrograms(*engine_, *song);
    return std::make_unique<FluidSequencer>(std::move(*song), engine_, path);
  }

  void WatchDevice() override { engine_->WatchDevice(); }

 protected:
  bool StartEffect(const std::string& path, EffectFailure& failure) override {
    auto samples = LoadEffect(path, failure);
    if (samples == nullptr) return false;
    DeviceLock lock(*engine_);
    engine_->effects.Start(std::move(samples));
    return true;
  }

 private:
  std::shared_ptr<const EffectSamples> LoadEffect(const std::string& path, EffectFailure& failure);

  std::shared_ptr<AudioEngine> engine_;
  std::map<std::string, std::shared_ptr<const EffectSamples>> cache_;
};

// Effects are short: a file, or its samples once converted, beyond this is a damaged one.
constexpr std::size_t kMaxEffectBytes = 8 << 20;  // about 24 s converted
constexpr int kMinEffectRate = 4000;
constexpr int kMaxEffectRate = 192000;

// Whether a loaded WAV converts in a buffer of sensible size (the buffer holds the converted
// samples): a damaged header can give a rate that would ask for gigabytes.
bool SensibleEffect(const SDL_AudioSpec& spec, Uint32 size, const SDL_AudioCVT& convert) {
  if (spec.freq < kMinEffectRate || spec.freq > kMaxEffectRate) return false;
  return std::uint64_t{size} * static_cast<std::uint64_t>(std::max(convert.len_mult, 1)) <=
         kMaxEffectBytes;
}

// Whether every chunk of a RIFF file lies within the file. SDL reserves the size that a chunk
// claims before it finds the bytes missing: a damaged size would take up to 4 GB.
bool ChunksFitTheFile(const std::vector<std::uint8_t>& file) {
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::uint64_t size =
        file[at + 4] | file[at + 5] << 8 | file[at + 6] << 16 | std::uint64_t{file[at + 7]} << 24;
    if (size > file.size() - at - 8) return false;
    at += 8 + size + (size & 1);  // a chunk of odd size is followed by a pad byte
  }
  return true;
}

// The WAV file converted to the device's format (stereo float), kept for the next time.
// Null, as for a missing file, with the reason in `failure` when it cannot be read or is out
// of range.
std::shared_ptr<const EffectSamples> SdlSoundSystem::LoadEffect(const std::string& path,
                                                                EffectFailure& failure) {
  if (auto found = cache_.find(path); found != cache_.end()) return found->second;
  std::vector<std::uint8_t> file;
  int error = 0;
  if (!ReadSmallFile(path, kMaxEffectBytes, file, error)) {  // never waits
    failure = EffectFailure::OfFile(error, kMaxEffectBytes);
    return nullptr;
  }
  failure.why = kNotAWave;  // whatever fails from here on
  if (!ChunksFitTheFile(file)) return nullptr;
  SDL_AudioSpec spec;
  Uint8* data = nullptr;
  Uint32 size = 0;
  if (SDL_LoadWAV_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1, &spec,
                     &data, &size) == nullptr)
    return nullptr;
  SDL_AudioCVT convert;
  std::shared_ptr<EffectSamples> samples;
  if (SDL_BuildAudioCVT(&convert, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, 2,
                        engine_->rate) >= 0 &&
      SensibleEffect(spec, size, convert)) {
    std::vector<Uint8> buffer(static_cast<std::size_t>(size) *
                              static_cast<std::size_t>(std::max(convert.len_mult, 1)));
    std::copy(data, data + size, buffer.begin());
    convert.buf = buffer.data();
    convert.len = static_cast<int>(size);
    if (SDL_ConvertAudio(&convert) == 0) {
      samples = std::make_shared<EffectSamples>(
          reinterpret_cast<const float*>(buffer.data()),
          reinterpret_cast<const float*>(buffer.data() + convert.len_cvt));
    }
  }
  SDL_FreeWAV(data);
  if (samples != nullptr) cache_[path] = samples;
  return samples;
}

// The synthesizer with the first of `soundFonts` that loads, or null with the reason in `why`
// (empty when each font there was told already).
bool StartSynth(AudioEngine& engine, const std::vector<std::string>& soundFonts, std::string& why) {
  setenv("OMP_NUM_THREADS", "1", 0);  // one worker thread is plenty for a tune
  engine.settings = new_fluid_settings();
  fluid_settings_setnum(engine.settings, "synth.sample-rate", engine.rate);
  fluid_settings_setnum(engine.settings, "synth.gain", kSynthGain);
  fluid_settings_setint(engine.settings, "synth.polyphony", kPolyphony);
  fluid_settings_setint(engine.settings, "synth.reverb.active", 0);
  fluid_settings_setint(engine.settings, "synth.chorus.active", 0);
  fluid_settings_setint(engine.settings, "synth.cpu-cores", 1);
  fluid_settings_setint(engine.settings, "synth.dynamic-sample-loading", 1);
  engine.synth = new_fluid_synth(engine.settings);
  if (engine.synth == nullptr) {
    why = "the synthesizer did not start";
    return false;
  }
  // The synthesizer loads a font through our loader, which keeps only the presets in use:
  // at first those a reset selects (program 0 of every bank: piano, standard drum kit).
  fluid_synth_add_sfloader(engine.synth, NewSoundFontSubsetLoader(engine.settings));
  bool told = false;
  for (const std::string& font : soundFonts) {
    std::error_code ec;
    if (!std::filesystem::exists(font, ec)) continue;  // not installed
    std::string fontWhy;
    if (LoadFont(engine, font, {0}, fontWhy)) return true;
    TellUnusableOnce("music with the SoundFont", font, fontWhy);
    told = true;
  }
  delete_fluid_synth(engine.synth);
  engine.synth = nullptr;
  if (!told) why = "no General MIDI SoundFont under /usr/share/sounds/sf2";
  return false;
}

// Starts audio and opens the device; null, said in one line, when there is none. The
// synthesizer is started afterwards on the game's thread, where its memory is kept.
std::shared_ptr<AudioEngine> OpenDevice() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "fumbo2: no audio (%s); music and sounds are silent\n", SDL_GetError());
    return nullptr;
  }
  auto engine = std::make_shared<AudioEngine>();
  SDL_AudioSpec want{}, have{};
  want.freq = kRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = kBufferFrames;
  want.callback = AudioEngine::Callback;
  want.userdata = engine.get();
  engine->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (engine->device == 0) {
    std::fprintf(stderr, "fumbo2: no audio device (%s); music and sounds are silent\n",
                 SDL_GetError());
    return nullptr;
  }
  return engine;
}

}  // namespace

// A driver that never finishes opening (the disk driver on a FIFO that nobody reads, a sound
// server that accepts and never answers) waits in its open for ever, where no signal breaks
// in: so the open has a thread of its own, and the game idles meanwhile and can still end.
std::unique_ptr<SoundSystem> CreateSdlSoundSystem(const std::vector<std::string>& soundFonts,
                                                  const std::function<void()>& whileOpening) {
  auto opened = RunOnItsOwnThread<std::shared_ptr<AudioEngine>>(OpenDevice);
  if (whileOpening)
    while (opened.wait_for(std::chrono::seconds(0)) != std::future_status::ready) whileOpening();
  std::shared_ptr<AudioEngine> engine = opened.get();
  if (engine == nullptr) return CreateVirtualSoundSystem(WallClock);
  std::string why;
  if (!StartSynth(*engine, soundFonts, why) && !why.empty())
    std::fprintf(stderr, "fumbo2: %s; the music is silent\n", why.c_str());
  SDL_PauseAudioDevice(engine->device, 0);
  return std::make_unique<SdlSoundSystem>(std::move(engine));
}
