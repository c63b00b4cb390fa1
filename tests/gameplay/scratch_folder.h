// A program folder of its own for each test process, so that whatever the game writes
// (the save files at its exit) never lands in the source tree or the build folder.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

inline std::string ScratchProgramFolder() {
  static const std::string folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("fumbo-gameplay-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path.string();
  }();
  return folder;
}
