// The system calls of the game, under the names of the calls they stand in for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.h"

// Milliseconds since boot, 32-bit, wrapping. Elapsed = TickSince(start).
std::uint32_t GetTickCount();
inline std::uint32_t TickSince(std::uint32_t start) { return GetTickCount() - start; }
// One spin of a waiting loop: every busy wait of the game calls it.
void Idle();
// The same, for a wait that still has `msLeft` milliseconds to go: the real back end sleeps
// longer between looks, keeping the deadline; the headless one still moves 1 ms.
void Idle(std::uint32_t msLeft);
// Waits until `ms` milliseconds have passed since `start` (modulo 2^32), through Idle.
void WaitSince(std::uint32_t start, std::uint32_t ms);
// Runs the pending window events and returns.
void DoEvents();

// The random generator: seeded once (Randomize), uniform single precision in [0, 1).
void Randomize();
void RandomizeWith(std::uint32_t seed);
float Rnd();

// The program's folder, without a trailing separator.
std::string AppPath();
// The game joins the folder and a name with a backslash ("\\Game.mid"); this gives the path
// the file system understands: that backslash (the last one, with no '/' after it) becomes '/',
// and the folder's name stays as it is.
std::string NativePath(std::string path);

// Never returns.
[[noreturn]] void End();

// Modal message box, texts in UTF-8; an empty caption shows the program's title "#Fumbo2".
MsgBoxAnswer MsgBox(const std::string& text, MsgBoxButtons buttons,
                    const std::string& caption = "");

// Sound effect, asynchronous; one at a time.
constexpr std::uint32_t SND_ASYNC = 0x0001;
int PlaySoundA(const char* path, void* module, std::uint32_t flags);

// MCI command strings (platform/audio/mci_interpreter.h holds the interpreter).
std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                             void* callbackWindow);
// Short form of a path that the MCI open command accepts; 0 (and empty) when the file does
// not exist. Returns the length written, as the original.
std::uint32_t GetShortPathNameA(const char* longPath, char* shortPath, std::uint32_t length);

// The two record files of the program's folder, opened for reading and writing (created when
// missing, never truncated), the record at the first byte; their reads and writes recorded.
// Reads up to `length` bytes (fewer from a shorter file); a file that cannot be written is
// still read. Returns false when it cannot be opened or read (the bytes are then empty).
bool ReadRecordFile(const std::string& path, std::size_t length, std::vector<std::uint8_t>& bytes,
                    std::string* error = nullptr);
// Writes `bytes` over the first bytes of the file, keeping everything beyond them, and puts
// them on the disk. Returns false with the reason in *error; a write cut short is undone, so
// the file then holds its old bytes (the reason says so, or that even that failed).
bool WriteRecordFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     std::string* error = nullptr);
