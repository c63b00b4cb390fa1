// The real back end: SDL2 windows, keyboard, presentation, message boxes and time.
#pragma once

#include <functional>
#include <memory>

class Backend;

// Installs the real back end, runs `program` (the game's start-up, which never returns) and
// ends the program. Without a display it says so on standard error and exits with status 1.
int RunWithSdlBackend(const char* argv0, std::function<void()> program);

// The real back end on an SDL video system that is already started (tests use SDL's dummy
// video driver). RunWithSdlBackend makes its own.
std::unique_ptr<Backend> CreateSdlBackend(const char* argv0);
