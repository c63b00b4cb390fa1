// Placeholder until the audio service is written.
#include <cstdlib>

#include "platform/audio/sound_system.h"
#include "platform/system.h"

std::unique_ptr<SoundSystem> CreateVirtualSoundSystem(std::function<std::uint32_t()>) {
  return nullptr;
}
std::unique_ptr<SoundSystem> CreateSdlSoundSystem() { return nullptr; }
int PlaySoundA(const char*, void*, std::uint32_t) { return 0; }
std::uint32_t mciSendStringA(const char*, char* r, std::uint32_t n, void*) {
  if (r != nullptr && n > 0) r[0] = 0;
  return 263;
}
std::uint32_t GetShortPathNameA(const char*, char* s, std::uint32_t n) {
  if (s != nullptr && n > 0) s[0] = 0;
  return 0;
}
#include "platform/audio/version_info.h"
int GetVersionExA(OSVERSIONINFO* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) return 0;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  return 1;
}
