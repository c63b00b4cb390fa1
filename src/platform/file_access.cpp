#include "platform/file_access.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::uint64_t> FileHandle::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

bool FileHandle::Close(int& error) {
  if (fd_ < 0) return true;
  // Never retried: the descriptor is gone whatever close answers.
  const int result = ::close(fd_);
  fd_ = -1;
  if (result == 0 || errno == EINTR) return true;
  error = errno;
  return false;
}

FileHandle OpenRegularFile(const std::string& path, int flags, int& error) {
  // Non-blocking, so that opening a FIFO or a device returns at once.
  const int openFlags = flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = -1;
  do {
    fd = ::open(path.c_str(), openFlags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    // A socket, or a device without its driver: nothing a file of the game can be.
    error = errno == ENXIO ? kNotRegularFile : errno;
    return FileHandle();
  }
  FileHandle file(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    error = errno;
    return FileHandle();
  }
  if (!S_ISREG(info.st_mode)) {
    error = kNotRegularFile;
    return FileHandle();
  }
  // A regular file reads and writes as usual from here on.
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    error = errno;
    return FileHandle();
  }
  return file;
}

std::string FileErrorText(int error) {
  return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

std::string UnusableFileReason(int error, std::size_t limit) {
  if (error == ENOENT) return "no such file";
  if (error == EFBIG && limit > 0)
    return "larger than " + (limit % (1 << 20) == 0 ? std::to_string(limit >> 20) + " MB"
                                                    : std::to_string(limit) + " bytes");
  return FileErrorText(error);
}

bool NoRegularFileThere(int error) {
  return error == ENOENT || error == ENOTDIR || error == kNotRegularFile;
}

bool ReadAt(int fd, std::uint64_t offset, std::uint8_t* to, std::size_t length, std::size_t& done,
            int& error) {
  done = 0;
  while (done < length) {
    const ssize_t got = ::pread(fd, to + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = errno;
      return false;
    }
    if (got == 0) break;  // the end of a shorter file
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool ReadExactlyAt(int fd, std::uint64_t offset, std::uint8_t* to, std::size_t length) {
  std::size_t done = 0;
  int error = 0;
  return ReadAt(fd, offset, to, length, done, error) && done == length;
}

bool ReadFromStart(int fd, std::size_t length, std::vector<std::uint8_t>& bytes, int& error) {
  bytes.assign(length, 0);
  std::size_t done = 0;
  const bool read = ReadAt(fd, 0, bytes.data(), length, done, error);
  bytes.resize(read ? done : 0);
  return read;
}

namespace {

// Writes `data` over the file's first bytes as far as the system lets it; the count written.
// Short of `length`, `error` says why.
std::size_t WriteFromStart(int fd, const std::uint8_t* data, std::size_t length, int& error) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t put = ::pwrite(fd, data + done, length - done, static_cast<off_t>(done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error = put < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(put);
  }
  return done;
}

bool Sync(int fd, int& error) {
  if (::fsync(fd) == 0) return true;
  error = errno;
  return false;
}

}  // namespace

void LetFailedWritesFailAlone() {
  for (int number : {SIGPIPE, SIGXFSZ}) {
    struct sigaction current {};
    if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
      ::signal(number, SIG_IGN);
  }
}

bool WriteAtStart(int fd, const std::vector<std::uint8_t>& bytes, int& error, bool& undone) {
  undone = true;
  LetFailedWritesFailAlone();
  std::vector<std::uint8_t> old;
  if (!ReadFromStart(fd, bytes.size(), old, error)) return false;
  const std::size_t done = WriteFromStart(fd, bytes.data(), bytes.size(), error);
  if (done == bytes.size() && Sync(fd, error)) return true;
  // Put back what was written over, and the old length of a shorter file that grew.
  int undoError = 0;
  const std::size_t over = std::min(done, old.size());
  undone = WriteFromStart(fd, old.data(), over, undoError) == over;
  if (done > old.size()) undone = ::ftruncate(fd, static_cast<off_t>(old.size())) == 0 && undone;
  undone = Sync(fd, undoError) && undone;
  return false;
}

bool ReadSmallFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes,
                   int& error) {
  bytes.clear();
  FileHandle file = OpenRegularFile(path, O_RDONLY, error);
  if (!file) return false;
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) {
    error = errno;
    return false;
  }
  if (*size > limit) {
    error = EFBIG;
    return false;
  }
  return ReadFromStart(file.Get(), static_cast<std::size_t>(*size), bytes, error);
}

void TellOnce(const std::string& line, const std::string& key) {
  static std::set<std::string> told;
  if (told.insert(key.empty() ? line : key).second)
    std::fprintf(stderr, "fumbo2: %s\n", line.c_str());
}

void TellUnusableOnce(const std::string& what, const std::string& path, const std::string& reason) {
  TellOnce("cannot play the " + what + " " + path + ": " + reason, path);
}
