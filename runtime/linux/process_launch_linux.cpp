#include "runtime/linux/process_launch_linux.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace vardelle {
namespace {

// The search path when the environment has none, as the C library's own lookup uses.
constexpr std::string_view kDefaultSearchPath = "/bin:/usr/bin";

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// The file that runs for name: name itself when it holds a '/', otherwise the first
// executable file of that name in a directory of PATH (an empty entry is the current
// directory); "" when there is none.
std::string ProgramPath(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
  const char* variable = std::getenv("PATH");
  std::string_view directories = variable ? variable : kDefaultSearchPath;
  while (true) {
    const size_t end = std::min(directories.find(':'), directories.size());
    const std::string_view directory = directories.substr(0, end);
    const std::string candidate = std::string(directory.empty() ? "." : directory) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (end == directories.size()) return "";
    directories.remove_prefix(end + 1);
  }
}

// exec's argument vector, built before the fork: the child may make only
// async-signal-safe calls, so it must not allocate.
class ExecArguments {
 public:
  explicit ExecArguments(const std::vector<std::string>& argv) : words_(argv) {
    for (std::string& word : words_) pointers_.push_back(word.data());
    pointers_.push_back(nullptr);
  }
  char* const* Vector() const { return pointers_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
};

// exec would cut such an argument short and hand the program another text than asked.
bool HasZeroByte(const std::vector<std::string>& argv) {
  return std::any_of(argv.begin(), argv.end(),
                     [](const std::string& word) { return word.find('\0') != std::string::npos; });
}

// In the child: tells the parent why the program did not start, and ends.
[[noreturn]] void ReportFailure(int errorPipe) {
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(errorPipe, &error, sizeof error);
  ::_exit(127);
}

// Our descriptors (sockets, the window system's connection) stay ours: every one above
// standard error closes when the program starts.
void CloseDescriptorsOnExec() {
  if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  // Kernels before 5.11 lack the flag: mark them one by one.
  rlimit limit{};
  constexpr rlim_t kMostDescriptors = 65536;
  const rlim_t count = ::getrlimit(RLIMIT_NOFILE, &limit) == 0
                           ? std::min(limit.rlim_cur, kMostDescriptors)
                           : kMostDescriptors;
  for (int fd = 3; static_cast<rlim_t>(fd) < count; ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// In the child. The program gets a clean signal state: our threads' masks and ignored
// signals would otherwise carry over, and a ping that ignores SIGPIPE or cannot be
// interrupted is not the system's ping.
[[noreturn]] void RunProgram(const char* path, char* const* argv, int errorPipe, bool detach) {
  if (detach) {
    // A session of its own and a parent that ends at once: the program outlives ours and
    // the system reaps it.
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) ReportFailure(errorPipe);
    if (grandchild > 0) ::_exit(0);
  }
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  CloseDescriptorsOnExec();
  ::execv(path, argv);
  ReportFailure(errorPipe);
}

// The child's report: the error that kept the program from starting, or 0 when the pipe
// closed empty (exec closed it).
int ReadStartError(int fd) {
  int error = 0;
  ssize_t got = 0;
  do {
    got = ::read(fd, &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

void Reap(pid_t child) {
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

bool PosixProcessLauncher::Start(const std::vector<std::string>& argv, bool waitForExit) {
  if (argv.empty() || HasZeroByte(argv)) return false;
  const std::string path = ProgramPath(argv[0]);
  if (path.empty()) return false;
  const ExecArguments arguments(argv);
  int errorPipe[2];
  if (::pipe2(errorPipe, O_CLOEXEC) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) RunProgram(path.c_str(), arguments.Vector(), errorPipe[1], !waitForExit);
  ::close(errorPipe[1]);
  const bool started = child > 0 && ReadStartError(errorPipe[0]) == 0;
  ::close(errorPipe[0]);
  // Without waiting this reaps the in-between child, which has ended by now.
  if (child > 0) Reap(child);
  return started;
}

bool PosixProcessLauncher::HasProgram(const std::string& name) {
  return !ProgramPath(name).empty();
}

std::optional<std::string> PosixProcessLauncher::Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::optional<std::string>(value) : std::nullopt;
}

// This system keeps no registry.
std::string ReadRegistryText(int, const std::string&, const std::string& defaultText) {
  return defaultText;
}

}  // namespace vardelle
