#include "runtime/linux/icmp_engine_helper_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <queue>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/linux/unique_fd.h"
#include "runtime/platform.h"
#include "runtime/probes/echo_pipe.h"
#include "runtime/probes/submission_inbox.h"

extern char** environ;

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr char kProgramName[] = "vardelle-ping";
constexpr char kServeOption[] = "--serve";
// The helper answers within milliseconds; a sanitizer build on a loaded machine within a
// few seconds.
constexpr auto kGreetingTimeout = std::chrono::seconds(20);
constexpr std::size_t kMostGreetingBytes = 1024;
constexpr std::size_t kReadChunk = 4096;
constexpr int kMostReadsPerWakeup = 64;  // then poll again, so stopping is never starved

std::string SystemErrorText(int error) {
  const char* description = strerrordesc_np(error);  // English whatever the locale
  return description != nullptr ? description : "error " + std::to_string(error);
}

// A descriptor numbered above standard error, so that putting the child's pipe ends in
// place as its standard input and output cannot overwrite one with the other (a program
// started with those closed gets its pipes there).
UniqueFd AboveStandardStreams(int fd) {
  UniqueFd original(fd);
  if (fd > STDERR_FILENO) return original;
  return UniqueFd(fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
}

struct Pipe {
  UniqueFd read;
  UniqueFd write;
};

std::optional<Pipe> OpenPipe() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  Pipe pipe{AboveStandardStreams(ends[0]), AboveStandardStreams(ends[1])};
  if (pipe.read.get() < 0 || pipe.write.get() < 0) return std::nullopt;
  return pipe;
}

// The child's start: its pipes as standard input and output, nothing else of ours open,
// no signal blocked, and SIGPIPE ending it when we are gone, whatever we ignore.
class SpawnSettings {
 public:
  SpawnSettings(int input, int output) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_adddup2(&actions_, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions_, output, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
    posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes_, &none);
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes_, &brokenPipe);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

// The running helper; ended and reaped with its owner.
class HelperChild {
 public:
  HelperChild(pid_t pid, UniqueFd input, UniqueFd output)
      : pid_(pid), input_(std::move(input)), output_(std::move(output)) {}
  // Closing its input would end it only after its echoes in flight, whose requests have
  // ended on this side by now; the kill spares the program's end that wait, and works on
  // a stopped child too.
  ~HelperChild() {
    input_.Reset();
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  HelperChild(const HelperChild&) = delete;
  HelperChild& operator=(const HelperChild&) = delete;

  int Input() const { return input_.get(); }
  int Output() const { return output_.get(); }

 private:
  const pid_t pid_;
  UniqueFd input_;
  const UniqueFd output_;
};

struct Spawned {
  std::unique_ptr<HelperChild> child;
  int error = 0;
};

// Starts program --serve from an argument vector: no shell, no search path.
Spawned SpawnServer(const std::string& program) {
  std::optional<Pipe> toChild = OpenPipe();
  std::optional<Pipe> fromChild = toChild ? OpenPipe() : std::nullopt;
  if (!fromChild) return {nullptr, errno};
  std::string path = program;
  std::string option = kServeOption;
  const std::array<char*, 3> arguments = {path.data(), option.data(), nullptr};
  pid_t pid = 0;
  int error = 0;
  {
    const SpawnSettings settings(toChild->read.get(), fromChild->write.get());
    error = posix_spawn(&pid, path.c_str(), settings.Actions(), settings.Attributes(),
                        arguments.data(), environ);
  }
  if (error != 0) return {nullptr, error};
  // Our ends never block the engine's thread; the child's ends are its own open files.
  fcntl(toChild->write.get(), F_SETFL, O_NONBLOCK);
  fcntl(fromChild->read.get(), F_SETFL, O_NONBLOCK);
  return {std::make_unique<HelperChild>(pid, std::move(toChild->write), std::move(fromChild->read)),
          0};
}

int PollMilliseconds(std::optional<steady_clock::time_point> until) {
  if (!until) return -1;
  const auto left = std::chrono::ceil<milliseconds>(*until - steady_clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
}

// The helper's first line, or nothing when it ended or said nothing whole in time.
std::optional<std::string> ReadGreeting(int fd) {
  const auto deadline = steady_clock::now() + kGreetingTimeout;
  std::string line;
  while (line.size() < kMostGreetingBytes) {
    char byte = 0;
    const ssize_t got = read(fd, &byte, 1);
    if (got == 1) {
      if (byte == '\n') return line;
      line.push_back(byte);
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
      return std::nullopt;
    } else if (errno == EAGAIN) {
      if (steady_clock::now() >= deadline) return std::nullopt;
      pollfd watched{fd, POLLIN, 0};
      poll(&watched, 1, PollMilliseconds(deadline));
    }
  }
  return std::nullopt;
}

// The engine's thread, each turn: wait for the helper's output, room in its input, a
// submission or the next overdue request; read every reply; take the submissions and write
// them as request lines; end the requests the helper has left unanswered past their time-out
// and kHelperReplyGrace. When the helper ends, every request waiting ends unanswered, and so
// does every later one.
class HelperProcessIcmpEngine final : public IcmpEngine {
 public:
  HelperProcessIcmpEngine(std::unique_ptr<HelperChild> child, UniqueFd wakeup)
      : child_(std::move(child)), wakeup_(std::move(wakeup)), thread_([this] { Run(); }) {}

  ~HelperProcessIcmpEngine() override {
    inbox_.Close();
    Wake();
    thread_.join();
  }

  void Send(Ipv4Address address, milliseconds timeout, EchoDone done) override {
    Submit(address, timeout, std::move(done));
  }

  void SendIpv6(const Ipv6Address& address, milliseconds timeout, EchoDone done) override {
    Submit(address, timeout, std::move(done));
  }

 private:
  struct Submission {
    EchoAddress address;
    milliseconds timeout;
    EchoDone done;
  };
  struct Pending {
    EchoDone done;
    steady_clock::time_point overdue;
  };
  struct Overdue {
    steady_clock::time_point at;
    std::uint32_t token;
    bool operator>(const Overdue& other) const { return at > other.at; }
  };

  void Submit(const EchoAddress& address, milliseconds timeout, EchoDone done) {
    auto posted = inbox_.Post({address, timeout, std::move(done)});
    CallEchoDone(posted.refused, std::nullopt);  // the engine is stopping: nothing goes out
    if (posted.wake) Wake();
  }

  void Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeup_.get(), &one, sizeof one);
  }

