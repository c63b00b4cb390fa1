// Whole-game runs with bad input: the save files a run must leave, the lines it must print,
// and a run in a program folder that the game may read but not write.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "replay/replay_harness.h"

using Bytes = std::vector<std::uint8_t>;

inline std::int64_t LittleSigned(const Bytes& file, std::size_t offset, int width) {
  std::uint32_t value = 0;
  for (int k = width - 1; k >= 0; --k) {
    const std::size_t at = offset + static_cast<std::size_t>(k);
    value = (value << 8) | (at < file.size() ? file[at] : 0u);
  }
  if (width == 2) return static_cast<std::int16_t>(value);
  if (width == 4) return static_cast<std::int32_t>(value);
  return value;
}

inline void PutLittle(Bytes& file, std::size_t offset, int width, std::uint32_t value) {
  for (int k = 0; k < width; ++k) file[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// user.ini after a run that changed no setting: the record as read over the file's start,
// the file never shorter, every byte beyond the record as it was.
inline Bytes SettingsAfterRun(Bytes file) {
  if (file.size() < 5) file.resize(5, 0);
  return file;
}

// HighSc.sav after a run that ended with `score` at level 1, nothing cleared: a record only
// when the score beats the stored high score, and then only bytes 2..16 are written.
inline Bytes HighScoreAfterRun(Bytes file, std::int32_t score) {
  const std::int64_t stored = LittleSigned(file, 6, 4);
  if (score <= stored) return file;
  // Play raises the high score along with the score, and only when it scores.
  const std::int64_t high = score > 0 ? std::max<std::int64_t>(stored, score) : stored;
  if (file.size() < 21) file.resize(21, 0);
  PutLittle(file, 2, 4, static_cast<std::uint32_t>(score));
  PutLittle(file, 6, 4, static_cast<std::uint32_t>(high));
  PutLittle(file, 10, 2, 1);
  PutLittle(file, 12, 4, 0);
  PutLittle(file, 16, 1, 0);
  return file;
}

// The lines of standard error that contain `text`.
inline int LinesWith(const std::string& errors, const std::string& text) {
  std::istringstream lines(errors);
  int count = 0;
  for (std::string line; std::getline(lines, line);)
    if (line.find(text) != std::string::npos) ++count;
  return count;
}

// As RunReplay, with the program folder laid out by `prepare` and, when `readOnly`, made
// read-only for the run. A root user writes anywhere, so a read-only run then goes as
// "nobody"; false when that cannot be arranged.
inline bool RunReplayInFolder(const std::string& script,
                              const std::function<void(const std::filesystem::path&)>& prepare,
                              bool readOnly, ReplayResult& result) {
  namespace fs = std::filesystem;
  namespace detail = replay_harness_detail;
  const std::string binary = FUMBO_REPLAY_PROGRAM;
  std::string prefix;
  if (readOnly && geteuid() == 0) {
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    // Without the right to change users, or with the tool out of nobody's reach: no run.
    const std::string probe = prefix + "test -x " + detail::ShellQuote(binary) + " 2>/dev/null";
    if (std::system(probe.c_str()) != 0) return false;
  }
  result.root = detail::MakeTemporaryFolder();
  const fs::path folder = result.root / "folder";
  fs::create_directories(folder);
  fs::create_directories(result.root / "out");
  prepare(folder);
  detail::WriteBytes(result.root / "script.txt", script);
  if (readOnly) {
    chmod(result.root.c_str(), 0777);
    chmod((result.root / "out").c_str(), 0777);
    for (const auto& entry : fs::directory_iterator(folder))  // only the right to write goes
      if (entry.is_regular_file())
        fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write,
                        fs::perm_options::remove);
    chmod(folder.c_str(), 0555);
  }
  const std::string command = "timeout 120 " + prefix + detail::ShellQuote(binary) + " --folder " +
                              detail::ShellQuote(folder.string()) + " --script " +
                              detail::ShellQuote((result.root / "script.txt").string()) +
                              " --trace " +
                              detail::ShellQuote((result.root / "trace.jsonl").string()) +
                              " --out " + detail::ShellQuote((result.root / "out").string()) +
                              " 2> " + detail::ShellQuote((result.root / "stderr.txt").string());
  const int status = std::system(command.c_str());
  result.exitStatus = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
  detail::Collect(result.root, result);
  chmod(folder.c_str(), 0755);
  fs::remove_all(result.root);
  return true;
}

inline void PutFile(const std::filesystem::path& path, const Bytes& bytes) {
  replay_harness_detail::WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}
