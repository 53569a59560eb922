// The canned probes, and which of them a measurement gets for its locations and limits.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "demo_world/stand_in_text.h"

namespace vardelle::demo::stand_in {

struct Area {
  const char* continent;
  const char* region;
};

// Round trips in ms and the share of packets lost, in percent.
struct Figures {
  double min, avg, max, loss;
};

// The API speaks UTF-8, while this folder's narrow literals are GBK: text goes in u8"".
struct CannedProbe {
  std::u8string_view city;
  const char* country;
  Area area;
  int asn;
  std::u8string_view network;
  Figures figures;
  bool fails = false;
  const char* state = nullptr;  // the API names US states only
};

using Probes = std::vector<const CannedProbe*>;

size_t Count(double limit);
Probes TakeEvenly(const Json& locations, size_t limit);
Probes TakeFromEach(const Json& locations);
Json LocationsOf(const Json& body);
double GlobalLimit(const Json& body);
std::optional<double> MostProbes(const Json& body);
int IpVersionOf(const Json& body);
int PacketsOf(const Json& body);

}  // namespace vardelle::demo::stand_in
