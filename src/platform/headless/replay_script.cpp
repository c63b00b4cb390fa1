#include "platform/headless/replay_script.h"

#include <sstream>

namespace {

std::vector<std::string> SplitWords(std::string line) {
  if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
  std::vector<std::string> words;
  std::string word;
  for (char c : line) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// Unsigned decimal that fits 32 bits; nullopt otherwise.
std::optional<std::uint32_t> ParseUnsigned(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::uint32_t NeedUnsigned(const std::string& text, const char* what, int line) {
  auto value = ParseUnsigned(text);
  if (!value)
    throw ScriptError(line, std::string(what) +
                                " must be an unsigned 32-bit decimal number, not \"" + text + "\"");
  return *value;
}

void NeedCount(const std::vector<std::string>& words, std::size_t count, const char* usage,
               int line) {
  if (words.size() != count) throw ScriptError(line, std::string("expected \"") + usage + "\"");
}

bool IsPlainFileName(const std::string& name) {
  return name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

MsgBoxAnswer ParseAnswer(const std::string& word, int line) {
  if (word == "yes") return MsgBoxAnswer::Yes;
  if (word == "no") return MsgBoxAnswer::No;
  if (word == "ok") return MsgBoxAnswer::Ok;
  throw ScriptError(line, "answer must be yes, no or ok, not \"" + word + "\"");
}

ScriptEvent ParseTimedEvent(const std::vector<std::string>& words, int line) {
  if (words.size() < 3) throw ScriptError(line, "expected \"at T COMMAND ...\"");
  ScriptEvent event;
  event.line = line;
  event.time = NeedUnsigned(words[1], "the time", line);
  const std::string& command = words[2];
  if (command == "key-down" || command == "key-up") {
    NeedCount(words, 4, "at T key-down|key-up KEY", line);
    auto code = KeyCodeFromName(words[3]);
    if (!code) throw ScriptError(line, "unknown key \"" + words[3] + "\"");
    event.kind = command == "key-down" ? ScriptEventKind::KeyDown : ScriptEventKind::KeyUp;
    event.code = *code;
  } else if (command == "key-press") {
    NeedCount(words, 4, "at T key-press CODE", line);
    auto code = ParseUnsigned(words[3]);
    if (!code || *code > 255)
      throw ScriptError(line,
                        "a character code is a decimal number 0..255, not \"" + words[3] + "\"");
    event.kind = ScriptEventKind::KeyPress;
    event.code = static_cast<int>(*code);
  } else if (command == "close" || command == "paint") {
    NeedCount(words, 3, "at T close|paint", line);
    event.kind = command == "close" ? ScriptEventKind::Close : ScriptEventKind::Paint;
  } else if (command == "set") {
    if (words.size() < 5) throw ScriptError(line, "expected \"at T set NAME V...\"");
    event.kind = ScriptEventKind::Set;
    event.words.assign(words.begin() + 3, words.end());
  } else if (command == "snap") {
    NeedCount(words, 4, "at T snap NAME", line);
    if (!IsPlainFileName(words[3]))
      throw ScriptError(line, "a snapshot name is a plain file name, not \"" + words[3] + "\"");
    event.kind = ScriptEventKind::Snap;
    event.words = {words[3]};
  } else {
    throw ScriptError(line, "unknown command \"" + command + "\"");
  }
  return event;
}

void ParseLine(const std::vector<std::string>& words, int line, ReplayScript& script) {
  const std::string& command = words[0];
  if (command == "seed") {
    NeedCount(words, 2, "seed N", line);
    script.seed = NeedUnsigned(words[1], "the seed", line);
  } else if (command == "clock") {
    NeedCount(words, 2, "clock N", line);
    script.clock = NeedUnsigned(words[1], "the clock", line);
  } else if (command == "answer") {
    NeedCount(words, 2, "answer yes|no|ok", line);
    script.answers.push_back(ParseAnswer(words[1], line));
  } else if (command == "end") {
    NeedCount(words, 2, "end T", line);
    if (script.endTime) throw ScriptError(line, "the end is given twice");
    script.endTime = NeedUnsigned(words[1], "the time", line);
  } else if (command == "at") {
    script.events.push_back(ParseTimedEvent(words, line));
  } else {
    throw ScriptError(line, "unknown command \"" + command + "\"");
  }
}

}  // namespace

std::optional<int> KeyCodeFromName(const std::string& name) {
  static const struct {
    const char* name;
    int code;
  } kKeys[] = {{"Left", vbKeyLeft},     {"Right", vbKeyRight},  {"Up", vbKeyUp},
               {"Down", vbKeyDown},     {"Z", vbKeyZ},          {"X", vbKeyX},
               {"Escape", vbKeyEscape}, {"Return", vbKeyReturn}};
  for (const auto& key : kKeys)
    if (name == key.name) return key.code;
  auto code = ParseUnsigned(name);
  if (code && *code >= 1 && *code <= 254) return static_cast<int>(*code);
  return std::nullopt;
}

ReplayScript ParseReplayScript(std::istream& in) {
  ReplayScript script;
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    auto words = SplitWords(text);
    if (!words.empty()) ParseLine(words, line, script);
  }
  if (in.bad()) throw ScriptError(line + 1, "cannot read the script");
  return script;
}

ReplayScript ParseReplayScriptText(const std::string& text) {
  std::istringstream in(text);
  return ParseReplayScript(in);
}
