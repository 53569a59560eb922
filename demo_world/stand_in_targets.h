// Measurement targets as the API reads them: IP addresses, private ones, and domain names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vardelle::demo::stand_in {

std::vector<unsigned char> AddressBytes(const std::string& text);
std::optional<std::string> IpAddressIn(const std::string& target);
bool IsPrivateAddress(const std::string& address);
bool IsDomainName(std::string_view name);

}  // namespace vardelle::demo::stand_in
