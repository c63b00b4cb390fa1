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

// The values a variable can hold: its width, or less where the game gives it a meaning only
// within a range (an index, a key state, a flag that the game sets itself).
struct Range {
  std::int64_t low;
  std::int64_t high;
};

template <typename T>
constexpr Range kWidth = {std::numeric_limits<T>::min(), std::numeric_limits<T>::max()};
constexpr Range kFlag = {-1, 0};  // True or False: the game sets no other value

// Parses every value within `range`; the error names the first that does not fit.
template <typename T>
std::string ParseValues(const Words& values, std::size_t first, std::vector<T>& out,
                        Range range = kWidth<T>) {
  for (std::size_t i = first; i < values.size(); ++i) {
    auto value = ParseInteger(values[i]);
    if (!value || *value < range.low || *value > range.high)
      return "\"" + values[i] + "\" is not an integer from " + std::to_string(range.low) + " to " +
             std::to_string(range.high);
    out.push_back(static_cast<T>(*value));
  }
  return "";
}

// A cell holds 0 (empty), 1..10 (the digits 0..9) or 255 (a super cell).
std::string CheckCells(const Words& values, std::size_t first) {
  for (std::size_t i = first; i < values.size(); ++i) {
    auto value = ParseInteger(values[i]);
    if (!value || ((*value < 0 || *value > 10) && *value != kSuperCell))
      return "\"" + values[i] + "\" is not a cell value: 0 to 10, or 255";
  }
  return "";
}

// The pair with its pivot at `pos` and its second cell in direction `dir` lies inside the
// well, both cells in one row or one column: every cell the game reads around it is there.
bool PairInsideWell(int pos, int dir) {
  if (pos < 0 || pos > 159 || dir < 0 || dir > 3) return false;
  const int second = pos + PairOffset[dir];
  if (second < 0 || second > 159) return false;
  return dir == 0 || dir == 2 || second / 10 == pos / 10;
}

std::string PairPlace(int pos, int dir) {
  return "the pair (CurPos " + std::to_string(pos) + ", CurDir " + std::to_string(dir) +
         ") would leave the well";
}

template <typename T>
Variable Scalar(const char* name, T& variable, Range range = kWidth<T>) {
  return {name, [&variable] { return NumberJson(variable); },
          [&variable, range](const Words& values, bool apply) -> std::string {
            if (values.size() != 1) return "takes exactly one value";
            std::vector<T> parsed;
            if (auto error = ParseValues(values, 0, parsed, range); !error.empty()) return error;
            if (apply) variable = parsed[0];
            return "";
          }};
}

// A variable tied to others: within its range and passing `alone` (when given) as the script
// is read, and set only when `together`, with the others' values at that moment, has no
// objection. Both return an error, or nothing.
using ValueCheck = std::string (*)(std::uint8_t);

Variable Coupled(const char* name, std::uint8_t& variable, Range range, ValueCheck alone,
                 ValueCheck together) {
  return {name, [&variable] { return NumberJson(variable); },
          [&variable, range, alone, together](const Words& values, bool apply) -> std::string {
            if (values.size() != 1) return "takes exactly one value";
            std::vector<std::uint8_t> parsed;
            if (auto error = ParseValues(values, 0, parsed, range); !error.empty()) return error;
            if (alone != nullptr)
              if (auto error = alone(parsed[0]); !error.empty()) return error;
            if (!apply) return "";
            if (auto error = together(parsed[0]); !error.empty()) return error;
            variable = parsed[0];
            return "";
          }};
}

// CurPos and CurDir: the pair stays inside the well.
std::string PairFitsWithPos(std::uint8_t pos) {
  return PairInsideWell(pos, CurDir) ? "" : PairPlace(pos, CurDir);
}
std::string PairFitsWithDir(std::uint8_t dir) {
  return PairInsideWell(CurPos, dir) ? "" : PairPlace(CurPos, dir);
}

