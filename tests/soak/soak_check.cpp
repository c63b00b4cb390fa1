#include "soak_check.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "replay/json_value.h"

namespace {

const char* const kCloseQuestion = "終了しますか？";
const char* const kRecordSaved = "新記録更新！データを保存しました。";
const char* const kNoRecord = "新記録更新できませんでした・・。";
const char* const kFpsMark = "FPS = ";

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Expect(bool condition, const std::string& what) {
  if (!condition) throw Failure(what);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char* const kDigits = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : bytes) text += {kDigits[b >> 4], kDigits[b & 15]};
  return text;
}

std::int64_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) {
  std::uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
  const std::uint64_t sign = std::uint64_t{1} << (8 * width - 1);
  return static_cast<std::int64_t>((value ^ sign) - sign);
}

std::vector<JsonValue> ReadTrace(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<JsonValue> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(JsonValue::Parse(line));
  return lines;
}

struct SavedRecord {
  std::int64_t recScore, hiScore, level, delSum, maxCombo;
};

SavedRecord DecodeRecord(const std::vector<std::uint8_t>& bytes) {
  return {LittleEndian(bytes, 2, 4), LittleEndian(bytes, 6, 4), LittleEndian(bytes, 10, 2),
          LittleEndian(bytes, 12, 4), bytes.at(16)};
}

// What the trace says about the files: the bytes read at start-up and the last ones written.
struct FileHistory {
  std::string read;
  std::string lastWrite;
  int writes = 0;
};

FileHistory History(const std::vector<JsonValue>& trace, const std::string& name) {
  FileHistory history;
  for (const JsonValue& line : trace) {
    if (line["ev"].Str() != "file" || line["name"].Str() != name) continue;
    if (line["op"].Str() == "read") history.read = line["bytes"].Str();
    if (line["op"].Str() == "write") history.lastWrite = line["bytes"].Str(), ++history.writes;
  }
  return history;
}

// The exit: the window hidden, one high-score message, then the frame-rate message, last.
void CheckExitMessages(const std::vector<JsonValue>& trace, SoakOutcome& outcome) {
  Expect(trace.size() >= 4, "the trace is too short for an exit");
  const JsonValue& end = trace.back();
  Expect(end["ev"].Str() == "end", "the trace does not close with its end line");
  Expect(end["reason"].Str() == "ended", "the game was still running at the script's end");
  std::vector<const JsonValue*> boxes;
  for (const JsonValue& line : trace)
    if (line["ev"].Str() == "msgbox") boxes.push_back(&line);
  Expect(boxes.size() >= 2, "fewer than two message boxes");
  const std::string& record = (*boxes[boxes.size() - 2])["text"].Str();
  const std::string& exit = boxes.back()->operator[]("text").Str();
  Expect(record == kRecordSaved || record == kNoRecord, "no high-score message: " + record);
  outcome.newRecord = record == kRecordSaved;
  const std::size_t mark = exit.rfind(kFpsMark);
  Expect(mark != std::string::npos, "no frame-rate message");
  const int fps = std::stoi(exit.substr(mark + 6));
  Expect(fps >= 0 && fps <= 20, "a frame rate beyond the 49 ms period: " + std::to_string(fps));
  // A quit is a close question answered yes right before the exit; anything else is the
  // game's own end.
  outcome.gameOver = true;
  if (boxes.size() >= 3) {
    const JsonValue& before = *boxes[boxes.size() - 3];
    outcome.gameOver = !(before["text"].Str() == kCloseQuestion && before["answer"].Str() == "yes");
  }
  outcome.playSeconds = end["t"].number / 1000.0;
}

// The highest score, level, digit total and chain of the snapshots taken during play.
struct SnapshotBest {
  std::int64_t score = -1, level = 0, delSum = 0, maxCombo = 0;
};

SnapshotBest ReadSnapshots(const std::filesystem::path& out) {
  SnapshotBest best;
  for (int i = 0; i < 3; ++i) {
    std::ifstream in(out / ("s" + std::to_string(i) + ".json"));
    if (!in) continue;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const JsonValue state = JsonValue::Parse(text);
    if (state["Score"].IsNull()) continue;
    Expect(state["HiScore"].Int() >= state["Score"].Int(), "HiScore below Score in a snapshot");
    best.score = std::max(best.score, state["Score"].Int());
    best.level = std::max(best.level, state["Level"].Int());
    best.delSum = std::max(best.delSum, state["DelSum"].Int());
    best.maxCombo = std::max(best.maxCombo, state["MaxCombo"].Int());
  }
  return best;
}