  void Run() {
    // A helper that is gone turns our writes into EPIPE here, not into the end of the program.
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);
    LineSplitter replies(kEchoPipeMostLineBytes);
    for (bool running = true; running;) {
      WaitForWork();
      ReadReplies(replies);
      running = TakeSubmissions();
      WriteRequests();
      ExpireOverdue(steady_clock::now());
    }
    EndAllPending();
  }

  void WaitForWork() {
    std::array<pollfd, 3> watched = {
        pollfd{wakeup_.get(), POLLIN, 0}, pollfd{alive_ ? child_->Output() : -1, POLLIN, 0},
        pollfd{alive_ && !outgoing_.empty() ? child_->Input() : -1, POLLOUT, 0}};
    if (poll(watched.data(), watched.size(), PollMilliseconds(NextOverdue())) > 0 &&
        watched[0].revents != 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] const auto got = read(wakeup_.get(), &count, sizeof count);
    }
  }

  void ReadReplies(LineSplitter& replies) {
    std::array<char, kReadChunk> chunk;
    for (int reads = 0; alive_ && reads < kMostReadsPerWakeup; ++reads) {
      const ssize_t got = read(child_->Output(), chunk.data(), chunk.size());
      if (got > 0) {
        replies.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(got)),
                     [this](std::string_view line, bool tooLong) {
                       if (!tooLong) Answer(line);
                     });
      } else if (got < 0 && errno == EINTR) {
        continue;
      } else if (got < 0 && errno == EAGAIN) {
        return;
      } else {
        HelperGone();  // it closed its output: it has ended
      }
    }
  }

  void Answer(std::string_view line) {
    const std::optional<EchoPipeReply> reply = ParseEchoReplyLine(line);
    if (!reply) return;
    const auto found = pending_.find(reply->token);
    if (found == pending_.end()) return;  // ended here already, as overdue
    EchoDone done = std::move(found->second.done);
    pending_.erase(found);
    CallEchoDone(done, reply->roundTrip);
  }

  // False once the engine is stopping; the submissions then end at once.
  bool TakeSubmissions() {
    SubmissionInbox<Submission>::Taken taken = inbox_.TakeAll();
    for (Submission& submission : taken.submissions) {
      if (taken.closed || !alive_ || pending_.size() >= kEchoPipeMostInFlight) {
        CallEchoDone(submission.done, std::nullopt);
      } else {
        Enter(submission);
      }
    }
    return !taken.closed;
  }

  // The helper takes time-outs up to kEchoPipeMostTimeout; a longer one waits that long.
  void Enter(Submission& submission) {
    while (pending_.contains(nextToken_)) ++nextToken_;
    const std::uint32_t token = nextToken_++;
    const milliseconds timeout =
        std::clamp(submission.timeout, milliseconds(0), milliseconds(kEchoPipeMostTimeout));
    const auto overdue = steady_clock::now() + timeout + kHelperReplyGrace;
    pending_.emplace(token, Pending{std::move(submission.done), overdue});
    overdues_.push({overdue, token});
    outgoing_ += EchoRequestLine({token, submission.address, timeout});
  }

  void WriteRequests() {
    while (alive_ && !outgoing_.empty()) {
      const ssize_t written = write(child_->Input(), outgoing_.data(), outgoing_.size());
      if (written > 0) {
        outgoing_.erase(0, static_cast<std::size_t>(written));
      } else if (written < 0 && errno == EAGAIN) {
        return;  // the helper's input is full: on when it has read some
      } else if (written >= 0 || errno != EINTR) {
        HelperGone();
      }
    }
  }

  void ExpireOverdue(steady_clock::time_point now) {
    for (std::optional<steady_clock::time_point> next = NextOverdue(); next && *next <= now;
         next = NextOverdue()) {
      const auto found = pending_.find(overdues_.top().token);
      overdues_.pop();
      EchoDone done = std::move(found->second.done);
      pending_.erase(found);
      CallEchoDone(done, std::nullopt);
    }
  }

  // The earliest time a waiting request is overdue; entries of ended requests are dropped.
  std::optional<steady_clock::time_point> NextOverdue() {
    while (!overdues_.empty()) {
      const auto found = pending_.find(overdues_.top().token);
      if (found != pending_.end() && found->second.overdue == overdues_.top().at) {
        return overdues_.top().at;
      }
      overdues_.pop();
    }
    return std::nullopt;
  }

  void HelperGone() {
    alive_ = false;
    outgoing_.clear();
    EndAllPending();
  }

  void EndAllPending() {
    std::unordered_map<std::uint32_t, Pending> ending;
    ending.swap(pending_);
    overdues_ = {};
    for (auto& [token, pending] : ending) CallEchoDone(pending.done, std::nullopt);
  }

  const std::unique_ptr<HelperChild> child_;  // ends the helper after the thread is joined
  const UniqueFd wakeup_;
  SubmissionInbox<Submission> inbox_;
  // The engine thread's own: no lock.
  bool alive_ = true;
  std::string outgoing_;  // request lines the helper has not read yet
  std::unordered_map<std::uint32_t, Pending> pending_;
  std::priority_queue<Overdue, std::vector<Overdue>, std::greater<>> overdues_;
  std::uint32_t nextToken_ = 0;
  std::thread thread_;  // declared last: it starts once everything it reads is built
};

}  // namespace

