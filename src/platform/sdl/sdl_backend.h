// The real back end: SDL2 windows, keyboard, presentation, message boxes and time.
#pragma once

#include <functional>

// Installs the real back end, runs `program` (the game's start-up, which never returns) and
// ends the program. Without a display it says so on standard error and returns 1.
int RunWithSdlBackend(const char* argv0, std::function<void()> program);
