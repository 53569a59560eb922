#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/files/file_access.h"

namespace vardelle {
namespace {

// Closes a descriptor at scope end unless it was handed on.
class Descriptor {
 public:
  explicit Descriptor(int opened) : fd(opened) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd; }
  // Closes now and reports whether the close succeeded, which is where some file systems
  // report a failed write.
  bool Close() {
    const int result = ::close(fd);
    fd = -1;
    return result == 0;
  }

 private:
  int fd;
};

bool ReadAll(int fd, std::string& contents) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    contents.append(buffer, static_cast<std::size_t>(got));
  }
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t put = ::write(fd, contents.data(), contents.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    contents.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// A fresh file beside path, created exclusively so two writers never share one; the umask
// applies as it would to a plain new file.
int CreateSiblingFile(const Text& path, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool FillSiblingFile(Descriptor& file, const Text& path, std::string_view contents) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && ::fchmod(file.Get(), old.st_mode & 07777) != 0) {
    return false;
  }
  return WriteAll(file.Get(), contents) && ::fsync(file.Get()) == 0 && file.Close();
}

// A zero byte would silently cut the path short at the system call.
bool IsUsablePath(const Text& path) { return !path.empty() && path.find('\0') == Text::npos; }

bool IsRegularFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Writes go to the file that a symbolic link names, as writing through the link would, and
// leave the link in place.
Text ResolvedTarget(const Text& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  Text target(resolved);
  std::free(resolved);
  return target;
}

}  // namespace

// Opened without blocking and refused unless it is a regular file, so a pipe or device
// named by the caller can never stall the read.
std::optional<std::string> ReadWholeFile(const Text& path, bool missingIsEmpty) {
  if (!IsUsablePath(path)) return std::nullopt;
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) {
    if (missingIsEmpty && errno == ENOENT) return std::string();
    return std::nullopt;
  }
  std::string contents;
  if (!IsRegularFile(file.Get()) || !ReadAll(file.Get(), contents)) return std::nullopt;
  return contents;
}

bool ReplaceWholeFile(const Text& given, std::string_view contents) {
  if (!IsUsablePath(given)) return false;
  const Text path = ResolvedTarget(given);
  std::string name;
  Descriptor file(CreateSiblingFile(path, name));
  if (file.Get() < 0) return false;
  if (FillSiblingFile(file, path, contents) && ::rename(name.c_str(), path.c_str()) == 0) {
    return true;
  }
  ::unlink(name.c_str());
  return false;
}

bool CreateDirectories(const Text& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

}  // namespace vardelle
