// Files of the program's folder, opened so that nothing ever waits on them: a FIFO, a device
// or a folder where the game expects a file is refused at once instead of blocking it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The error of an open that found something other than a regular file.
constexpr int kNotRegularFile = -1;

// An open file descriptor, closed when the handle goes.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  explicit operator bool() const { return fd_ >= 0; }
  int Get() const { return fd_; }
  // The size of the open file; null when the system cannot tell it.
  std::optional<std::uint64_t> Size() const;
  // Closes now; false with errno's value in `error` when the system reports a failure.
  bool Close(int& error);

 private:
  int fd_ = -1;
};

// Opens `path` with `flags` (O_RDONLY or O_RDWR, maybe O_CREAT: then 0666 less the umask) and
// keeps it only when it is a regular file. Links are followed. On failure the handle is empty
// and `error` holds errno's value or kNotRegularFile.
FileHandle OpenRegularFile(const std::string& path, int flags, int& error);
// What an error of the functions here means, in words.
std::string FileErrorText(int error);

// Why a file that the game could not open or read is of no use, for a message, from the error
// of the attempt: "no such file", "not a regular file", "larger than 1 MB" (ReadSmallFile's
// refusal, with the limit it was given), or the system's reason ("Permission denied").
std::string UnusableFileReason(int error, std::size_t limit = 0);
// Whether the error of an open means that there is no regular file at the path.
bool NoRegularFileThere(int error);

// Up to `length` bytes into `to` from the file's byte `offset` on; `done` says how many, fewer
// only when the file ends before.
bool ReadAt(int fd, std::uint64_t offset, std::uint8_t* to, std::size_t length, std::size_t& done,
            int& error);
// Exactly `length` bytes into `to` from the file's byte `offset` on; false when the file ends
// before or cannot be read.
bool ReadExactlyAt(int fd, std::uint64_t offset, std::uint8_t* to, std::size_t length);
// Up to `length` bytes from the file's first byte; fewer when the file is shorter.
bool ReadFromStart(int fd, std::size_t length, std::vector<std::uint8_t>& bytes, int& error);
// `bytes` over the file's first bytes, on the disk when it returns true; everything beyond
// them stays as it is. A write the system refuses or cuts short (a file-size limit, a full
// disk, an error part-way or at the flush) is undone: the old bytes of that range, read first,
// go back, and a file that was shorter than `bytes` gets its old length again. `undone` is
// false when even that failed. A file-size limit makes the write fail, never ends the program.
bool WriteAtStart(int fd, const std::vector<std::uint8_t>& bytes, int& error, bool& undone);

// The whole of a regular file, refused (error EFBIG) when it is longer than `limit`.
bool ReadSmallFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes,
                   int& error);

// A write that fails must fail alone, not end the program and the exit's save with it: a
// pipe whose reader has gone (standard error's, say) and the file-size limit would each end it
// by signal, a record half written. Both signals are ignored unless someone handles them;
// a failed write then returns EPIPE or EFBIG like any other failure.
void LetFailedWritesFailAlone();

// Says "fumbo2: LINE" on standard error once for each key (for each line when no key is
// given). The game never looks at the results of its sound and music calls, so this is where a
// player learns why something is silent.
void TellOnce(const std::string& line, const std::string& key = {});
// "fumbo2: cannot play the tune PATH: REASON", once for each file.
void TellUnusableOnce(const std::string& what, const std::string& path, const std::string& reason);
