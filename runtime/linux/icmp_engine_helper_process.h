// The echo engine of last resort on Linux: `vardelle-ping --serve`, the one program that may
// hold CAP_NET_RAW, started as a child and spoken to over its standard input and output in
// the line protocol of runtime/probes/echo_pipe.h. The window and the headless runs hold no
// capability and load Qt and plugins; only this small program holds the raw socket.
#pragma once

#include <chrono>
#include <string>

#include "runtime/probes/icmp_engine.h"

namespace vardelle {

// How much later than its time-out a request ends on this side when the helper never
// answers it (stopped, or lost the request): the helper's own pace and start-up stay far
// inside it.
inline constexpr std::chrono::seconds kHelperReplyGrace{5};

// vardelle-ping beside the running program (/usr/bin in the package), else in the tools/
// folder beside it (a build tree); the first when neither is there. Never looked up in PATH,
// which the user chooses.
std::string HelperProgramPath();

// Starts `program --serve` and an engine that speaks to it; when that fails, the reason
// (bare, to follow others in one line) names the helper.
IcmpEngineStart StartHelperProcessIcmpEngine(const std::string& program);

}  // namespace vardelle
