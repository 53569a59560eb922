#include "runtime/probes/echo_request_table.h"

#include <utility>

namespace vardelle {
namespace {

constexpr std::size_t kSequenceCount = 1u << 16;

}  // namespace

std::chrono::nanoseconds RoundTripTime(const SendStamp& sent, const ReceiveStamp& received) {
  const std::chrono::nanoseconds monotonic = received.steady - sent.steady;
  if (!received.kernel) return monotonic;
  // The wall clock's lead over the monotonic one, at the send and at the read.
  const auto leadAtSend = sent.wall.time_since_epoch() - sent.steady.time_since_epoch();
  const auto leadAtRead = received.wall.time_since_epoch() - received.steady.time_since_epoch();
  const auto drift = leadAtRead - leadAtSend;
  const std::chrono::nanoseconds kernel = *received.kernel - sent.wall;
  const bool stepped = drift > kClockAgreement || drift < -kClockAgreement;
  if (stepped || kernel < std::chrono::nanoseconds(0) || kernel > monotonic + kClockAgreement) {
    return monotonic;
  }
  return kernel;
}

EchoRequestTable::EchoRequestTable() : requests_(kSequenceCount) {}

std::optional<std::uint16_t> EchoRequestTable::Enter(const EchoAddress& to,
                                                     Clock::time_point deadline,
                                                     IcmpEngine::EchoDone& done) {
  if (waitingCount_ == kSequenceCount) {
    return std::nullopt;
  }
  while (requests_[nextSequence_].waiting) {
    ++nextSequence_;
  }
  const std::uint16_t sequence = nextSequence_++;
  Request& request = requests_[sequence];
  request.address = to;
  request.waiting = true;
  request.sent = {Clock::now(), std::chrono::system_clock::now()};
  request.done = std::move(done);
  ++request.generation;
  ++waitingCount_;
  deadlines_.push({deadline, sequence, request.generation});
  return sequence;
}

void EchoRequestTable::MarkSent(std::uint16_t sequence, const SendStamp& stamp) {
  requests_[sequence].sent = stamp;
}

IcmpEngine::EchoDone EchoRequestTable::Withdraw(std::uint16_t sequence) {
  Request& request = requests_[sequence];
  if (!request.waiting) {
    return nullptr;
  }
  request.waiting = false;
  --waitingCount_;
  return std::move(request.done);
}

bool EchoRequestTable::Answer(std::uint16_t sequence, const EchoAddress& from,
                              const ReceiveStamp& stamp) {
  Request* request = WaitingFor(sequence, from);
  if (request == nullptr) {
    return false;
  }
  End(*request, RoundTripTime(request->sent, stamp));
  return true;
}

bool EchoRequestTable::Fail(std::uint16_t sequence, const EchoAddress& to) {
  Request* request = WaitingFor(sequence, to);
  if (request == nullptr) {
    return false;
  }
  End(*request, std::nullopt);
  return true;
}

void EchoRequestTable::ExpireDue(Clock::time_point now) {
  for (DropStaleDeadlines(); !deadlines_.empty() && deadlines_.top().at <= now;
       DropStaleDeadlines()) {
    const Deadline due = deadlines_.top();
    deadlines_.pop();
    End(requests_[due.sequence], std::nullopt);
  }
}

void EchoRequestTable::FailAll() {
  for (Request& request : requests_) {
    if (request.waiting) End(request, std::nullopt);
  }
  deadlines_ = {};
}

std::optional<EchoRequestTable::Clock::time_point> EchoRequestTable::NextDeadline() {
  DropStaleDeadlines();
  if (deadlines_.empty()) return std::nullopt;
  return deadlines_.top().at;
}

EchoRequestTable::Request* EchoRequestTable::WaitingFor(std::uint16_t sequence,
                                                        const EchoAddress& address) {
  Request& request = requests_[sequence];
  return request.waiting && request.address == address ? &request : nullptr;
}

// The request leaves the table before its done runs, so a done that leads to a new request
// finds the table consistent.
void EchoRequestTable::End(Request& request, std::optional<std::chrono::nanoseconds> roundTrip) {
  request.waiting = false;
  --waitingCount_;
  IcmpEngine::EchoDone done = std::move(request.done);
  request.done = nullptr;
  CallEchoDone(done, roundTrip);
}

void EchoRequestTable::DropStaleDeadlines() {
  while (!deadlines_.empty()) {
    const Deadline& top = deadlines_.top();
    const Request& request = requests_[top.sequence];
    if (request.waiting && request.generation == top.generation) return;
    deadlines_.pop();
  }
}

}  // namespace vardelle
