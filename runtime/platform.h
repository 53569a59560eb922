// What every platform supplies to the portable runtime. Each platform folder defines these
// in one file of its own (runtime/linux/platform.cpp here), the only place that names the
// platform's engines; FetchPage (runtime/fetch/page_fetch_engine.h) is the platform's too.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "runtime/probes/host_resolver.h"
#include "runtime/probes/icmp_engine.h"
#include "runtime/process/process_launch.h"

namespace vardelle {

// Prepares the platform's libraries whose set-up is not thread-safe. Call it once at program
// start (and in test mains), before any thread exists; later calls do nothing.
void InitializeRuntimePlatform();

// Starts the system's echo engine; called on the first probe and after a failed start.
IcmpEngineStart StartSystemIcmpEngine();

// The system's name resolver.
std::unique_ptr<HostResolver> CreateSystemResolver();

// The system's way of starting programs.
std::unique_ptr<ProcessLauncher> CreateSystemLauncher();

// A dotted IPv4 address ("a.b.c.d", four decimal numbers of 0 to 255) as its wire bytes;
// nothing for any other text.
std::optional<Ipv4Address> ParseDottedIpv4(const std::string& text);

// The time of day at moment on the user's clock, in the system's time zone.
struct ClockTime {
  int hour = 0;
  int minute = 0;
};
ClockTime LocalClockTime(std::chrono::system_clock::time_point moment);

}  // namespace vardelle
