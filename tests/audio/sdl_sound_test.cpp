// The real sound system on SDL's disk audio driver: what it writes is what would be heard.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "audio/smf_builder.h"
#include "audio/test_backend.h"
#include "platform/audio/sequencer_device.h"
#include "platform/audio/silent_device_watch.h"
#include "platform/audio/sound_system.h"
#include "platform/system.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;

// One note from tick 0 (a quarter note at 120 is 500 ms), then silence to 1000 ms.
Bytes OneNoteSong(int noteTicks) {
  TrackBody body;
  body.Event(0, {0xC0, 0})
      .Event(0, {0x90, 67, 110})
      .Event(static_cast<std::uint32_t>(noteTicks), {0x80, 67, 0})
      .End(static_cast<std::uint32_t>(192 - noteTicks));
  return SmfFile(0, 96, {body.bytes()});
}

Bytes SineWav(int millis) {
  const std::uint32_t frames = kRate * static_cast<std::uint32_t>(millis) / 1000;
  Bytes wav;
  auto put = [&wav](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
  put(36 + frames * 2, 4);
  wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put(16, 4), put(1, 2), put(1, 2), put(kRate, 4), put(kRate * 2, 4), put(2, 2), put(16, 2);
  wav.insert(wav.end(), {'d', 'a', 't', 'a'});
  put(frames * 2, 4);
  for (std::uint32_t i = 0; i < frames; ++i)
    put(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 0.0627))), 2);
  return wav;
}

class SdlSoundTest : public ::testing::Test {
 protected:
  SdlSoundTest() : folder_("fumbo-sdl-audio") {
    output_ = folder_.Path() + "/out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    sound_ = CreateSdlSoundSystem();
  }
  ~SdlSoundTest() override { sound_.reset(); }

  std::unique_ptr<SequencerDevice> Open(const Bytes& song) {
    std::uint32_t error = 0;
    auto device = sound_->OpenSequencer(folder_.Write("t.mid", song), &error, nullptr);
    EXPECT_EQ(error, 0u);
    return device;
  }
  // Frames written so far.
  std::size_t FramesWritten() const {
    std::error_code ec;
    return static_cast<std::size_t>(std::filesystem::file_size(output_, ec)) / 8;
  }
  // The left channel of what was written.
  std::vector<float> Left() const {
    std::ifstream in(output_, std::ios::binary);
    std::vector<float> samples;
    float pair[2];
    while (in.read(reinterpret_cast<char*>(pair), sizeof pair)) samples.push_back(pair[0]);
    return samples;
  }
  // Root mean square of the left channel over frames [from, to).
  double Level(std::size_t from, std::size_t to) const {
    const std::vector<float> samples = Left();
    to = std::min(to, samples.size());
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += samples[i] * samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
  }
  // Plays and waits for the natural end; the milliseconds it took.
  long PlayToEnd(SequencerDevice& device) {
    const auto start = Clock::now();
    device.Play(std::nullopt, std::nullopt);
    while (device.Mode() == SequencerMode::Playing &&
           Clock::now() - start < std::chrono::seconds(5))
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  }

  TempFolder folder_;
  std::string output_;
  std::unique_ptr<SoundSystem> sound_;
};

TEST_F(SdlSoundTest, ATuneSoundsAndStopsWhenItsTimeIsOver) {
  auto device = Open(OneNoteSong(96));
  ASSERT_TRUE(device);
  const std::size_t before = FramesWritten();
  const long took = PlayToEnd(*device);
  // The disk driver runs a little fast; the end is found by time, not when the last voice
  // has died (seconds later).
  EXPECT_GE(took, 900);
  EXPECT_LE(took, 1150);
  EXPECT_EQ(device->Position(), device->Length());
  EXPECT_GT(Level(before, before + kRate / 2), 0.01);  // the note
}

