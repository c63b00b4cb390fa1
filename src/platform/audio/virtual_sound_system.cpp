#include <fstream>

#include "platform/audio/mci_interpreter.h"
#include "platform/audio/sound_system.h"
#include "platform/audio/virtual_sequencer.h"

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

  // Nothing is heard; the answer is whether a real system could play the file.
  bool PlayEffect(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    char header[12] = {};
    return in.read(header, sizeof header) && std::string(header, 4) == "RIFF" &&
           std::string(header + 8, 4) == "WAVE";
  }

  std::unique_ptr<SequencerDevice> OpenSequencer(const std::string& path,
                                                 std::uint32_t* error) override {
    auto song = LoadMidiSong(path, error);
    if (!song) return nullptr;
    return std::make_unique<VirtualSequencer>(std::move(*song), clock_);
  }

 private:
  std::function<std::uint32_t()> clock_;
};

}  // namespace

std::unique_ptr<SoundSystem> CreateVirtualSoundSystem(std::function<std::uint32_t()> clock) {
  return std::make_unique<VirtualSoundSystem>(std::move(clock));
}
