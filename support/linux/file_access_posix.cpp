#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/files/file_access.h"
#include "support/files/replacement_names.h"

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

constexpr mode_t kPrivateFile = 0600;
constexpr mode_t kPrivateFolder = 0700;
constexpr mode_t kOwnerBits = 0700;
constexpr mode_t kOthersBits = 0077;

// A fresh file beside path, created exclusively so two writers never share one, and the
// user's alone from the start: it will hold the whole contents.
int CreateSiblingFile(const Text& path, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = ReplacementName(path, static_cast<unsigned long>(::getpid()), ++counter);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateFile);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The owner's bits of the file being replaced; the umask is not asked, since it may leave
// the file open to others or closed to the user.
mode_t ReplacementMode(const Text& path) {
  struct stat old {};
  return ::stat(path.c_str(), &old) == 0 ? old.st_mode & kOwnerBits : kPrivateFile;
}

bool FillSiblingFile(Descriptor& file, const Text& path, std::string_view contents) {
  return ::fchmod(file.Get(), ReplacementMode(path)) == 0 && WriteAll(file.Get(), contents) &&
         ::fsync(file.Get()) == 0 && file.Close();
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

bool IsDirectory(const Text& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A folder made here gets 0700 whatever the umask; the mode is set through the folder
// opened without following links, so a name swapped in meanwhile is never changed.
void MakePrivateFolder(const Text& folder) {
  if (::mkdir(folder.c_str(), kPrivateFolder) != 0) return;
  const Descriptor made(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (made.Get() >= 0) ::fchmod(made.Get(), kPrivateFolder);
}

void NarrowToOwner(int folder, const char* name) {
  struct stat status {};
  if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return;
  if ((status.st_mode & kOthersBits) == 0) return;
  if (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)) {
    ::fchmodat(folder, name, status.st_mode & kOwnerBits, 0);
  }
}

// The names in the folder, without "." and "..".
std::vector<std::string> FolderEntries(int folder) {
  std::vector<std::string> names;
  const int listed = ::dup(folder);
  if (listed < 0) return names;
  DIR* listing = ::fdopendir(listed);
  if (listing == nullptr) {
    ::close(listed);
    return names;
  }
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(listing);
  return names;
}

// Another process (of any user) with that id runs; the id may have been taken by another
// program since, which only keeps a stale file until a later start. This process's own id
// is an earlier process's (in a container the program often gets the same one): this one
// has written nothing yet.
bool ProcessRuns(unsigned long process) {
  const auto id = static_cast<pid_t>(process);
  if (id <= 0 || static_cast<unsigned long>(id) != process || id == ::getpid()) return false;
  return ::kill(id, 0) == 0 || errno == EPERM;
}

// The folder and the bare name of path.
std::pair<Text, Text> SplitPath(const Text& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == Text::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool CreateDirectories(const Text& path) {
  if (!IsUsablePath(path)) return false;
  for (std::size_t slash = path.find('/', 1); slash != Text::npos;
       slash = path.find('/', slash + 1)) {
    MakePrivateFolder(path.substr(0, slash));
  }
  MakePrivateFolder(path);
  return IsDirectory(path);
}

// The folder first: once it is 0700 no other user can swap a file in it for a link before
// its mode is changed.
void KeepFolderPrivate(const Text& folder) {
  if (!IsUsablePath(folder)) return;
  const Descriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (opened.Get() < 0) return;
  NarrowToOwner(opened.Get(), ".");
  for (const std::string& name : FolderEntries(opened.Get())) {
    NarrowToOwner(opened.Get(), name.c_str());
  }
}

void RemoveInterruptedReplacements(const Text& path) {
  if (!IsUsablePath(path)) return;
  const auto [folder, file] = SplitPath(path);
  const Descriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (opened.Get() < 0) return;
  for (const std::string& name : FolderEntries(opened.Get())) {
    const std::optional<unsigned long> writer = ReplacementWriter(name, file);
    if (writer && !ProcessRuns(*writer)) ::unlinkat(opened.Get(), name.c_str(), 0);
  }
}

}  // namespace vardelle
