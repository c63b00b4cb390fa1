#include "gameplay/state_json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <optional>

#include "gameplay/game_state.h"

namespace {

using Words = std::vector<std::string>;

struct Variable {
  const char* name;
  std::function<std::string()> json;
  // Checks `values` and, when `apply` is set and they are good, stores them.
  std::function<std::string(const Words& values, bool apply)> assign;
};

std::optional<std::int64_t> ParseInteger(const std::string& text) {
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

template <typename T>
std::string NumberJson(T value) {
  return std::to_string(static_cast<std::int64_t>(value));
}

// Parses every value as a T; the error names the first that does not fit.
template <typename T>
std::string ParseValues(const Words& values, std::size_t first, std::vector<T>& out) {
  for (std::size_t i = first; i < values.size(); ++i) {
    auto value = ParseInteger(values[i]);
    if (!value || *value < std::numeric_limits<T>::min() || *value > std::numeric_limits<T>::max())
      return "\"" + values[i] + "\" is not an integer from " +
             NumberJson(std::numeric_limits<T>::min()) + " to " +
             NumberJson(std::numeric_limits<T>::max());
    out.push_back(static_cast<T>(*value));
  }
  return "";
}

template <typename T>
Variable Scalar(const char* name, T& variable) {
  return {name, [&variable] { return NumberJson(variable); },
          [&variable](const Words& values, bool apply) -> std::string {
            if (values.size() != 1) return "takes exactly one value";
            std::vector<T> parsed;
            if (auto error = ParseValues(values, 0, parsed); !error.empty()) return error;
            if (apply) variable = parsed[0];
            return "";
          }};
}

template <typename T, std::size_t N>
std::string ArrayJson(const T (&cells)[N]) {
  std::string out = "[";
  for (std::size_t i = 0; i < N; ++i) out += (i ? "," : "") + NumberJson(cells[i]);
  return out + "]";
}

// Board, Marked, Changed: a first index, then the cells from it. Only the first `writable`
// cells can be set (the cell past the well stays empty).
template <typename T, std::size_t N>
Variable Cells(const char* name, T (&cells)[N], std::size_t writable = N) {
  return {name, [&cells] { return ArrayJson(cells); },
          [&cells, writable](const Words& values, bool apply) -> std::string {
            if (values.size() < 2) return "takes a first index and at least one value";
            auto first = ParseInteger(values[0]);
            if (!first || *first < 0 || *first >= static_cast<std::int64_t>(writable))
              return "index \"" + values[0] + "\" is not from 0 to " + std::to_string(writable - 1);
            if (static_cast<std::size_t>(*first) + values.size() - 1 > writable)
              return "the values run past the last index " + std::to_string(writable - 1);
            std::vector<T> parsed;
            if (auto error = ParseValues(values, 1, parsed); !error.empty()) return error;
            if (apply)
              for (std::size_t i = 0; i < parsed.size(); ++i) cells[*first + i] = parsed[i];
            return "";
          }};
}

// CurPiece, NextPiece: both cells at once.
Variable Pair(const char* name, std::uint8_t (&cells)[2]) {
  return {name, [&cells] { return ArrayJson(cells); },
          [&cells](const Words& values, bool apply) -> std::string {
            if (values.size() != 2) return "takes exactly two values";
            std::vector<std::uint8_t> parsed;
            if (auto error = ParseValues(values, 0, parsed); !error.empty()) return error;
            if (apply) cells[0] = parsed[0], cells[1] = parsed[1];
            return "";
          }};
}

std::string FpsJson() {
  if (!FPS || !std::isfinite(*FPS)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", *FPS);
  return text;
}

std::string AssignFps(const Words& values, bool apply) {
  if (values.size() != 1) return "takes exactly one value";
  if (values[0] == "null") {
    if (apply) FPS.reset();
    return "";
  }
  double value = 0;
  auto [end, error] = std::from_chars(values[0].data(), values[0].data() + values[0].size(), value);
  if (error != std::errc() || end != values[0].data() + values[0].size() || !std::isfinite(value))
    return "\"" + values[0] + "\" is not a finite number or null";
  if (apply) FPS = value;
  return "";
}

const std::vector<Variable>& Variables() {
  static const std::vector<Variable> variables = {
      Cells("Board", Board, 160),
      Cells("Marked", Marked),
      Cells("Changed", Changed),
      Pair("CurPiece", CurPiece),
      Scalar("CurPos", CurPos),
      Scalar("CurDir", CurDir),
      Scalar("FallOfs", FallOfs),
      Pair("NextPiece", NextPiece),
      Scalar("Score", Score),
      Scalar("HiScore", HiScore),
      Scalar("Level", Level),
      Scalar("DelSum", DelSum),
      Scalar("LevelSum", LevelSum),
      Scalar("LevelNorm", LevelNorm),
      Scalar("Combo", Combo),
      Scalar("MaxCombo", MaxCombo),
      Scalar("SuperAt", SuperAt),
      Scalar("SuperCount", SuperCount),
      Scalar("SuperArmed", SuperArmed),
      Scalar("Kinds", Kinds),
      Scalar("FallStep", FallStep),
      Scalar("FallWait", FallWait),
      Scalar("ForceClear", ForceClear),
      Scalar("HidePair", HidePair),
      Scalar("Busy", Busy),
      Scalar("OptionShown", OptionShown),
      Scalar("OptCursor", OptCursor),
      Scalar("OptPulseAngle", OptPulseAngle),
      Scalar("PulseAngle", PulseAngle),
      Scalar("LampOn", LampOn),
      Scalar("NextAnim", NextAnim),
      Scalar("Landed", Landed),
      Scalar("PressLeft", PressLeft),
      Scalar("PressRight", PressRight),
      Scalar("PressDown", PressDown),
      Scalar("PressZ", PressZ),
      Scalar("PressX", PressX),
      Scalar("KeySense", UserSettings.KeySense),
      Scalar("BgmOn", UserSettings.BgmOn),
      Scalar("SoundOn", UserSettings.SoundOn),
      Scalar("TickExp", TickExp),
      Variable{"FPS", FpsJson, AssignFps},
      Scalar("PlayStartTick", PlayStartTick),
  };
  return variables;
}

std::string Assign(const Words& words, bool apply) {
  if (words.empty()) return "no variable named";
  for (const Variable& variable : Variables()) {
    if (words[0] != variable.name) continue;
    std::string error = variable.assign(Words(words.begin() + 1, words.end()), apply);
    return error.empty() ? error : words[0] + ": " + error;
  }
  return "no game variable named \"" + words[0] + "\"";
}

}  // namespace

std::string GameStateJson() {
  std::string out = "{";
  bool first = true;
  for (const Variable& variable : Variables()) {
    out += first ? "\"" : ",\"";
    out += variable.name;
    out += "\":" + variable.json();
    first = false;
  }
  return out + "}";
}

std::vector<std::string> GameStateNames() {
  std::vector<std::string> names;
  for (const Variable& variable : Variables()) names.emplace_back(variable.name);
  return names;
}

std::string SetGameStateVariable(const std::vector<std::string>& words) {
  return Assign(words, true);
}

std::string CheckGameStateAssignment(const std::vector<std::string>& words) {
  return Assign(words, false);
}
