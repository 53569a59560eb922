// The places a global test can be measured from, as the "全球Ping" page offers them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vardelle {

struct GlobalPingPlace {
  std::string_view caption;     // GBK, as the menu and the settings file hold it
  std::u8string_view utf8Name;  // the same caption as a UTF-8 command line spells it
  std::string_view englishName;
  std::string_view magic;  // the Globalping location filter
};

std::span<const GlobalPingPlace> GlobalPingPlaces();

// By GBK caption, UTF-8 caption or English name (ASCII case ignored); nothing otherwise.
std::optional<GlobalPingPlace> GlobalPingPlaceNamed(std::string_view name);

// The place used before the user chose one.
const GlobalPingPlace& DefaultGlobalPingPlace();

}  // namespace vardelle
