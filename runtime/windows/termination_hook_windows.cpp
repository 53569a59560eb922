// Ctrl+C, Ctrl+Break and the console's end through a console control handler, which the
// system calls on a thread it starts for each event.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <utility>

#include "runtime/platform.h"

namespace vardelle {
namespace {

// Once the handler of a close, log-off or shut-down returns, the system ends the process (and
// after 5 s at the latest), so the handler gives the program this long to end its own way.
constexpr auto kClosingWait = std::chrono::seconds(4);

struct HookState {
  std::mutex mutex;
  std::condition_variable released;
  std::function<void()> onRequest;  // empty while nothing is hooked
  bool requested = false;
};

// Never destroyed: the system may call the handler while the process ends.
HookState& State() {
  static auto* const state = new HookState;
  return *state;
}

bool EndsProcessOnReturn(DWORD event) {
  return event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
}

// FALSE hands the event on to the next handler, the system's, which ends the process.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  HookState& state = State();
  std::unique_lock lock(state.mutex);
  if (!state.onRequest || state.requested) return FALSE;
  state.requested = true;
  try {
    state.onRequest();
  } catch (const std::exception&) {
    return FALSE;
  }
  if (EndsProcessOnReturn(event)) {
    state.released.wait_for(lock, kClosingWait, [&state] { return !state.onRequest; });
  }
  return TRUE;
}

class ConsoleHook final : public TerminationHook {
 public:
  ~ConsoleHook() override {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    HookState& state = State();
    std::lock_guard guard(state.mutex);
    state.onRequest = nullptr;
    state.released.notify_all();
  }
};

}  // namespace

std::unique_ptr<TerminationHook> HookTerminationRequests(std::function<void()> onRequest) {
  HookState& state = State();
  std::lock_guard guard(state.mutex);
  if (state.onRequest || !onRequest || !SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
    return nullptr;
  }
  state.onRequest = std::move(onRequest);
  state.requested = false;
  return std::make_unique<ConsoleHook>();
}

}  // namespace vardelle
