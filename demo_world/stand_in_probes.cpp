#include "demo_world/stand_in_probes.h"

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

#include <algorithm>
#include <iterator>
#include <span>
#include <string>

#include "demo_world/stand_in_targets.h"
#include "demo_world/stand_in_validation.h"

namespace vardelle::demo::stand_in {
namespace {

// ---- Canned probes ----

constexpr Area kEasternAsia{"AS", "Eastern Asia"};
constexpr Area kSouthEasternAsia{"AS", "South-eastern Asia"};
constexpr Area kSouthernAsia{"AS", "Southern Asia"};
constexpr Area kWesternEurope{"EU", "Western Europe"};
constexpr Area kNorthernAmerica{"NA", "Northern America"};
constexpr Area kOceania{"OC", "Australia and New Zealand"};
constexpr Area kSouthAmerica{"SA", "South America"};

constexpr Figures kLostEveryPacket{0, 0, 0, 100};

constexpr CannedProbe kChina[] = {
    {u8"Beijing", "CN", kEasternAsia, 4134, u8"China Telecom", {8.1, 9.4, 11.0, 0}},
    {u8"Shanghai", "CN", kEasternAsia, 4812, u8"China Telecom (Group)", {22.5, 24.0, 27.3, 0}},
    {u8"Chengdu", "CN", kEasternAsia, 9808, u8"中国移动", {31.2, 35.8, 41.9, 25}},
    {u8"Guangzhou", "CN", kEasternAsia, 4837, u8"China Unicom", {}, true},
    {u8"Harbin", "CN", kEasternAsia, 4837, u8"China Unicom", kLostEveryPacket},
};
constexpr CannedProbe kAsia[] = {
    {u8"Tokyo", "JP", kEasternAsia, 2516, u8"KDDI", {61.0, 63.5, 70.2, 0}},
    {u8"Singapore", "SG", kSouthEasternAsia, 16509, u8"Amazon.com, Inc.", {70.4, 72.1, 75.0, 0}},
    {u8"Seoul", "KR", kEasternAsia, 4766, u8"Korea Telecom", {}, true},
    {u8"Mumbai", "IN", kSouthernAsia, 9498, u8"Bharti Airtel", kLostEveryPacket},
};
constexpr CannedProbe kWorld[] = {
    {u8"Frankfurt", "DE", kWesternEurope, 24940, u8"Hetzner Online GmbH", {201.0, 205.3, 214.8, 0}},
    {u8"Ashburn",
     "US",
     kNorthernAmerica,
     14618,
     u8"Amazon.com, Inc.",
     {180.2, 184.0, 190.1, 0},
     false,
     "VA"},
    {u8"Zürich", "CH", kWesternEurope, 3303, u8"Swisscom", {220.5, 230.0, 251.7, 12.5}},
    {u8"Sydney", "AU", kOceania, 16276, u8"OVH SAS", {}, true},
    {u8"São Paulo", "BR", kSouthAmerica, 28573, u8"Claro NXT", kLostEveryPacket},
};
constexpr size_t kLongestPlace = std::max({std::size(kChina), std::size(kAsia), std::size(kWorld)});

// ---- Finding probes ----

constexpr int kDefaultPackets = 3;

std::span<const CannedProbe> PlaceOf(const Json& location) {
  const auto magic = location.find("magic");
  if (magic == location.end()) return {};
  const std::string name = LowerCase(magic->get<std::string>());
  if (name == "china" || name == "cn") return kChina;
  if (name == "asia" || name == "as") return kAsia;
  if (name == "world") return kWorld;
  return {};
}

void AddDistinct(Probes& found, const CannedProbe& probe) {
  if (std::ranges::find(found, &probe) == found.end()) found.push_back(&probe);
}

}  // namespace

// Limits are floored, as the API's lodash does.
size_t Count(double limit) { return static_cast<size_t>(limit); }

// A global limit: the places take turns, each giving its next probe.
Probes TakeEvenly(const Json& locations, size_t limit) {
  std::vector<std::span<const CannedProbe>> places;
  if (locations.empty()) places.push_back(kWorld);
  for (const Json& location : locations) places.push_back(PlaceOf(location));
  Probes found;
  for (size_t turn = 0; turn < kLongestPlace; ++turn) {
    for (std::span<const CannedProbe> place : places) {
      if (turn < place.size() && found.size() < limit) AddDistinct(found, place[turn]);
    }
  }
  return found;
}

// Limits per location: the first few of each location's place.
Probes TakeFromEach(const Json& locations) {
  Probes found;
  for (const Json& location : locations) {
    const std::span<const CannedProbe> place = PlaceOf(location);
    for (const CannedProbe& probe :
         place.first(std::min(place.size(), Count(LocationLimit(location))))) {
      AddDistinct(found, probe);
    }
  }
  return found;
}

Json LocationsOf(const Json& body) { return body.value("locations", Json::array()); }

// The API's default: one probe per location, one for none.
double GlobalLimit(const Json& body) {
  const auto limit = body.find("limit");
  if (limit != body.end()) return NumberIn(*limit).value_or(1);
  return std::max(static_cast<double>(LocationsOf(body).size()), 1.0);
}

// The most probes the creation may cost, as the API's precheck reckons them; none for the
// probes of an earlier measurement.
std::optional<double> MostProbes(const Json& body) {
  const Json locations = LocationsOf(body);
  if (locations.is_string()) return std::nullopt;
  if (body.contains("limit") || locations.empty()) return GlobalLimit(body);
  return SumOfLocationLimits(locations);
}

// The IP version asked for: the target's own, else measurementOptions' for a name, else 4.
int IpVersionOf(const Json& body) {
  if (const auto address = IpAddressIn(body.at("target").get<std::string>())) {
    return AddressBytes(*address).size() == sizeof(in6_addr) ? 6 : 4;
  }
  const Json options = body.value("measurementOptions", Json::object());
  return options.is_object() && NumberIn(options.value("ipVersion", Json())) == 6 ? 6 : 4;
}

int PacketsOf(const Json& body) {
  const Json options = body.value("measurementOptions", Json::object());
  return static_cast<int>(NumberIn(options.value("packets", Json())).value_or(kDefaultPackets));
}

}  // namespace vardelle::demo::stand_in
