#include "platform/system.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/json_text.h"

namespace {

Backend* gBackend = nullptr;

// The generator: the classic 24-bit linear congruential sequence of the desktop's BASIC,
// which gives exactly representable single-precision values in [0, 1).
std::uint32_t gRandomState = 0x50000;

std::string BaseName(const std::string& path) {
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void RecordFile(const std::string& path, const char* op, const std::vector<std::uint8_t>& bytes) {
  CurrentBackend().Record({"\"ev\":\"file\",\"name\":" + JsonQuote(BaseName(path)) + ",\"op\":\"" +
                           op + "\",\"bytes\":\"" + HexBytes(bytes) + "\""});
}

}  // namespace

void SetBackend(Backend* backend) { gBackend = backend; }

Backend& CurrentBackend() {
  if (gBackend == nullptr) {
    std::fprintf(stderr, "fumbo2: no platform back end installed\n");
    std::abort();
  }
  return *gBackend;
}

std::uint32_t GetTickCount() { return CurrentBackend().TickCount(); }
void Idle() { CurrentBackend().Idle(); }
void Idle(std::uint32_t msLeft) { CurrentBackend().IdleFor(msLeft); }
void DoEvents() { CurrentBackend().PumpEvents(); }

void WaitSince(std::uint32_t start, std::uint32_t ms) {
  for (;;) {
    const auto elapsed = static_cast<std::uint32_t>(GetTickCount() - start);
    if (elapsed >= ms) break;
    Idle(ms - elapsed);
  }
}

void RandomizeWith(std::uint32_t seed) {
  // Spread the seed over the 24 bits of state (splitmix finaliser).
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  gRandomState = static_cast<std::uint32_t>(z) & 0xFFFFFF;
}

void Randomize() { RandomizeWith(CurrentBackend().RandomSeed()); }

float Rnd() {
  gRandomState = (gRandomState * 1140671485u + 12820163u) & 0xFFFFFF;
  return static_cast<float>(gRandomState) / 16777216.0f;
}

std::string AppPath() { return CurrentBackend().ProgramFolder(); }

std::string NativePath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

void End() {
  CurrentBackend().End();
  std::abort();  // a back end's End never returns
}

MsgBoxAnswer MsgBox(const std::string& text, MsgBoxButtons buttons, const std::string& caption) {
  return CurrentBackend().MessageBox(text, buttons, caption.empty() ? "#Fumbo2" : caption);
}

bool ReadRecordFile(const std::string& gamePath, std::vector<std::uint8_t>& bytes,
                    std::string* error) {
  const std::string path = NativePath(gamePath);
  bytes.clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    // Opening for random access creates the file.
    std::ofstream create(path, std::ios::binary);
    if (!create) {
      if (error) *error = "cannot create " + path + ": " + std::strerror(errno);
      RecordFile(path, "read", bytes);
      return false;
    }
  }
  std::ifstream in(path, std::ios::binary);
  if (!in || !std::filesystem::is_regular_file(path, ec)) {
    if (error) *error = "cannot open " + path + ": " + (in ? "not a file" : std::strerror(errno));
    RecordFile(path, "read", bytes);
    return false;
  }
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure& failure) {  // the stream library throws on EIO
    bytes.clear();
    if (error) *error = "cannot read " + path + ": " + failure.what();
    RecordFile(path, "read", bytes);
    return false;
  }
  RecordFile(path, "read", bytes);
  return true;
}

bool ReplaceRecordFile(const std::string& gamePath, const std::vector<std::uint8_t>& bytes,
                       std::string* error) {
  const std::string path = NativePath(gamePath);
  const std::string temp = path + ".new";
  {
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) {
      if (error) *error = "cannot write " + temp + ": " + std::strerror(errno);
      return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    // On the disk before it takes the old file's place, so a power cut leaves one or the other.
    ok = (fsync(fileno(f)) == 0) && ok;
    int saved = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
      if (error) *error = "cannot write " + temp + ": " + std::strerror(saved ? saved : errno);
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    if (error) *error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  RecordFile(path, "write", bytes);
  return true;
}
