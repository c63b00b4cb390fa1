// Whole-program runs for tests: the real game under fumbo-replay's virtual clock.
//
//   #include "replay/replay_harness.h"
//   ReplayResult run = RunReplay("answer no\nat 9000 close\nat 9100 close\nend 20000\n");
//   EXPECT_EQ(run.exitStatus, 0);
//   for (const JsonValue* box : run.Events("msgbox")) ...   // trace lines, parsed
//   run.snapshots.at("s1")["Score"].Int();                   // NAME.json of `snap NAME`
//   run.pictures.at("s1")->At(x, y);                         // NAME.bmp of `snap NAME`
//   run.files.at("user.ini");                                // bytes left in the folder
//
// The script is the text of a fumbo-replay script (see the replay format). Each run gets a
// fresh temporary program folder, empty unless ReplayOptions asks for the tunes, the sounds
// or files of its own, and removed afterwards (keep it with keepFolder to look into it).
// The binary is FUMBO_REPLAY_PROGRAM and the tunes and sounds come from FUMBO_GAME_FOLDER
// (every test program gets both from tests/CMakeLists.txt and is built after fumbo-replay).
// Header-only, so any test folder can include it. A run costs about 0.25 s of wall time per
// virtual minute under the sanitizers; the folder is removed afterwards unless keepFolder is
// set.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/image.h"
#include "replay/json_value.h"

struct ReplayOptions {
  bool copyTunes = false;   // Opening.mid and Game.mid from the build's program folder
  bool copySounds = false;  // the seven WAV effects from the build's program folder
  std::map<std::string, std::vector<std::uint8_t>> files;  // placed in the folder first
  bool keepFolder = false;   // leave the temporary folder for inspection
  int timeoutSeconds = 300;  // wall time after which the run is killed
};

struct ReplayResult {
  // fumbo-replay's exit status (124 when killed at the timeout); -1 when it did not exit
  int exitStatus = -1;
  std::string errors;                                      // its standard error
  std::vector<JsonValue> trace;                            // every trace line, in order
  std::map<std::string, JsonValue> snapshots;              // NAME.json by NAME
  std::map<std::string, ImagePtr> pictures;                // NAME.bmp by NAME
  std::map<std::string, std::vector<std::uint8_t>> files;  // the program folder afterwards
  std::filesystem::path root;  // the temporary folder (gone unless keepFolder)

  // The trace lines of one kind ("caption", "msgbox", "file", ...), in order.
  std::vector<const JsonValue*> Events(const std::string& ev) const {
    std::vector<const JsonValue*> found;
    for (const JsonValue& line : trace)
      if (line["ev"].Str() == ev) found.push_back(&line);
    return found;
  }
  // The last "end" line's reason, or "" without one.
  std::string EndReason() const {
    auto ends = Events("end");
    return ends.empty() ? "" : ends.back()->operator[]("reason").Str();
  }
};

namespace replay_harness_detail {

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

inline void CopyProgramFiles(const std::filesystem::path& folder, const char* extension) {
  const std::filesystem::path bin = FUMBO_GAME_FOLDER;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(bin, error))
    if (entry.path().extension() == extension)
      std::filesystem::copy_file(entry.path(), folder / entry.path().filename(), error);
}

inline std::filesystem::path MakeTemporaryFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "fumbo-replay-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

inline std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

inline void Collect(const std::filesystem::path& root, ReplayResult& result) {
  const auto traceBytes = ReadBytes(root / "trace.jsonl");
  std::istringstream trace(std::string(traceBytes.begin(), traceBytes.end()));
  for (std::string line; std::getline(trace, line);)
    if (!line.empty()) result.trace.push_back(JsonValue::Parse(line));
  for (const auto& entry : std::filesystem::directory_iterator(root / "out")) {
    const std::string name = entry.path().stem().string();
    if (entry.path().extension() == ".json") {
      auto bytes = ReadBytes(entry.path());
      result.snapshots[name] = JsonValue::Parse(std::string(bytes.begin(), bytes.end()));
    } else if (entry.path().extension() == ".bmp") {
      result.pictures[name] = LoadBmpFile(entry.path().string());
    }
  }
  for (const auto& entry : std::filesystem::directory_iterator(root / "folder"))
    if (entry.is_regular_file())
      result.files[entry.path().filename().string()] = ReadBytes(entry.path());
  auto errors = ReadBytes(root / "stderr.txt");
  result.errors.assign(errors.begin(), errors.end());
}

}  // namespace replay_harness_detail

// Runs fumbo-replay on `script` in a fresh program folder and collects what it left.
inline ReplayResult RunReplay(const std::string& script, const ReplayOptions& options = {}) {
  namespace fs = std::filesystem;
  namespace detail = replay_harness_detail;
  ReplayResult result;
  result.root = detail::MakeTemporaryFolder();
  const fs::path folder = result.root / "folder";
  fs::create_directories(folder);
  fs::create_directories(result.root / "out");
  if (options.copyTunes) detail::CopyProgramFiles(folder, ".mid");
  if (options.copySounds) detail::CopyProgramFiles(folder, ".wav");
  for (const auto& [name, bytes] : options.files)
    detail::WriteBytes(folder / name, std::string(bytes.begin(), bytes.end()));
  detail::WriteBytes(result.root / "script.txt", script);

  const std::string binary = FUMBO_REPLAY_PROGRAM;
  const std::string command =
      "timeout " + std::to_string(options.timeoutSeconds) + " " + detail::ShellQuote(binary) +
      " --folder " + detail::ShellQuote(folder.string()) + " --script " +
      detail::ShellQuote((result.root / "script.txt").string()) + " --trace " +
      detail::ShellQuote((result.root / "trace.jsonl").string()) + " --out " +
      detail::ShellQuote((result.root / "out").string()) + " 2> " +
      detail::ShellQuote((result.root / "stderr.txt").string());
  const int status = std::system(command.c_str());
  result.exitStatus = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
  detail::Collect(result.root, result);
  if (!options.keepFolder) fs::remove_all(result.root);
  return result;
}