std::string HelperProgramPath() {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return "";
  const std::string beside = folder + "/" + kProgramName;
  const std::string inTools = folder + "/tools/" + kProgramName;
  return access(beside.c_str(), X_OK) != 0 && access(inTools.c_str(), X_OK) == 0 ? inTools : beside;
}

IcmpEngineStart StartHelperProcessIcmpEngine(const std::string& program) {
  if (program.empty())
    return {nullptr, "no helper program: the running program's folder is unknown"};
  const std::string helper = "helper " + program;
  Spawned spawned = SpawnServer(program);
  if (!spawned.child) {
    return {nullptr, spawned.error == ENOENT
                         ? "no helper program at " + program
                         : helper + " did not start: " + SystemErrorText(spawned.error)};
  }
  const std::optional<std::string> greeting = ReadGreeting(spawned.child->Output());
  if (!greeting) return {nullptr, helper + " did not answer"};
  // Its reason repeats ours but for the capability, which is what it lacks.
  if (greeting->starts_with(kEchoPipeUnavailable)) {
    return {nullptr, helper + " cannot either (as root: setcap cap_net_raw+ep " + program + ")"};
  }
  if (*greeting != kEchoPipeReady) return {nullptr, helper + " answered in an unknown way"};
  UniqueFd wakeup(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (wakeup.get() < 0) return {nullptr, "no event descriptor: " + SystemErrorText(errno)};
  try {
    return {std::make_unique<HelperProcessIcmpEngine>(std::move(spawned.child), std::move(wakeup)),
            ""};
  } catch (const std::system_error& error) {
    return {nullptr,
            "cannot start the helper's engine thread: " + SystemErrorText(error.code().value())};
  }
}

}  // namespace vardelle
