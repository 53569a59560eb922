#include "runtime/probes/echo_pipe.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace vardelle {
namespace {

constexpr std::size_t kMostTokenDigits = 10;
constexpr std::size_t kMostRoundTripDigits = 19;  // fits a signed 64-bit count
constexpr std::size_t kMostTimeoutDigits = 5;
constexpr std::size_t kRequestFields = 4;

// A decimal number as the protocol writes it: digits only, no leading zero, at most
// mostDigits of them.
std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::size_t mostDigits) {
  if (text.empty() || text.size() > mostDigits || (text.size() > 1 && text[0] == '0')) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> ParseToken(std::string_view text) {
  const std::optional<std::uint64_t> value = ParseDecimal(text, kMostTokenDigits);
  if (!value || *value > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

// The fields between single spaces; an empty field stands for a doubled or outer space.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = line.find(' ', start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

// Four numbers of 0 to 255 as the protocol writes them, read here rather than by the system,
// whose readers differ (leading zeros, a zero byte ending the text early).
std::optional<Ipv4Address> ParseDottedQuad(std::string_view text) {
  std::array<std::uint8_t, 4> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t dot = i + 1 < bytes.size() ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const std::optional<std::uint64_t> part = ParseDecimal(text.substr(0, dot), 3);
    if (!part || *part > 255) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(*part);
    text.remove_prefix(std::min(dot + 1, text.size()));
  }
  Ipv4Address address = 0;
  std::memcpy(&address, bytes.data(), bytes.size());
  return address;
}

constexpr std::size_t kIpv6Groups = 8;

bool IsGroupDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// The eight groups as the protocol writes them, read here for the same reason.
std::optional<Ipv6Address> ParseIpv6Groups(std::string_view text) {
  Ipv6Address address{};
  for (std::size_t i = 0; i < kIpv6Groups; ++i) {
    const std::size_t colon = i + 1 < kIpv6Groups ? text.find(':') : text.size();
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view group = text.substr(0, colon);
    if (group.empty() || group.size() > 4 || (group.size() > 1 && group[0] == '0') ||
        !std::all_of(group.begin(), group.end(), IsGroupDigit)) {
      return std::nullopt;
    }
    unsigned value = 0;
    std::from_chars(group.data(), group.data() + group.size(), value, 16);
    address[2 * i] = static_cast<std::uint8_t>(value >> 8);
    address[2 * i + 1] = static_cast<std::uint8_t>(value);
    text.remove_prefix(std::min(colon + 1, text.size()));
  }
  return address;
}

std::optional<EchoAddress> ParseAddressField(std::string_view text) {
  if (const std::optional<Ipv4Address> ipv4 = ParseDottedQuad(text)) return *ipv4;
  if (const std::optional<Ipv6Address> ipv6 = ParseIpv6Groups(text)) return *ipv6;
  return std::nullopt;
}

std::string AddressField(const EchoAddress& address) {
  const std::array<std::uint8_t, 16>& bytes = address.bytes;
  if (address.family == EchoAddress::Family::kIpv4) {
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
           std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
  }
  std::string text;
  for (std::size_t i = 0; i < kIpv6Groups; ++i) {
    std::array<char, 4> group{};
    const unsigned value = static_cast<unsigned>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    const auto end = std::to_chars(group.data(), group.data() + group.size(), value, 16).ptr;
    text += (i == 0 ? "" : ":") + std::string(group.data(), end);
  }
  return text;
}

std::string ErrorLine(std::optional<std::uint32_t> token, std::string_view what) {
  return (token ? std::to_string(*token) : std::string("-")) + " error " + std::string(what) + "\n";
}

// What the server's threads share: the reader admits, the engine's thread ends, and either
// writes. Held by every echo's done as well, which may still be leaving when the reader
// sees the flight empty.
struct ServerState {
  explicit ServerState(std::FILE* output) : out(output) {}

  void Write(const std::string& line) {
    if (broken || line.empty()) return;
    broken = std::fwrite(line.data(), 1, line.size(), out) != line.size() || std::fflush(out) != 0;
  }

  std::FILE* const out;
  std::mutex mutex;
  std::condition_variable landed;
  EchoPipeFlight flight;  // under mutex
  bool broken = false;    // under mutex: the reader is gone, nothing more is read
};

void SendAdmitted(IcmpEngine& engine, const std::shared_ptr<ServerState>& state,
                  const EchoPipeRequest& echo) {
  engine.SendTo(echo.address, echo.timeout,
                [state, token = echo.token](std::optional<std::chrono::nanoseconds> roundTrip) {
                  std::lock_guard guard(state->mutex);
                  state->Write(state->flight.End(token, roundTrip));
                  state->landed.notify_all();
                });
}

}  // namespace

std::string EchoRequestLine(const EchoPipeRequest& request) {
  return std::to_string(request.token) + " echo " + AddressField(request.address) + " " +
         std::to_string(request.timeout.count()) + "\n";
}

std::optional<EchoPipeReply> ParseEchoReplyLine(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  const std::optional<std::uint32_t> token = ParseToken(fields[0]);
  if (!token || fields.size() < 2) return std::nullopt;
  if (fields[1] == "reply" && fields.size() == 3) {
    const std::optional<std::uint64_t> nanoseconds = ParseDecimal(fields[2], kMostRoundTripDigits);
    if (!nanoseconds) return std::nullopt;
    return EchoPipeReply{*token, std::chrono::nanoseconds(*nanoseconds)};
  }
  if ((fields[1] == "no-reply" && fields.size() == 2) ||
      (fields[1] == "error" && fields.size() == 3)) {
    return EchoPipeReply{*token, std::nullopt};
  }
  return std::nullopt;
}

void LineSplitter::Feed(std::string_view bytes, const OnLine& onLine) {
  for (const char byte : bytes) {
    if (byte == '\n') {
      if (!overflowed_) onLine(line_, false);
      line_.clear();
      overflowed_ = false;
    } else if (overflowed_) {
      continue;
    } else if (line_.size() == mostBytes_) {
      onLine(line_, true);
      line_.clear();
      overflowed_ = true;
    } else {
      line_.push_back(byte);
    }
  }
}

EchoPipeFlight::Verdict EchoPipeFlight::Admit(std::string_view line, bool tooLong) {
  if (tooLong) return {std::nullopt, ErrorLine(std::nullopt, "line-too-long")};
  const std::vector<std::string_view> fields = Fields(line);
  const std::optional<std::uint32_t> token = ParseToken(fields[0]);
  if (!token) return {std::nullopt, ErrorLine(std::nullopt, "bad-token")};
  if (fields.size() != kRequestFields || fields[1] != "echo") {
    return {std::nullopt, ErrorLine(token, "bad-command")};
  }
  const std::optional<EchoAddress> address = ParseAddressField(fields[2]);
  if (!address) return {std::nullopt, ErrorLine(token, "bad-address")};
  const std::optional<std::uint64_t> timeout = ParseDecimal(fields[3], kMostTimeoutDigits);
  if (!timeout || *timeout > static_cast<std::uint64_t>(kEchoPipeMostTimeout.count())) {
    return {std::nullopt, ErrorLine(token, "bad-timeout")};
  }
  if (tokens_.contains(*token)) return {std::nullopt, ErrorLine(token, "token-in-use")};
  if (tokens_.size() >= kEchoPipeMostInFlight) return {std::nullopt, ErrorLine(token, "busy")};
  tokens_.insert(*token);
  return {EchoPipeRequest{*token, *address, std::chrono::milliseconds(*timeout)}, ""};
}

std::string EchoPipeFlight::End(std::uint32_t token,
                                std::optional<std::chrono::nanoseconds> roundTrip) {
  tokens_.erase(token);
  return std::to_string(token) +
         (roundTrip ? " reply " + std::to_string(roundTrip->count()) : std::string(" no-reply")) +
         "\n";
}

void ServeEchoPipe(IcmpEngine& engine, std::FILE* in, std::FILE* out,
                   std::optional<EchoPace> pace) {
  const auto state = std::make_shared<ServerState>(out);
  LineSplitter splitter(kEchoPipeMostLineBytes);
  bool outputBroken = false;
  const LineSplitter::OnLine onLine = [&](std::string_view line, bool tooLong) {
    EchoPipeFlight::Verdict verdict;
    {
      std::lock_guard guard(state->mutex);
      verdict = state->flight.Admit(line, tooLong);
      state->Write(verdict.answer);
      outputBroken = state->broken;
    }
    if (!verdict.echo) return;
    if (pace) pace->Take();
    SendAdmitted(engine, state, *verdict.echo);
  };
  // Byte by byte through stdio's buffer: a zero byte inside a line must count as the byte it is.
  for (int byte = std::getc(in); byte != EOF && !outputBroken; byte = std::getc(in)) {
    const char character = static_cast<char>(byte);
    splitter.Feed(std::string_view(&character, 1), onLine);
  }
  std::unique_lock lock(state->mutex);
  state->landed.wait(lock, [&] { return state->flight.Count() == 0; });
}

}  // namespace vardelle
