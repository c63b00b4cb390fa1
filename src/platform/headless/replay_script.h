// The script of a headless run: timed window events, message-box answers, state changes and
// snapshots, one command a line (the format of fumbo-replay's --script).
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"

enum class ScriptEventKind { KeyDown, KeyUp, KeyPress, Close, Paint, Set, Snap };

struct ScriptEvent {
  std::uint64_t time = 0;  // virtual ms since the program started
  ScriptEventKind kind = ScriptEventKind::Paint;
  int code = 0;                      // key code or character code
  std::vector<std::string> words{};  // Set: the name, then the values; Snap: the name
  int line = 0;                      // line of the script, for messages
};

struct ReplayScript {
  std::uint32_t seed = 1;
  std::uint32_t clock = 100000;  // GetTickCount when the program starts
  std::vector<MsgBoxAnswer> answers;
  std::vector<ScriptEvent> events;  // in script order
  std::optional<std::uint64_t> endTime;
};

// A script that cannot be read: the line (1-based) and what is wrong with it.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Reads a whole script; throws ScriptError at the first line it cannot read.
ReplayScript ParseReplayScript(std::istream& in);
ReplayScript ParseReplayScriptText(const std::string& text);
// The virtual-key code of a key name (Left, Right, Up, Down, Z, X, Escape, Return) or of a
// decimal code; nullopt for anything else.
std::optional<int> KeyCodeFromName(const std::string& name);
