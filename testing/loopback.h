// What the loopback servers and the tests that reach them share: the wait bound, the URL
// shape and the proxy settings that must not catch loopback traffic.
#pragma once

#include <chrono>
#include <string>

namespace vardelle::testing {

// Bounds every wait of the servers, so a broken client never hangs a test.
inline constexpr auto kServerWaitLimit = std::chrono::seconds(10);

inline std::string LoopbackUrl(const std::string& scheme, int port, const std::string& path,
                               const std::string& address = "127.0.0.1") {
  return scheme + "://" + address + ":" + std::to_string(port) + path;
}

// Proxy settings in the environment would send test traffic elsewhere; loopback goes direct.
void KeepLoopbackTrafficDirect();

}  // namespace vardelle::testing