// Files a reader must take, though the synthesizer's own file player would not: a chunk of
// an unknown kind between the tracks, SMPTE timing, a meta event of an odd length, system
// exclusive in its F7 forms. Each sounds for its half second and ends.
TEST_F(SdlSoundTest, EveryFileTheReaderTakesSoundsAndEnds) {
  auto halfSecondNote = [](TrackBody body, std::uint32_t ticks) {
    return body.Event(0, {0xC0, 0}).Event(0, {0x90, 67, 110}).Event(ticks, {0x80, 67, 0}).End(0);
  };
  Bytes unknownChunk = SmfFile(1, 96, {TrackBody().Tempo(0, 500000).End(0).bytes()});
  AppendChunk(unknownChunk, "XFIH", {1, 2, 3});
  AppendChunk(unknownChunk, "MTrk", halfSecondNote(TrackBody(), 96).bytes());
  unknownChunk[11] = 2;  // two tracks
  const std::pair<const char*, Bytes> files[] = {
      {"an unknown chunk", unknownChunk},
      {"SMPTE timing", SmfFile(0, 0xE728, {halfSecondNote(TrackBody(), 500).bytes()})},
      {"a key signature of 4 bytes",
       SmfFile(0, 96,
               {halfSecondNote(TrackBody().Event(0, {0xFF, 0x59, 4, 0, 0, 0, 0}), 96).bytes()})},
      {"system exclusive as F7 packets",
       SmfFile(0, 96,
               {halfSecondNote(TrackBody()
                                   .Event(0, {0xF7, 6, 0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
                                   .Event(0, {0xF0, 2, 0x7E, 0x7F})
                                   .Event(0, {0xF7, 3, 0x09, 0x01, 0xF7}),
                               96)
                    .bytes()})},
  };
  for (const auto& [what, file] : files) {
    auto device = Open(file);
    ASSERT_TRUE(device) << what;
    const std::size_t before = FramesWritten();
    const long took = PlayToEnd(*device);
    EXPECT_GE(took, 400) << what;
    EXPECT_LE(took, 700) << what;
    EXPECT_EQ(device->Position(), device->Length()) << what;
    EXPECT_GT(Level(before, before + kRate * 3 / 10), 0.01) << what;
  }
}

// A tune starts with a device buffer (512 frames), and each event sounds from the first block
// of the synthesizer (64 frames) at or after its own frame, wherever that falls in the buffer.
TEST_F(SdlSoundTest, ANoteSoundsWithinASynthesizerBlockOfItsFrame) {
  TrackBody body;  // ticks of 10 ms: the note at frame 4410, 314 frames into a buffer
  body.Event(10, {0x90, 72, 110}).Event(10, {0x80, 72, 0}).End(0);
  auto device = Open(SmfFile(0, 50, {body.bytes()}));
  ASSERT_TRUE(device);
  PlayToEnd(*device);
  const std::vector<float> left = Left();  // silence up to the note
  const auto onset = std::find_if(left.begin(), left.end(), [](float s) { return s != 0; });
  ASSERT_NE(onset, left.end());
  // The piano's C sounds from the second sample of its voice.
  const auto place = (onset - left.begin()) % 512;
  EXPECT_GE(place, 4410 % 512);
  EXPECT_LT(place, 4410 % 512 + 64);
}

// A General MIDI System On resets the synthesizer: the channel turned down before it sounds.
TEST_F(SdlSoundTest, ASystemExclusiveMessageReachesTheSynthesizer) {
  TrackBody body;
  body.Event(0, {0xB0, 7, 0}).Event(0, {0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
  body.Event(0, {0x90, 72, 110}).Event(48, {0x80, 72, 0}).End(0);
  auto device = Open(SmfFile(0, 96, {body.bytes()}));
  ASSERT_TRUE(device);
  const std::size_t before = FramesWritten();
  PlayToEnd(*device);
  EXPECT_GT(Level(before, FramesWritten()), 0.01);
}

// A bend to the centre, 0x2000 (bytes 0x00 0x40), leaves the note in tune; without its high
// byte it would bend a whole tone down. The ocarina's A, nearly a pure tone, rises through
// zero 440 times a second (392 a whole tone down).
TEST_F(SdlSoundTest, ACentredPitchBendLeavesTheNoteInTune) {
  TrackBody body;
  body.Event(0, {0xC0, 79}).Event(0, {0xE0, 0x00, 0x40}).Event(0, {0x90, 69, 110});
  auto device = Open(SmfFile(0, 96, {body.Event(96, {0x80, 69, 0}).End(0).bytes()}));
  ASSERT_TRUE(device);
  const std::size_t from = FramesWritten() + kRate / 10, to = from + kRate * 3 / 10;
  PlayToEnd(*device);
  const std::vector<float> left = Left();
  ASSERT_GE(left.size(), to);
  int rises = 0;
  for (std::size_t i = from; i < to; ++i) rises += left[i - 1] < 0 && left[i] >= 0;
  EXPECT_NEAR(rises, 440 * 3 / 10, 6);
}

// Each start resets the synthesizer: the channel that the tune turns down near its end is up
// again for the first note.
TEST_F(SdlSoundTest, EveryRewindPlaysTheFirstNoteAgain) {
  TrackBody body;  // 125 ms at tick 0, then silence; the channel turned down at 500 ms
  body.Event(0, {0x90, 67, 110}).Event(24, {0x80, 67, 0}).Event(72, {0xB0, 7, 0}).End(96);
  auto device = Open(SmfFile(0, 96, {body.bytes()}));
  ASSERT_TRUE(device);
  for (int round = 0; round < 2; ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the last note die
    const std::size_t before = FramesWritten();
    device->Seek(0);
    PlayToEnd(*device);
    EXPECT_GT(Level(before, before + kRate / 3), 0.01) << "round " << round;
  }
}

TEST_F(SdlSoundTest, StopSilencesAtOnceAndPlayingFromAPositionWorks) {
  auto device = Open(OneNoteSong(192));  // one note over the whole second
  ASSERT_TRUE(device);
  device->Play(std::nullopt, std::nullopt);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  device->Stop();
  const std::size_t stopped = FramesWritten();
  EXPECT_NEAR(device->Position(), 3u, 1u);  // 400 ms of 8 sixteenths at 120
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_GT(Level(stopped - kRate / 10, stopped), 0.01);
  // Within two device buffers of the stop the note is gone, with no slow release.
  EXPECT_LT(Level(stopped + 1200, stopped + kRate / 4), 0.001);
  const auto start = Clock::now();
  device->Play(4, std::nullopt);  // the second half
  while (device->Mode() == SequencerMode::Playing)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_NEAR(std::chrono::duration<double>(Clock::now() - start).count(), 0.5, 0.1);
}

// A start past the beginning takes the controllers before it: a channel turned down at 0
// stays silent when the tune starts at its note.
TEST_F(SdlSoundTest, AStartPastTheBeginningTakesTheControllersBeforeIt) {
  TrackBody body;
  body.Event(0, {0xB0, 7, 0}).Event(0, {0xC0, 0}).Event(96, {0x90, 67, 110});
  auto device = Open(SmfFile(0, 96, {body.Event(96, {0x80, 67, 0}).End(0).bytes()}));
  ASSERT_TRUE(device);
  const std::size_t before = FramesWritten();
  device->Play(4, std::nullopt);
  while (device->Mode() == SequencerMode::Playing)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_LT(Level(before, FramesWritten()), 0.001);
}

// A start past the beginning sends no note from before it: one held over the start is not
// heard.
TEST_F(SdlSoundTest, AStartPastTheBeginningSendsNoNoteFromBeforeIt) {
  TrackBody body;
  body.Event(0, {0x90, 72, 110}).Event(192, {0x80, 72, 0}).End(0);
  auto device = Open(SmfFile(0, 96, {body.bytes()}));
  ASSERT_TRUE(device);
  const std::size_t before = FramesWritten();
  device->Seek(4);
  PlayToEnd(*device);
  EXPECT_LT(Level(before, FramesWritten()), 0.001);
}

TEST_F(SdlSoundTest, AnEffectSoundsAndANewOneCutsIt) {
  const std::string wav = folder_.Write("Fall.wav", SineWav(400));
  EXPECT_FALSE(sound_->PlayEffect(folder_.Path() + "/none.wav"));
  const std::size_t before = FramesWritten();
  ASSERT_TRUE(sound_->PlayEffect(wav));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_TRUE(sound_->PlayEffect(wav));
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const double level = Level(before, before + kRate / 2);
  EXPECT_GT(level, 0.1);
  EXPECT_LT(level, 0.3);  // one effect at a time: 8000/32768 sine has rms 0.17
  EXPECT_LT(Level(FramesWritten() - kRate / 10, FramesWritten()), 0.001);
}

// A header that says 1 Hz would need gigabytes once converted, a data size past the end of
// the file would have gigabytes reserved for it; a FIFO would never end. All are refused at
// once, as a missing file is.
TEST_F(SdlSoundTest, ADamagedOrNonRegularSoundIsRefused) {
  Bytes wav = SineWav(100);
  wav[24] = 1, wav[25] = wav[26] = wav[27] = 0;
  EXPECT_FALSE(sound_->PlayEffect(folder_.Write("Fall.wav", wav)));
  wav = SineWav(100);
  wav[40] = 0xF0, wav[41] = wav[42] = wav[43] = 0xFF;
  EXPECT_FALSE(sound_->PlayEffect(folder_.Write("Del.wav", wav)));
  const std::string fifo = folder_.Path() + "/Turn.wav";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_FALSE(sound_->PlayEffect(fifo));
}

TEST_F(SdlSoundTest, TheGameTuneAndAGameSoundAreHeardWithoutClipping) {
  const std::string assets = std::string(FUMBO_SOURCE_DIR) + "/assets";
  std::uint32_t error = 0;
  auto device = sound_->OpenSequencer(assets + "/music/Game.mid", &error, nullptr);
  ASSERT_TRUE(device);
  const std::size_t before = FramesWritten();
  device->Play(std::nullopt, std::nullopt);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  ASSERT_TRUE(sound_->PlayEffect(assets + "/sounds/Super2.wav"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  device->Stop();
  const std::size_t after = FramesWritten();
  EXPECT_GT(Level(before + kRate / 10, before + kRate), 0.01);  // the tune alone
  EXPECT_GT(Level(before + kRate * 3 / 2, after), Level(before, before + kRate * 3 / 2));
  std::ifstream in(output_, std::ios::binary);
  float sample = 0, peak = 0;
  while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
    peak = std::max(peak, std::abs(sample));
  EXPECT_LT(peak, 1.0f);
}

TEST_F(SdlSoundTest, APlayToAPositionStartsNoNoteFromThere) {
  TrackBody body;
  body.Event(0, {0xC0, 0}).Event(0, {0x90, 60, 110}).Event(48, {0x80, 60, 0});
  body.Event(48, {0x90, 72, 110}).Event(96, {0x80, 72, 0}).End(0);
  auto device = Open(SmfFile(0, 96, {body.bytes()}));  // a note at 0 and one at 500 ms
  ASSERT_TRUE(device);
  const std::size_t before = FramesWritten();
  device->Play(0, 4);
  std::this_thread::sleep_for(std::chrono::milliseconds(900));  // no query meanwhile
  EXPECT_GT(Level(before, before + kRate / 4), 0.01);
  EXPECT_LT(Level(before + kRate * 6 / 10, before + kRate * 8 / 10), 0.001);
  EXPECT_EQ(device->Mode(), SequencerMode::Stopped);
  EXPECT_EQ(device->Position(), 4u);
}

// The game's commands through the interpreter on the real device.
TEST_F(SdlSoundTest, TheGamesCommandsDriveTheRealSequencer) {
  TestBackend backend(std::move(sound_));
  const std::string song = folder_.Write("Song.mid", OneNoteSong(96));
  char reply[16];
  auto send = [&](const std::string& command) {
    std::memset(reply, 'x', sizeof reply);
    return mciSendStringA(command.c_str(), reply, 15, nullptr);
  };
  auto status = [&](const char* item) {
    EXPECT_EQ(send(std::string("status midifile ") + item), 0u);
    return std::string(reply);
  };
  auto wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  ASSERT_EQ(send("open " + song + " type sequencer alias midifile"), 0u);
  EXPECT_STREQ(reply, "1");
  EXPECT_EQ(status("length"), "8");
  EXPECT_EQ(send("play midifile"), 0u);
  EXPECT_STREQ(reply, "");
  EXPECT_EQ(status("mode"), "playing");
  wait(300);
  EXPECT_EQ(send("pause midifile "), 0u);
  EXPECT_EQ(status("mode"), "paused");
  const std::string paused = status("position");
  EXPECT_NE(paused, "0");
  wait(200);
  EXPECT_EQ(status("position"), paused);
  EXPECT_EQ(send("resume midifile "), 0u);
  EXPECT_EQ(status("mode"), "playing");
  EXPECT_EQ(send("stop midifile "), 0u);
  EXPECT_EQ(status("mode"), "stopped");
  EXPECT_EQ(send("seek midifile to START"), 0u);
  EXPECT_EQ(status("position"), "0");
  EXPECT_EQ(send("play midifile from 0"), 0u);
  wait(1100);
  EXPECT_EQ(status("mode"), "stopped");
  EXPECT_EQ(status("position"), "8");
  EXPECT_EQ(send("close midifile"), 0u);
  EXPECT_EQ(send("status midifile mode"), 263u);
}

}  // namespace

namespace {

TEST(SdlSoundWithoutDevice, SaysSoOnceAndStillKeepsTime) {
  TempFolder folder("fumbo-no-audio");
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  auto sound = CreateSdlSoundSystem();
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(sound);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("silent"), std::string::npos);
  std::uint32_t error = 0;
  auto device = sound->OpenSequencer(folder.Write("t.mid", OneNoteSong(96)), &error, nullptr);
  ASSERT_TRUE(device);
  device->Play(std::nullopt, std::nullopt);
  EXPECT_EQ(device->Mode(), SequencerMode::Playing);
  std::this_thread::sleep_for(std::chrono::milliseconds(1050));
  EXPECT_EQ(device->Mode(), SequencerMode::Stopped);
}

// The game's running time as the watch counts it, in frames of 49 ms on a millisecond clock
// that wraps 300 ms in.
TEST(SilentDeviceWatch, CountsTheDevicesSilenceByTheGamesRunningTime) {
  std::uint32_t now = 0xFFFFFFFFu - 300;
  SilentDeviceWatch watch(7, now);
  std::uint64_t callbacks = 7;
  for (int frame = 0; frame < 4; ++frame) watch.Look(++callbacks, now += 49);
  const std::uint64_t tuneStart = watch.RunningMillis();
  watch.Look(callbacks, now += 30);
  EXPECT_EQ(watch.SilentMillisSince(tuneStart), 30u);  // from the tune's start, not before
  // The device stops: frames alone, with no look at a tune, find a second of silence.
  int frames = 1;
  while (watch.SilentMillisSince(tuneStart) <= 1000) watch.Look(callbacks, now += 49), ++frames;
  EXPECT_EQ(frames, 21);
  // A stop of the whole process for a minute counts as the longest gap only.
  const std::uint64_t before = watch.SilentMillisSince(0);
  watch.Look(callbacks, now += 60000);
  EXPECT_EQ(watch.SilentMillisSince(0), before + SilentDeviceWatch::kLongestLookGapMillis);
  // Its callback runs again: the silence is over.
  watch.Look(++callbacks, now += 5);
  EXPECT_EQ(watch.SilentMillisSince(0), 0u);
}

// Standard error into a file while it lives. Only standard error is flushed: flushing every
// stream, as GoogleTest's capture does, would wait for the disk driver's stream, which a
// device stuck in its write holds locked.
class StderrToFile {
 public:
  explicit StderrToFile(std::string path) : path_(std::move(path)), saved_(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    const int file = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(file, STDERR_FILENO);
    close(file);
  }
  ~StderrToFile() {
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  std::string Said() const {
    std::ifstream in(path_);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  std::string path_;
  int saved_;
};

// A device that stops taking sound no longer runs its callback. The game's frames find that
// within a second of its running time, with no look at the tunes: each tune that plays says
// so once, goes on by the clock a second behind, in silence, and ends. Here the device writes
// into a FIFO that nobody reads: once the FIFO is full, the device's thread waits in write().
TEST(SdlSoundOnAStalledDevice, EachTuneSaysSoOnceAndStillEnds) {
  TempFolder folder("fumbo-stalled-audio");
  const std::string fifo = folder.Path() + "/out.raw";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", fifo.c_str(), 1);
  auto sound = CreateSdlSoundSystem();
  StderrToFile said(folder.Path() + "/stderr.txt");
  const char* names[] = {"t.mid", "u.mid"};
  std::unique_ptr<SequencerDevice> tunes[2];
  std::string lines;
  for (int i = 0; i < 2; ++i) {
    const std::string path = folder.Write(names[i], OneNoteSong(96));
    std::uint32_t error = 0;
    tunes[i] = sound->OpenSequencer(path, &error, nullptr);
    lines +=
        "fumbo2: the audio device stopped taking sound; the tune " + path + " goes on in silence\n";
  }
  ASSERT_TRUE(tunes[0] && tunes[1]);
  auto start = Clock::now();
  auto since = [&start] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  auto frame = [&sound] {
    sound->WatchDevice();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  };
  auto ended = [&tunes] {
    return std::all_of(std::begin(tunes), std::end(tunes), [](auto& tune) {
      return tune == nullptr || tune->Mode() == SequencerMode::Stopped;
    });
  };
  for (auto& tune : tunes) tune->Play(std::nullopt, std::nullopt);
  while (since() < 1.7) frame();
  EXPECT_EQ(said.Said(), lines);  // found by the frames alone
  while (!ended() && since() < 4) frame();
  EXPECT_NEAR(since(), 2.0, 0.3);  // the tune's second, and the second it lags
  EXPECT_EQ(tunes[0]->Position(), tunes[0]->Length());
  tunes[1].reset();
  tunes[0]->Play(0, std::nullopt);  // the same tune again says nothing more
  start = Clock::now();
  while (!ended() && since() < 4) frame();
  EXPECT_TRUE(ended());
  // The FIFO is read again, so that the device closes.
  fcntl(reader, F_SETFL, 0);
  std::thread drain([reader] {
    char bytes[4096];
    while (read(reader, bytes, sizeof bytes) > 0) continue;
  });
  EXPECT_EQ(said.Said(), lines);
  tunes[0].reset();
  sound.reset();
  drain.join();
  close(reader);
}

// Where the tune stands in a game that a shell's Ctrl+Z or a debugger stops for 1.5 s, half a
// second into a tune of two: in milliseconds of the tune, as the player reports it and as the
// frames written say, right after the stop and at the end.
struct TuneAcrossAStop {
  double positionAfter, heardAfter, positionAtEnd, heardAtEnd;
};

// The game's side, in a process of its own that stops itself; `report` gets what it saw.
[[noreturn]] void PlayAcrossAStop(const TempFolder& folder, int report) {
  // A process group of its own, which its parent keeps from being orphaned: stopped in an
  // orphaned group, it would be sent SIGHUP.
  setpgid(0, 0);
  const std::string output = folder.Path() + "/out.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  const int said = open((folder.Path() + "/stderr.txt").c_str(), O_WRONLY | O_CREAT, 0644);
  dup2(said, STDERR_FILENO);
  auto sound = CreateSdlSoundSystem();
  TrackBody body;  // 25 frames of 40 ticks a second: a tick, and a position unit, is 1 ms
  body.Event(0, {0xC0, 0}).Event(0, {0x90, 67, 110}).Event(2000, {0x80, 67, 0}).End(0);
  std::uint32_t error = 0;
  auto device = sound->OpenSequencer(folder.Write("t.mid", SmfFile(0, 0xE728, {body.bytes()})),
                                     &error, nullptr);
  auto heard = [&, before = std::filesystem::file_size(output)] {
    return static_cast<double>(std::filesystem::file_size(output) - before) / 8 / kRate * 1000;
  };
  device->Play(std::nullopt, std::nullopt);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  raise(SIGSTOP);
  TuneAcrossAStop seen{};
  seen.positionAfter = device->Position();
  seen.heardAfter = heard();
  while (device->Mode() == SequencerMode::Playing)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  seen.positionAtEnd = device->Position();
  seen.heardAtEnd = heard();
  _exit(write(report, &seen, sizeof seen) == sizeof seen ? 0 : 1);
}

TEST(SdlSoundInAStoppedGame, TheTuneGoesOnFromWhereItsSoundStopped) {
  TempFolder folder("fumbo-stopped-game");
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t game = fork();
  if (game == 0) PlayAcrossAStop(folder, report[1]);
  close(report[1]);
  int status = 0;
  ASSERT_EQ(waitpid(game, &status, WUNTRACED), game);
  ASSERT_TRUE(WIFSTOPPED(status));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  kill(game, SIGCONT);
  TuneAcrossAStop seen{};
  const bool reported = read(report[0], &seen, sizeof seen) == sizeof seen;
  close(report[0]);
  ASSERT_EQ(waitpid(game, &status, 0), game);
  std::ifstream said(folder.Path() + "/stderr.txt");
  const std::string lines(std::istreambuf_iterator<char>(said), {});
  ASSERT_TRUE(reported) << "status " << status << "\n" << lines;
  EXPECT_NEAR(seen.positionAfter, seen.heardAfter, 40);  // a buffer or two in flight
  EXPECT_EQ(seen.positionAtEnd, 2000);
  EXPECT_NEAR(seen.heardAtEnd, 2000, 40);
  EXPECT_EQ(lines.find("fumbo2:"), std::string::npos) << lines;
}

// A FIFO where the SoundFont belongs, and a file that is no SoundFont: the sound system starts
// at once, says one line for each (nothing of the synthesizer's own), and tunes still open.
TEST(SdlSoundWithoutSoundFont, SaysWhyOnceForEachFontAndTunesStillOpen) {
  TempFolder folder("fumbo-no-font");
  const std::string fifo = folder.Path() + "/GM.sf2";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::string text = folder.Write("Text.sf2", {'t', 'e', 'x', 't'});
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  testing::internal::CaptureStderr();
  auto sound = CreateSdlSoundSystem({fifo, text});
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "fumbo2: cannot play the music with the SoundFont " + fifo +
                ": not a regular file\nfumbo2: cannot play the music with the SoundFont " + text +
                ": not a SoundFont it can read\n");
  std::uint32_t error = 0;
  EXPECT_TRUE(sound->OpenSequencer(folder.Write("t.mid", OneNoteSong(96)), &error, nullptr));
}

}  // namespace
