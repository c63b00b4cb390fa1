#include <fcntl.h>

#include <cstdint>
#include <vector>

#include "platform/audio/mci_interpreter.h"
#include "platform/audio/sound_system.h"
#include "platform/audio/virtual_sequencer.h"
#include "platform/file_access.h"

void VirtualSequencer::StartOutput(std::uint32_t fromTick) {
  startClock_ = clock_();
  startMicros_ = Song().MicrosAt(fromTick);
}

std::uint32_t VirtualSequencer::OutputTick() {
  const std::uint32_t elapsed = clock_() - startClock_;
  return Song().TickAt(startMicros_ + std::uint64_t{elapsed} * 1000);
}

namespace {

class VirtualSoundSystem : public SoundSystem {
 public:
  explicit VirtualSoundSystem(std::function<std::uint32_t()> clock) : clock_(std::move(clock)) {}
  ~VirtualSoundSystem() override { MciCloseAll(); }

  std::unique_ptr<SequencerDevice> OpenSequencer(const std::string& path, std::uint32_t* error,
                                                 std::string* why) override {
    auto song = LoadMidiSong(path, error, why);
    if (!song) return nullptr;
    return std::make_unique<VirtualSequencer>(std::move(*song), clock_);
  }

 protected:
  // Nothing is heard; the answer is whether a real system could play the file.
  bool StartEffect(const std::string& path, EffectFailure& failure) override {
    int error = 0;
    FileHandle file = OpenRegularFile(path, O_RDONLY, error);
    std::vector<std::uint8_t> header;
    if (!file || !ReadFromStart(file.Get(), 12, header, error)) {
      failure = EffectFailure::OfFile(error);
      return false;
    }
    const std::string text(header.begin(), header.end());
    if (text.size() == 12 && text.compare(0, 4, "RIFF") == 0 && text.compare(8, 4, "WAVE") == 0)
      return true;
    failure.why = kNotAWave;
    return false;
  }

 private:
  std::function<std::uint32_t()> clock_;
};

}  // namespace

std::unique_ptr<SoundSystem> CreateVirtualSoundSystem(std::function<std::uint32_t()> clock) {
  return std::make_unique<VirtualSoundSystem>(std::move(clock));
}
