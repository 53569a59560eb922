#include "app/global_ping/global_ping_places.h"

#include <array>

#include "runtime/text/ascii_case.h"

namespace vardelle {
namespace {

constexpr std::array<GlobalPingPlace, 3> kPlaces = {{
    {"中国", u8"中国", "china", "China"},
    {"亚洲", u8"亚洲", "asia", "Asia"},
    {"全球", u8"全球", "world", "World"},
}};

std::string_view AsChars(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

}  // namespace

std::span<const GlobalPingPlace> GlobalPingPlaces() { return kPlaces; }

std::optional<GlobalPingPlace> GlobalPingPlaceNamed(std::string_view name) {
  for (const GlobalPingPlace& place : kPlaces) {
    if (name == place.caption || name == AsChars(place.utf8Name) ||
        EqualsIgnoringAsciiCase(name, place.englishName)) {
      return place;
    }
  }
  return std::nullopt;
}

const GlobalPingPlace& DefaultGlobalPingPlace() { return kPlaces[0]; }

}  // namespace vardelle
