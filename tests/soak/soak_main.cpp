// soak_games: plays many whole games under fumbo-replay, side by side, and checks each.
//   soak_games --replay FUMBO_REPLAY --assets DIR [--games N] [--first K] [--jobs J]
//              [--work DIR]
// Games K..K+N-1 (each number is one fixed random game). DIR holds the tunes and sounds
// copied into every game's folder. A failed game keeps its folder, script, trace and
// standard error under the work folder; the exit status is 1 when any game failed.
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "soak_check.h"
#include "soak_game.h"

namespace fs = std::filesystem;

namespace {

struct Options {
  std::string replay;
  fs::path assets;
  int games = 5;
  int first = 1;
  int jobs = 2;
  fs::path work;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--replay")
      options.replay = value;
    else if (name == "--assets")
      options.assets = value;
    else if (name == "--games")
      options.games = std::atoi(value.c_str());
    else if (name == "--first")
      options.first = std::atoi(value.c_str());
    else if (name == "--jobs")
      options.jobs = std::max(1, std::atoi(value.c_str()));
    else if (name == "--work")
      options.work = value;
    else
      return false;
  }
  if (argc % 2 == 0 || options.replay.empty() || options.assets.empty()) return false;
  if (options.work.empty()) options.work = fs::temp_directory_path() / "fumbo-soak";
  return true;
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh program folder: the tunes, the sounds and the game's starting save files.
void PrepareFolder(const SoakGame& game, const fs::path& folder, const fs::path& assets) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(assets)) {
    const auto extension = entry.path().extension();
    if (extension == ".mid" || extension == ".wav")
      fs::copy_file(entry.path(), folder / entry.path().filename());
  }
  const auto place = [&folder](const char* name, const auto& bytes) {
    if (bytes) WriteFile(folder / name, std::string(bytes->begin(), bytes->end()));
  };
  place("user.ini", game.userIni);
  place("HighSc.sav", game.highScore);
}

SoakOutcome PlayOne(const Options& options, int number) {
  const SoakGame game = MakeSoakGame(number);
  const fs::path root = options.work / ("game-" + std::to_string(number));
  fs::remove_all(root);
  SoakRun run;
  run.folder = root / "folder";
  run.trace = root / "trace.jsonl";
  run.out = root / "out";
  PrepareFolder(game, run.folder, options.assets);
  WriteFile(root / "script.replay", game.script);
  const std::string command = "'" + options.replay + "' --folder '" + run.folder.string() +
                              "' --script '" + (root / "script.replay").string() + "' --trace '" +
                              run.trace.string() + "' --out '" + run.out.string() + "' 2>'" +
                              (root / "stderr.txt").string() + "' >/dev/null";
  const int status = std::system(command.c_str());
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.standardError = ReadText(root / "stderr.txt");
  SoakOutcome outcome = CheckSoakGame(game, run);
  outcome.unplannedQuit = !outcome.gameOver && !game.plannedQuit;
  if (outcome.passed) fs::remove_all(root);
  return outcome;
}

struct Tally {
  std::mutex lock;
  int passed = 0, failed = 0, gameOver = 0, quit = 0, unplannedQuit = 0, records = 0;
  long long bestScore = 0;
  double playSeconds = 0;
};

void Report(Tally& tally, int number, const SoakOutcome& outcome, const Options& options) {
  std::lock_guard<std::mutex> guard(tally.lock);
  if (!outcome.passed) {
    ++tally.failed;
    std::printf("game %d FAILED: %s (kept in %s/game-%d)\n", number, outcome.failure.c_str(),
                options.work.c_str(), number);
    std::fflush(stdout);
    return;
  }
  ++tally.passed;
  ++(outcome.gameOver ? tally.gameOver : tally.quit);
  tally.unplannedQuit += outcome.unplannedQuit ? 1 : 0;
  tally.records += outcome.newRecord ? 1 : 0;
  tally.bestScore = std::max(tally.bestScore, outcome.score);
  tally.playSeconds += outcome.playSeconds;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: soak_games --replay FUMBO_REPLAY --assets DIR [--games N] [--first K] "
                 "[--jobs J] [--work DIR]\n");
    return 2;
  }
  fs::create_directories(options.work);
  const auto started = std::chrono::steady_clock::now();
  Tally tally;
  std::atomic<int> next{options.first};
  const int last = options.first + options.games;
  std::vector<std::thread> workers;
  for (int j = 0; j < options.jobs; ++j)
    workers.emplace_back([&] {
      for (int n = next++; n < last; n = next++) Report(tally, n, PlayOne(options, n), options);
    });
  for (auto& worker : workers) worker.join();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "soak: %d games, %d passed, %d failed; %d ended in game over, %d by a quit (%d of them "
      "unplanned: the Quit row, or left on the option screen); %d new records, best score %lld; "
      "%.0f s of play in %.1f s\n",
      options.games, tally.passed, tally.failed, tally.gameOver, tally.quit, tally.unplannedQuit,
      tally.records, tally.bestScore, tally.playSeconds, seconds);
  return tally.failed == 0 ? 0 : 1;
}
