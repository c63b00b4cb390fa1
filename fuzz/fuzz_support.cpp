#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/headless/headless_backend.h"

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "fumbo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) FuzzFailure("cannot make a scratch folder");
    return pattern;
  }();
  return folder;
}

HeadlessBackend& FuzzBackend() {
  static HeadlessBackend* backend = [] {
    // Lives for the whole process: the fuzzer never returns from its loop normally.
    auto* made = new HeadlessBackend({.programFolder = ScratchFolder(), .keepTrace = false});
    SetBackend(made);
    return made;
  }();
  return *backend;
}

void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) FuzzFailure("cannot write a scratch file");
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::abort();
}
