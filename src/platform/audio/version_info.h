// The operating-system version query the music player uses to tell platform families
// apart. We answer as the NT family.
#pragma once

#include <cstdint>

constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
  std::uint32_t dwOSVersionInfoSize = 0;  // 148: set by the caller
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

// Fills the record; nonzero on success, 0 when the size field is not that of the record.
int GetVersionExA(OSVERSIONINFO* info);
