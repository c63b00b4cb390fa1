// The MCI command interpreter on arbitrary command strings, one a line, against the virtual
// sound system with the game's two tunes in the folder. The first byte of the input picks
// the reply buffer's size; bytes after the first NUL become the file Fuzzed.mid, so the
// sequencer also plays, seeks and reports on songs nobody wrote. Between commands the
// virtual clock moves on, so tunes play, end and get sought while they run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/audio/mci_interpreter.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

constexpr std::size_t kReplyBuffer = 256;
constexpr char kCanary = '\x5A';

// The tunes sit in the scratch folder, which is also the working folder, so that commands
// can name them by their plain names ("open Game.mid type sequencer alias midifile").
void PlaceTunes() {
  for (const char* name : {"Opening.mid", "Game.mid"}) {
    const std::filesystem::path from = std::filesystem::path(FUMBO_SOURCE_DIR) / "assets/music";
    std::filesystem::copy_file(from / name, std::filesystem::path(ScratchFolder()) / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
  if (chdir(ScratchFolder().c_str()) != 0) FuzzFailure("cannot enter the scratch folder");
}

void RunCommand(const std::string& command, std::uint32_t capacity) {
  char reply[kReplyBuffer + 1];
  std::memset(reply, kCanary, sizeof reply);
  const std::uint32_t result =
      mciSendStringA(command.c_str(), capacity ? reply : nullptr, capacity, nullptr);
  if (capacity == 0) return;
  const std::size_t length = strnlen(reply, capacity);
  if (length >= capacity) FuzzFailure("the reply is not terminated inside its buffer");
  if (result != 0 && length != 0) FuzzFailure("a failed command left a reply");
  if (reply[capacity] != kCanary) FuzzFailure("the reply ran past its buffer");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzBackend();
  PlaceTunes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint32_t capacity = data[0] % (kReplyBuffer + 1);
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t nul = std::min(rest.find('\0'), rest.size());
  const std::string_view song = rest.substr(std::min(nul + 1, rest.size()));
  WriteWholeFile(ScratchFolder() + "/Fuzzed.mid",
                 reinterpret_cast<const std::uint8_t*>(song.data()), song.size());
  rest = rest.substr(0, nul);
  HeadlessBackend& backend = FuzzBackend();
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    RunCommand(std::string(rest.substr(0, end)), capacity);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    for (int ms = 0; ms < 250; ++ms) backend.Idle();
  }
  // The next input starts with no device open.
  MciCloseAll();
  return 0;
}
