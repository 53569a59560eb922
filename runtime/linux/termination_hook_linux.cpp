// SIGINT and SIGTERM through a self-pipe: the handler may do next to nothing, so it writes a
// byte that the hook's thread reads and turns into the call.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "runtime/platform.h"

namespace vardelle {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};
constexpr int kSignalCount = 2;
constexpr char kRequestByte = 1;
constexpr char kEndByte = 0;

// Made once and never closed: a handler that runs on another thread while a hook goes must
// never write to a descriptor that was closed and reused. The read end does not block.
int pipeEnds[2] = {-1, -1};
// Read by the handler; set before it is installed.
struct sigaction previousActions[kSignalCount];
volatile std::sig_atomic_t requested = 0;
std::atomic<bool> hooked{false};

bool OpenPipeOnce() {
  static std::once_flag opened;
  std::call_once(opened, [] {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) pipeEnds[0] = pipeEnds[1] = -1;
  });
  return pipeEnds[0] >= 0;
}

void Send(char byte) {
  const int savedErrno = errno;
  [[maybe_unused]] const auto written = write(pipeEnds[1], &byte, 1);
  errno = savedErrno;
}

void OnSignal(int signal) {
  if (!requested) {
    requested = 1;
    Send(kRequestByte);
    return;
  }
  for (int i = 0; i < kSignalCount; ++i) {
    if (kSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
  }
  raise(signal);
}

// Bytes left from a hook before this one.
void Drain() {
  char byte = 0;
  while (read(pipeEnds[0], &byte, 1) > 0) {
  }
}

// Waits for the pipe's bytes: the first request is passed on, the end byte ends the thread.
void ServeRequests(const std::function<void()>& onRequest) {
  for (;;) {
    pollfd waiting{pipeEnds[0], POLLIN, 0};
    if (poll(&waiting, 1, -1) < 0 && errno != EINTR) return;
    char byte = 0;
    while (read(pipeEnds[0], &byte, 1) > 0) {
      if (byte == kEndByte) return;
      try {
        onRequest();
      } catch (const std::exception&) {
        // The request is dropped; a second one ends the process.
      }
    }
  }
}

bool IsIgnored(const struct sigaction& action) {
  return !(action.sa_flags & SA_SIGINFO) && action.sa_handler == SIG_IGN;
}

class SignalHook final : public TerminationHook {
 public:
  explicit SignalHook(std::function<void()> onRequest)
      : thread_([request = std::move(onRequest)] { ServeRequests(request); }) {
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) {
      sigaction(kSignals[i], nullptr, &previousActions[i]);
      installed_[i] =
          !IsIgnored(previousActions[i]) && sigaction(kSignals[i], &action, nullptr) == 0;
    }
  }

  ~SignalHook() override {
    for (int i = 0; i < kSignalCount; ++i) {
      if (installed_[i]) sigaction(kSignals[i], &previousActions[i], nullptr);
    }
    Send(kEndByte);
    thread_.join();
    hooked = false;
  }

 private:
  std::thread thread_;
  bool installed_[kSignalCount] = {};
};

}  // namespace

std::unique_ptr<TerminationHook> HookTerminationRequests(std::function<void()> onRequest) {
  if (!OpenPipeOnce() || hooked.exchange(true)) return nullptr;
  Drain();
  requested = 0;
  try {
    return std::make_unique<SignalHook>(std::move(onRequest));
  } catch (const std::exception&) {
    hooked = false;  // no thread to be had
    return nullptr;
  }
}

}  // namespace vardelle