// FallStep and FallOfs: the pair sinks through its 20-pixel row in equal steps, so the offset
// meets the row's end exactly. Every step of the level table divides the row, and the offset
// is always a whole number of steps (before the first level FallStep is 0 and nothing sinks).
std::string DividesTheRow(std::uint8_t step) {
  return kRowHeight % step == 0 ? ""
                                : "\"" + std::to_string(step) +
                                      "\" does not divide the 20-pixel row: 1, 2, 4, 5, 10 or 20";
}
std::string FallMeetsTheRow(int offset, int step) {
  if (step == 0 || offset % step == 0) return "";
  return "the fall (FallOfs " + std::to_string(offset) + ", FallStep " + std::to_string(step) +
         ") would run past the 20-pixel row";
}
std::string FallFitsWithOffset(std::uint8_t offset) { return FallMeetsTheRow(offset, FallStep); }
std::string FallFitsWithStep(std::uint8_t step) { return FallMeetsTheRow(FallOfs, step); }

template <typename T, std::size_t N>
std::string ArrayJson(const T (&cells)[N]) {
  std::string out = "[";
  for (std::size_t i = 0; i < N; ++i) out += (i ? "," : "") + NumberJson(cells[i]);
  return out + "]";
}

// A cell of Marked or Changed is a flag.
std::string CheckFlags(const Words& values, std::size_t first) {
  std::vector<Bool16> parsed;
  return ParseValues(values, first, parsed, kFlag);
}

// Board, Marked, Changed: a first index, then the cells from it. Only the first `writable`
// cells can be set (the cell past the well stays empty).
template <typename T, std::size_t N>
Variable Cells(const char* name, T (&cells)[N], std::size_t writable,
               std::string (*check)(const Words&, std::size_t)) {
  return {name, [&cells] { return ArrayJson(cells); },
          [&cells, writable, check](const Words& values, bool apply) -> std::string {
            if (values.size() < 2) return "takes a first index and at least one value";
            auto first = ParseInteger(values[0]);
            if (!first || *first < 0 || *first >= static_cast<std::int64_t>(writable))
              return "index \"" + values[0] + "\" is not from 0 to " + std::to_string(writable - 1);
            if (static_cast<std::size_t>(*first) + values.size() - 1 > writable)
              return "the values run past the last index " + std::to_string(writable - 1);
            if (auto error = check(values, 1); !error.empty()) return error;
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
            if (auto error = CheckCells(values, 0); !error.empty()) return error;
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
      Cells("Board", Board, 160, CheckCells),
      Cells("Marked", Marked, 160, CheckFlags),
      Cells("Changed", Changed, 160, CheckFlags),
      Pair("CurPiece", CurPiece),
      Coupled("CurPos", CurPos, {0, 159}, nullptr, PairFitsWithPos),
      Coupled("CurDir", CurDir, {0, 3}, nullptr, PairFitsWithDir),
      Coupled("FallOfs", FallOfs, {0, kRowHeight}, nullptr, FallFitsWithOffset),
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
      Scalar("SuperArmed", SuperArmed, kFlag),
      Scalar("Kinds", Kinds, {0, 8}),
      Coupled("FallStep", FallStep, {1, kRowHeight}, DividesTheRow, FallFitsWithStep),
      Scalar("FallWait", FallWait),
      Scalar("ForceClear", ForceClear, kFlag),
      Scalar("HidePair", HidePair, kFlag),
      Scalar("Busy", Busy, kFlag),
      Scalar("OptionShown", OptionShown, kFlag),
      Scalar("OptCursor", OptCursor, {0, 3}),
      Scalar("OptPulseAngle", OptPulseAngle),
      Scalar("PulseAngle", PulseAngle),
      Scalar("LampOn", LampOn, kFlag),
      Scalar("NextAnim", NextAnim, kFlag),
      Scalar("Landed", Landed, kFlag),
      Scalar("PressLeft", PressLeft, {0, 2}),
      Scalar("PressRight", PressRight, {0, 2}),
      Scalar("PressDown", PressDown, {0, 2}),
      Scalar("PressZ", PressZ, {0, 2}),
      Scalar("PressX", PressX, {0, 2}),
      Scalar("KeySense", UserSettings.KeySense),
      Scalar("BgmOn", UserSettings.BgmOn),
      Scalar("SoundOn", UserSettings.SoundOn),
      Scalar("TickExp", TickExp, {1, 255}),
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
