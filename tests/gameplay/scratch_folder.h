// A program folder of its own for each test process, so that whatever the game writes
// (the save files at its exit) never lands in the source tree or the build folder. It is
// removed when the test program ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

inline std::string ScratchProgramFolder() {
  struct Folder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("fumbo-gameplay-test-" + std::to_string(::getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path.string();
}
