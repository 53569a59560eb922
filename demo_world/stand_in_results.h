// A probe's part of a measurement: where it stands and what its ping answered, as the API
// writes them.
#pragma once

#include <string>

#include "demo_world/stand_in_probes.h"
#include "demo_world/stand_in_text.h"

namespace vardelle::demo::stand_in {

// The stand-in looks no name up: a name is taken to resolve to loopback, where the demo
// world's servers are.
constexpr char kNameAddress[] = "127.0.0.1";

struct PingShot {
  std::string target;
  std::string address;
  int packets;
};

Json Number(double value);
Json ProbeJson(const CannedProbe& probe);
Json ResultJson(const CannedProbe& probe, bool done, const PingShot& shot);

}  // namespace vardelle::demo::stand_in