void CheckHighScoreFile(const SoakGame& game, const SoakRun& run,
                        const std::vector<JsonValue>& trace, SoakOutcome& outcome) {
  const auto initial = game.highScore.value_or(std::vector<std::uint8_t>{});
  const auto saved = ReadBytes(run.folder / "HighSc.sav");
  const FileHistory history = History(trace, "HighSc.sav");
  Expect(history.read == Hex(initial), "HighSc.sav read other bytes than were there");
  const SnapshotBest best = ReadSnapshots(run.out);
  if (!outcome.newRecord) {
    Expect(history.writes == 0, "HighSc.sav written without a record");
    Expect(saved == initial, "HighSc.sav changed without a record");
    const std::int64_t stored = initial.size() >= 10 ? LittleEndian(initial, 6, 4) : 0;
    Expect(best.score <= stored, "a snapshot's score beat the record, yet nothing was saved");
    outcome.score = best.score;
    return;
  }
  Expect(history.writes == 1, "HighSc.sav written more than once");
  Expect(saved.size() == 21, "HighSc.sav is " + std::to_string(saved.size()) + " bytes");
  Expect(Hex(saved) == history.lastWrite, "HighSc.sav differs from the bytes written");
  for (std::size_t i : {0, 1, 17, 18, 19, 20})
    Expect(saved[i] == (i < initial.size() ? initial[i] : 0), "a reserved byte changed");
  const SavedRecord record = DecodeRecord(saved);
  const std::int64_t stored = initial.size() >= 10 ? LittleEndian(initial, 6, 4) : 0;
  Expect(record.recScore > stored, "a record that does not beat the stored score");
  Expect(record.hiScore == record.recScore, "the record's HiScore differs from its score");
  Expect(record.level >= 1 && record.level <= 61, "level out of the table");
  Expect(record.recScore >= best.score && record.level >= best.level &&
             record.delSum >= best.delSum && record.maxCombo >= best.maxCombo,
         "the saved record fell behind a snapshot of the same game");
  outcome.score = record.recScore;
}

void CheckSettingsFile(const SoakGame& game, const SoakRun& run,
                       const std::vector<JsonValue>& trace) {
  const auto initial = game.userIni.value_or(std::vector<std::uint8_t>{});
  const auto saved = ReadBytes(run.folder / "user.ini");
  const FileHistory history = History(trace, "user.ini");
  Expect(history.read == Hex(initial), "user.ini read other bytes than were there");
  Expect(history.writes == 1, "user.ini not written exactly once");
  Expect(saved.size() == 5, "user.ini is " + std::to_string(saved.size()) + " bytes");
  Expect(Hex(saved) == history.lastWrite, "user.ini differs from the bytes written");
  Expect(saved[0] <= 5, "KeySense out of 0..5");
  for (std::size_t i : {1, 3})
    Expect(saved[i] == saved[i + 1] && (saved[i] == 0 || saved[i] == 0xFF),
           "a setting that is neither on nor off");
  if (!game.opensOptions && initial.size() == 5)
    Expect(saved == initial, "the settings changed without the option screen");
}

}  // namespace

SoakOutcome CheckSoakGame(const SoakGame& game, const SoakRun& run) {
  SoakOutcome outcome;
  try {
    Expect(run.exitStatus == 0, "fumbo-replay exited with " + std::to_string(run.exitStatus));
    for (const char* alarm : {"Sanitizer", "runtime error", "fumbo-replay: at "})
      Expect(run.standardError.find(alarm) == std::string::npos,
             std::string("standard error reports ") + alarm);
    const std::vector<JsonValue> trace = ReadTrace(run.trace);
    CheckExitMessages(trace, outcome);
    CheckHighScoreFile(game, run, trace, outcome);
    CheckSettingsFile(game, run, trace);
    outcome.passed = true;
  } catch (const std::exception& failure) {
    outcome.failure = failure.what();
  }
  return outcome;
}
