// The winmm and kernel32 calls of the sound and music code: PlaySoundA, mciSendStringA,
// GetShortPathNameA and GetVersionExA.
#include <cstring>

#include "platform/audio/mci_interpreter.h"
#include "platform/audio/short_path.h"
#include "platform/audio/sound_system.h"
#include "platform/audio/version_info.h"
#include "platform/file_access.h"
#include "platform/json_text.h"
#include "platform/system.h"

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int PlaySoundA(const char* path, void* module, std::uint32_t flags) {
  (void)module;
  (void)flags;  // every effect of the game is asynchronous
  const std::string gamePath = path == nullptr ? std::string() : std::string(path);
  const std::string native = NativePath(gamePath);
  EffectFailure failure;
  const bool played = CurrentBackend().Sound().PlayEffect(native, &failure);
  CurrentBackend().Record({"\"ev\":\"sound\",\"name\":" + JsonQuote(BaseName(gamePath)) +
                           ",\"missing\":" + (failure.missing ? "true" : "false")});
  if (played) return 1;
  TellUnusableOnce("sound effect", native, failure.why);
  return 0;
}

std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                             void* callbackWindow) {
  (void)callbackWindow;
  const std::string text = command == nullptr ? std::string() : std::string(command);
  if (returnString != nullptr && returnLength > 0) returnString[0] = '\0';
  const std::size_t capacity = returnString == nullptr ? 0 : returnLength;
  std::string reply;
  const std::uint32_t result =
      TheMciInterpreter().Execute(text, capacity, reply, CurrentBackend().Sound());
  if (!reply.empty()) std::memcpy(returnString, reply.c_str(), reply.size() + 1);
  CurrentBackend().Record({"\"ev\":\"mci\",\"cmd\":" + JsonQuote(text) + ",\"ret\":" +
                           std::to_string(result) + ",\"reply\":" + JsonQuote(reply)});
  return result;
}

std::uint32_t GetShortPathNameA(const char* longPath, char* shortPath, std::uint32_t length) {
  if (shortPath != nullptr && length > 0) shortPath[0] = '\0';
  if (longPath == nullptr) return 0;
  // Only the music player asks for short names: a path without one is a tune that cannot
  // play.
  const std::string native = NativePath(longPath);
  std::string result = ShortPathOf(native);
  if (result.empty()) {
    TellUnusableOnce("tune", native, "no such file");
    return 0;
  }
  // A path too long for the buffer takes the alias of each long name too.
  if (shortPath != nullptr && result.size() + 1 > length) {
    const std::string shorter = ShortPathOf(native, true);
    if (shorter.size() + 1 <= length) {
      result = shorter;
    } else {
      TellUnusableOnce("tune", native,
                       "its path is too long for the music player even in short form (" +
                           std::to_string(shorter.size()) + " characters, " +
                           std::to_string(length > 0 ? length - 1 : 0) + " at most)");
    }
  }
  // Too small a buffer: the size needed, with its NUL, and nothing written.
  if (shortPath == nullptr || result.size() + 1 > length)
    return static_cast<std::uint32_t>(result.size() + 1);
  std::memcpy(shortPath, result.c_str(), result.size() + 1);
  return static_cast<std::uint32_t>(result.size());
}

int GetVersionExA(OSVERSIONINFO* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) return 0;
  info->dwMajorVersion = 5;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 2600;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
  return 1;
}
