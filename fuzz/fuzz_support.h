// Shared set-up of the fuzz targets: a headless back end whose program folder is a private
// scratch folder, so every target runs the real platform code without a screen or speakers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class HeadlessBackend;

// The back end of this process, installed on first use; its folder is ScratchFolder().
HeadlessBackend& FuzzBackend();
// A fresh folder under the system's temporary folder, made once per process.
const std::string& ScratchFolder();
// Writes `bytes` to `path` whole (truncating); aborts when it cannot, since every later
// result would be meaningless.
void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
// Stops the run with a message: a property the target checks does not hold.
[[noreturn]] void FuzzFailure(const char* what);
