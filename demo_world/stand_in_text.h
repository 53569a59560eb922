// The API's text, shared by the stand-in's pieces: JSON with keys in the API's order, UTF-8,
// and the case and character tests its parsers and validators make.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace vardelle::demo::stand_in {

// Ordered, so that keys come out in the order the API writes them.
using Json = nlohmann::ordered_json;

std::string Utf8(std::u8string_view text);
std::string LowerCase(std::string_view text);
std::string_view Trimmed(std::string_view text);
bool IsDigit(char c);

}  // namespace vardelle::demo::stand_in
