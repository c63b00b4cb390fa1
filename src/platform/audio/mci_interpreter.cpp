#include "platform/audio/mci_interpreter.h"

#include <algorithm>
#include <cctype>

#include "platform/audio/short_path.h"
#include "platform/audio/sound_system.h"
#include "platform/file_access.h"
#include "platform/system.h"

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool EndsWithMidiExtension(const std::string& path) {
  const std::string lower = Lower(path);
  for (const char* ext : {".mid", ".midi", ".rmi"}) {
    const std::size_t n = std::char_traits<char>::length(ext);
    if (lower.size() > n && lower.compare(lower.size() - n, n, ext) == 0) return true;
  }
  return false;
}

// Unsigned decimal that fits 32 bits.
bool ParseNumber(const std::string& text, std::uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (number > UINT32_MAX) return false;
  value = static_cast<std::uint32_t>(number);
  return true;
}

const char* ModeText(SequencerMode mode) {
  switch (mode) {
    case SequencerMode::NotReady:
      return "not ready";
    case SequencerMode::Stopped:
      return "stopped";
    case SequencerMode::Playing:
      return "playing";
    case SequencerMode::Paused:
      return "paused";
  }
  return "not ready";
}

}  // namespace

std::uint32_t MciInterpreter::Split(std::string_view command, std::vector<Word>& words) {
  std::size_t at = 0;
  while (at < command.size()) {
    if (command[at] == ' ' || command[at] == '\t') {
      ++at;
      continue;
    }
    Word word;
    // A quote may open anywhere in a word; blanks inside quotes belong to the word.
    while (at < command.size() && command[at] != ' ' && command[at] != '\t') {
      if (command[at] != '"') {
        word.text += command[at++];
        continue;
      }
      const std::size_t close = command.find('"', at + 1);
      if (close == std::string_view::npos) return mci::kNoClosingQuote;
      word.text.append(command.substr(at + 1, close - at - 1));
      word.quoted = true;
      at = close + 1;
    }
    words.push_back(std::move(word));
  }
  return 0;
}

std::uint32_t MciInterpreter::Execute(std::string_view command, std::size_t replyCapacity,
                                      std::string& reply, SoundSystem& sound) {
  reply.clear();
  std::vector<Word> words;
  if (std::uint32_t error = Split(command, words)) return error;
  if (words.empty()) return mci::kMissingCommandString;
  const std::string verb = Lower(words[0].text);
  static const char* const kVerbs[] = {"open",  "close",  "play", "stop",
                                       "pause", "resume", "seek", "status"};
  if (std::none_of(std::begin(kVerbs), std::end(kVerbs), [&](const char* v) { return verb == v; }))
    return mci::kUnrecognizedCommand;
  if (words.size() < 2) return mci::kMissingDeviceName;
  if (verb == "open") return Open(std::move(words), replyCapacity, reply, sound);

  const std::string name = Lower(words[1].text);
  words.erase(words.begin(), words.begin() + 2);
  std::uint32_t result = OnDevice(verb, name, std::move(words), reply);
  if (result == 0 && !reply.empty()) {
    if (replyCapacity == 0) {
      reply.clear();
    } else if (reply.size() + 1 > replyCapacity) {
      reply.clear();
      result = mci::kParamOverflow;
    }
  }
  return result;
}

std::uint32_t MciInterpreter::Open(std::vector<Word> words, std::size_t replyCapacity,
                                   std::string& reply, SoundSystem& sound) {
  auto isKeyword = [](const Word& w, const char* keyword) {
    return !w.quoted && Lower(w.text) == keyword;
  };
  // "open  type sequencer ...": the element is empty.
  std::size_t at = 1;
  std::string element;
  if (!isKeyword(words[1], "type") && !isKeyword(words[1], "alias")) element = words[at++].text;
  std::string type, alias;
  for (; at < words.size(); ++at) {
    if (isKeyword(words[at], "wait") || isKeyword(words[at], "notify") ||
        isKeyword(words[at], "shareable"))
      continue;
    std::string* value = isKeyword(words[at], "type")    ? &type
                         : isKeyword(words[at], "alias") ? &alias
                                                         : nullptr;
    if (value == nullptr) return mci::kUnrecognizedKeyword;
    if (++at >= words.size()) return mci::kMissingStringArgument;
    *value = words[at].text;
  }
  if (type.empty() ? !EndsWithMidiExtension(element) && !element.empty()
                   : Lower(type) != "sequencer")
    return mci::kInvalidDeviceName;
  const std::string name = Lower(alias.empty() ? element : alias);
  if (!name.empty() && devices_.count(name) != 0)
    return alias.empty() ? mci::kDeviceOpen : mci::kDuplicateAlias;
  if (element.empty()) return mci::kFileNotFound;

  std::uint32_t error = mci::kFileNotFound;
  std::string why = "no such file";
  const std::string path = ResolveShortPath(NativePath(element));
  auto sequencer = sound.OpenSequencer(path, &error, &why);
  if (!sequencer) {
    TellUnusableOnce("tune", path, why);
    return error;
  }
  const int id = FreeDeviceId();
  reply = std::to_string(id);
  if (replyCapacity == 0) {
    reply.clear();
  } else if (reply.size() + 1 > replyCapacity) {
    reply.clear();
    return mci::kParamOverflow;  // the device is closed again
  }
  devices_[name] = Device{id, std::move(sequencer)};
  return 0;
}

