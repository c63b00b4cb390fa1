#include "platform/system.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/file_access.h"
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
  // Only the separator the game puts between the folder and the file's name, the last one
  // with no '/' after it: the folder's own names may hold a backslash, the file names none.
  const std::size_t joint = path.find_last_of("\\/");
  if (joint != std::string::npos && path[joint] == '\\') path[joint] = '/';
  return path;
}

void End() {
  CurrentBackend().End();
  std::abort();  // a back end's End never returns
}

MsgBoxAnswer MsgBox(const std::string& text, MsgBoxButtons buttons, const std::string& caption) {
  return CurrentBackend().MessageBox(text, buttons, caption.empty() ? "#Fumbo2" : caption);
}

namespace {

// Opened as the game opens it, for reading and writing, which creates a missing file. A file
// the player keeps read-only is still read.
FileHandle OpenForReading(const std::string& path, std::string& error) {
  int why = 0;
  FileHandle file = OpenRegularFile(path, O_RDWR | O_CREAT, why);
  if (file || why == kNotRegularFile) {
    if (!file) error = "cannot open " + path + ": " + FileErrorText(why);
    return file;
  }
  int readOnlyWhy = 0;
  file = OpenRegularFile(path, O_RDONLY, readOnlyWhy);
  if (!file)
    error = readOnlyWhy == ENOENT ? "cannot create " + path + ": " + FileErrorText(why)
                                  : "cannot open " + path + ": " + FileErrorText(readOnlyWhy);
  return file;
}

}  // namespace

bool ReadRecordFile(const std::string& gamePath, std::size_t length,
                    std::vector<std::uint8_t>& bytes, std::string* error) {
  const std::string path = NativePath(gamePath);
  bytes.clear();
  std::string why;
  FileHandle file = OpenForReading(path, why);
  int readError = 0;
  if (file && !ReadFromStart(file.Get(), length, bytes, readError))
    why = "cannot read " + path + ": " + FileErrorText(readError);
  RecordFile(path, "read", bytes);
  if (why.empty()) return true;
  if (error) *error = why;
  return false;
}

bool WriteRecordFile(const std::string& gamePath, const std::vector<std::uint8_t>& bytes,
                     std::string* error) {
  const std::string path = NativePath(gamePath);
  int why = 0;
  FileHandle file = OpenRegularFile(path, O_RDWR | O_CREAT, why);
  if (!file) {
    if (error) *error = "cannot open " + path + " for writing: " + FileErrorText(why);
    return false;
  }
  // On the disk before the game says it is saved; a write cut short leaves the old record.
  bool undone = true;
  const bool written = WriteAtStart(file.Get(), bytes, why, undone);
  int closeWhy = 0;
  const bool closed = file.Close(closeWhy);
  if (!written || !closed) {
    if (error) {
      *error = "cannot write " + path + ": " + FileErrorText(written ? closeWhy : why);
      if (!written)
        *error += undone ? "; the file is left as it was" : "; its old bytes could not be put back";
    }
    return false;
  }
  RecordFile(path, "write", bytes);
  return true;
}
