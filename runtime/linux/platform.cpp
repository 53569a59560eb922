// The Linux runtime: which engines the portable code gets.
#include "runtime/platform.h"

#include <arpa/inet.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "runtime/linux/host_resolver_getaddrinfo.h"
#include "runtime/linux/icmp_engine_helper_process.h"
#include "runtime/linux/icmp_engine_linux.h"
#include "runtime/linux/process_launch_linux.h"

namespace vardelle {
namespace {

class PthreadExitSlot final : public ThreadExitSlot {
 public:
  explicit PthreadExitSlot(pthread_key_t key) : key_(key) {}
  void* Value() override { return pthread_getspecific(key_); }
  bool SetValue(void* value) override { return pthread_setspecific(key_, value) == 0; }

 private:
  pthread_key_t key_;
};

}  // namespace

std::unique_ptr<ThreadExitSlot> CreateThreadExitSlot(ThreadExitSlot::Release release) {
  pthread_key_t key{};
  if (pthread_key_create(&key, release) != 0) return nullptr;
  return std::make_unique<PthreadExitSlot>(key);
}

IcmpEngineStart StartSystemIcmpEngine() {
  IcmpEngineStart own = StartLinuxIcmpEngine();
  if (own.engine) return own;
  IcmpEngineStart helper = StartHelperProcessIcmpEngine(HelperProgramPath());
  if (helper.engine) return helper;
  return {nullptr, own.unavailableReason + "; " + helper.unavailableReason};
}

IcmpEngineStart StartInProcessIcmpEngine() { return StartLinuxIcmpEngine(); }

bool RealUserIsRoot() { return getuid() == 0; }

std::unique_ptr<HostResolver> CreateSystemResolver() {
  return std::make_unique<GetaddrinfoResolver>();
}

std::unique_ptr<ProcessLauncher> CreateSystemLauncher() {
  return std::make_unique<PosixProcessLauncher>();
}

std::optional<Ipv4Address> ParseDottedIpv4(const std::string& text) {
  in_addr address{};
  if (inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
  return address.s_addr;
}

std::optional<Ipv6Address> ParseIpv6Literal(const std::string& text) {
  Ipv6Address address{};
  if (inet_pton(AF_INET6, text.c_str(), address.data()) != 1) return std::nullopt;
  return address;
}

ClockTime LocalClockTime(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return {};
  return {local.tm_hour, local.tm_min};
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// Linux writes bytes as they are.
void WriteStandardStreamsAsBytes() {}

void WriteStandardText(StandardStream stream, std::string_view utf8) {
  std::FILE* file = stream == StandardStream::kOutput ? stdout : stderr;
  std::fwrite(utf8.data(), 1, utf8.size(), file);
  std::fflush(file);
}

std::optional<std::string> SystemDisplayLanguage() { return std::nullopt; }

std::optional<std::string> EnvironmentVariable(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> UserApplicationDataFolder() { return std::nullopt; }

}  // namespace vardelle
