// The MCI command-string interpreter behind mciSendStringA: open, close, play, stop, pause,
// resume, seek and status on sequencer devices named by their alias.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/sequencer_device.h"

class SoundSystem;

// MCI error numbers.
namespace mci {
constexpr std::uint32_t kUnrecognizedKeyword = 259;
constexpr std::uint32_t kUnrecognizedCommand = 261;
constexpr std::uint32_t kInvalidDeviceName = 263;
constexpr std::uint32_t kDeviceOpen = 265;
constexpr std::uint32_t kMissingCommandString = 267;
constexpr std::uint32_t kParamOverflow = 268;
constexpr std::uint32_t kMissingStringArgument = 269;
constexpr std::uint32_t kBadInteger = 270;
constexpr std::uint32_t kMissingParameter = 273;
constexpr std::uint32_t kFileNotFound = 275;
constexpr std::uint32_t kOutOfRange = 282;
constexpr std::uint32_t kDuplicateAlias = 289;
constexpr std::uint32_t kMissingDeviceName = 292;
constexpr std::uint32_t kNoClosingQuote = 294;
constexpr std::uint32_t kInvalidFile = 296;
}  // namespace mci

class MciInterpreter {
 public:
  // Runs one command. `replyCapacity` counts the terminating NUL (0: the reply is dropped).
  // The reply is set only on success; a reply that does not fit fails with 268, and an open
  // whose reply does not fit is undone.
  std::uint32_t Execute(std::string_view command, std::size_t replyCapacity, std::string& reply,
                        SoundSystem& sound);
  // Closes every device (the sound system that made them is going away).
  void CloseAll();

 private:
  struct Word {
    std::string text;
    bool quoted = false;
  };
  struct Device {
    int id = 0;
    std::unique_ptr<SequencerDevice> sequencer;
  };

  static std::uint32_t Split(std::string_view command, std::vector<Word>& words);
  std::uint32_t Open(std::vector<Word> words, std::size_t replyCapacity, std::string& reply,
                     SoundSystem& sound);
  std::uint32_t OnDevice(const std::string& verb, const std::string& name, std::vector<Word> words,
                         std::string& reply);
  std::uint32_t PlayCommand(SequencerDevice& device, const std::vector<Word>& words, bool wait);
  std::uint32_t SeekCommand(SequencerDevice& device, const std::vector<Word>& words);
  std::uint32_t StatusCommand(SequencerDevice& device, const std::vector<Word>& words,
                              std::string& reply);
  int FreeDeviceId() const;

  std::map<std::string, Device> devices_;  // by lower-case name
};

// The interpreter of the program (one per process).
MciInterpreter& TheMciInterpreter();
// Closes every open MCI device; a sound system calls it when it is destroyed.
void MciCloseAll();