int MciInterpreter::FreeDeviceId() const {
  for (int id = 1;; ++id)
    if (std::none_of(devices_.begin(), devices_.end(),
                     [id](const auto& entry) { return entry.second.id == id; }))
      return id;
}

std::uint32_t MciInterpreter::OnDevice(const std::string& verb, const std::string& name,
                                       std::vector<Word> words, std::string& reply) {
  auto found = devices_.find(name);
  if (found == devices_.end()) return mci::kInvalidDeviceName;
  SequencerDevice& device = *found->second.sequencer;
  bool wait = false;
  std::erase_if(words, [&wait](const Word& w) {
    const std::string lower = Lower(w.text);
    if (!w.quoted && lower == "wait") wait = true;
    return !w.quoted && (lower == "wait" || lower == "notify");
  });
  if (verb == "play") return PlayCommand(device, words, wait);
  if (verb == "seek") return SeekCommand(device, words);
  if (verb == "status") return StatusCommand(device, words, reply);
  if (!words.empty()) return mci::kUnrecognizedKeyword;
  if (verb == "close") {
    devices_.erase(found);
  } else if (verb == "stop") {
    device.Stop();
  } else if (verb == "pause") {
    device.Pause();
  } else if (verb == "resume") {
    device.Resume();
  }
  return 0;
}

std::uint32_t MciInterpreter::PlayCommand(SequencerDevice& device, const std::vector<Word>& words,
                                          bool wait) {
  std::optional<std::uint32_t> from, to;
  for (std::size_t at = 0; at < words.size(); at += 2) {
    const std::string keyword = words[at].quoted ? std::string() : Lower(words[at].text);
    if (keyword != "from" && keyword != "to") return mci::kUnrecognizedKeyword;
    if (at + 1 >= words.size()) return mci::kMissingParameter;
    std::uint32_t value = 0;
    if (!ParseNumber(words[at + 1].text, value)) return mci::kBadInteger;
    if (value > device.Length()) return mci::kOutOfRange;
    (keyword == "from" ? from : to) = value;
  }
  device.Play(from, to);
  // With "wait" the command returns when the playing is over.
  while (wait && device.Mode() == SequencerMode::Playing) Idle();
  return 0;
}

std::uint32_t MciInterpreter::SeekCommand(SequencerDevice& device, const std::vector<Word>& words) {
  if (words.empty()) return mci::kMissingParameter;
  if (words[0].quoted || Lower(words[0].text) != "to") return mci::kUnrecognizedKeyword;
  if (words.size() < 2) return mci::kMissingParameter;
  if (words.size() > 2) return mci::kUnrecognizedKeyword;
  const std::string target = words[1].quoted ? std::string() : Lower(words[1].text);
  std::uint32_t position = 0;
  if (target == "start") {
    position = 0;
  } else if (target == "end") {
    position = device.Length();
  } else if (!ParseNumber(words[1].text, position)) {
    return mci::kBadInteger;
  } else if (position > device.Length()) {
    return mci::kOutOfRange;
  }
  device.Seek(position);
  return 0;
}

std::uint32_t MciInterpreter::StatusCommand(SequencerDevice& device, const std::vector<Word>& words,
                                            std::string& reply) {
  if (words.empty()) return mci::kMissingParameter;
  std::string item;
  for (const Word& word : words) {
    if (word.quoted) return mci::kUnrecognizedKeyword;
    if (!item.empty()) item.push_back(' ');
    item.append(Lower(word.text));
  }
  std::string value;
  if (item == "mode") {
    value = ModeText(device.Mode());
  } else if (item == "position") {
    value = std::to_string(device.Position());
  } else if (item == "length") {
    value = std::to_string(device.Length());
  } else if (item == "ready") {
    value = device.Mode() == SequencerMode::NotReady ? "false" : "true";
  } else if (item == "time format") {
    value = device.Song().TimedInFrames() ? "milliseconds" : "song pointer";
  } else if (item == "number of tracks") {
    value = "1";  // a sequencer device has one track
  } else {
    return mci::kUnrecognizedKeyword;
  }
  reply = std::move(value);
  return 0;
}

void MciInterpreter::CloseAll() { devices_.clear(); }

MciInterpreter& TheMciInterpreter() {
  // Never destroyed: devices may hold the audio device, which closes with the program.
  static MciInterpreter* interpreter = new MciInterpreter;
  return *interpreter;
}

void MciCloseAll() { TheMciInterpreter().CloseAll(); }
