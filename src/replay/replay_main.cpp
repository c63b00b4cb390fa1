// fumbo-replay: the whole game on the headless back end, driven by a script, with a trace
// of what it shows and does and snapshots of the picture and the state.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "frontend/startup.h"
#include "gameplay/game_state.h"
#include "gameplay/state_json.h"
#include "gameplay/surfaces.h"
#include "platform/headless/headless_backend.h"
#include "platform/image.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadScript = 2;

struct Arguments {
  std::string folder;
  std::string script;
  std::string trace;
  std::string out = ".";
};

void PrintUsage() {
  std::fprintf(stderr,
               "usage: fumbo-replay --folder DIR --script FILE [--trace FILE] [--out DIR]\n");
}

std::optional<Arguments> ParseArguments(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    std::string* target = option == "--folder"   ? &arguments.folder
                          : option == "--script" ? &arguments.script
                          : option == "--trace"  ? &arguments.trace
                          : option == "--out"    ? &arguments.out
                                                 : nullptr;
    if (target == nullptr || i + 1 >= argc) {
      std::fprintf(stderr, "fumbo-replay: %s %s\n", target ? "no value for" : "unknown option",
                   option.c_str());
      return std::nullopt;
    }
    *target = argv[++i];
  }
  if (arguments.folder.empty() || arguments.script.empty()) {
    std::fprintf(stderr, "fumbo-replay: --folder and --script are required\n");
    return std::nullopt;
  }
  return arguments;
}

// The script, with every `set` checked against the game's variables before the run.
ReplayScript ReadScript(const std::string& path) {
  ReplayScript script;
  if (path == "-") {
    script = ParseReplayScript(std::cin);
  } else {
    std::ifstream in(path);
    if (!in) throw ScriptError(0, "cannot open the script");
    script = ParseReplayScript(in);
  }
  for (const ScriptEvent& event : script.events) {
    if (event.kind != ScriptEventKind::Set) continue;
    if (auto error = CheckGameStateAssignment(event.words); !error.empty())
      throw ScriptError(event.line, error);
  }
  return script;
}

// The program's folder as AppPath gives it: without a trailing separator.
std::string FolderWithoutSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

void WriteSnapshot(const std::filesystem::path& out, const std::string& name) {
  std::string error;
  if (!SaveBmpFile(Main().Snapshot(), (out / (name + ".bmp")).string(), &error))
    throw std::runtime_error("cannot write snapshot " + name + ".bmp: " + error);
  std::ofstream json(out / (name + ".json"), std::ios::binary);
  json << GameStateJson() << '\n';
  json.close();
  if (!json) throw std::runtime_error("cannot write snapshot " + name + ".json");
}

// Runs the game to its end or to the script's end; returns the reason for the trace.
std::string RunGame() {
  try {
    StartUp();
  } catch (const ProgramEnded&) {
    return "ended";
  } catch (const ReplayEndReached&) {
    return "time";
  }
}

int Replay(const Arguments& arguments, const ReplayScript& script) {
  std::error_code error;
  if (!std::filesystem::is_directory(arguments.folder, error)) {
    std::fprintf(stderr, "fumbo-replay: %s is not a folder\n", arguments.folder.c_str());
    return kExitFailure;
  }
  std::filesystem::create_directories(arguments.out, error);
  if (!std::filesystem::is_directory(arguments.out, error)) {
    std::fprintf(stderr, "fumbo-replay: cannot make the folder %s\n", arguments.out.c_str());
    return kExitFailure;
  }
  std::ofstream traceFile;
  if (!arguments.trace.empty()) {
    traceFile.open(arguments.trace, std::ios::binary | std::ios::trunc);
    if (!traceFile) {
      std::fprintf(stderr, "fumbo-replay: cannot write %s\n", arguments.trace.c_str());
      return kExitFailure;
    }
  }
  HeadlessBackend backend({.clock = script.clock,
                           .seed = script.seed,
                           .programFolder = FolderWithoutSeparator(arguments.folder),
                           .traceSink = arguments.trace.empty() ? nullptr : &traceFile,
                           .keepTrace = false});
  backend.LoadScript(script);
  // A value that only the state at its time refuses (a pair moved out of the well) stops the
  // run as a script error of its line.
  backend.SetStateSetter([](const ScriptEvent& event) {
    if (auto error = SetGameStateVariable(event.words); !error.empty())
      throw ScriptError(event.line, error);
  });
  const std::filesystem::path out = arguments.out;
  backend.SetSnapshotTaker([&out](const std::string& name) { WriteSnapshot(out, name); });
  SetBackend(&backend);
  int status = 0;
  try {
    backend.RecordEnd(RunGame());
  } catch (const ScriptError& error) {
    std::fprintf(stderr, "fumbo-replay: %s, %s\n", arguments.script.c_str(), error.what());
    status = kExitBadScript;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "fumbo-replay: at %llu ms: %s\n",
                 static_cast<unsigned long long>(backend.Elapsed()), failure.what());
    status = kExitFailure;
  } catch (...) {
    std::fprintf(stderr, "fumbo-replay: at %llu ms: the program failed\n",
                 static_cast<unsigned long long>(backend.Elapsed()));
    status = kExitFailure;
  }
  if (backend.Trace().Failed()) {
    std::fprintf(stderr, "fumbo-replay: cannot write %s\n", arguments.trace.c_str());
    status = kExitFailure;
  }
  // The player of a run stopped by the clock is still open: release it while the back end
  // is there, out of the record.
  backend.Trace().Close();
  ReleaseBgmPlayer();
  SetBackend(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  auto arguments = ParseArguments(argc, argv);
  if (!arguments) {
    PrintUsage();
    return kExitFailure;
  }
  ReplayScript script;
  try {
    script = ReadScript(arguments->script);
  } catch (const ScriptError& error) {
    if (error.Line() == 0)
      std::fprintf(stderr, "fumbo-replay: %s: cannot open the script\n", arguments->script.c_str());
    else
      std::fprintf(stderr, "fumbo-replay: %s, %s\n", arguments->script.c_str(), error.what());
    return kExitBadScript;
  }
  return Replay(*arguments, script);
}
