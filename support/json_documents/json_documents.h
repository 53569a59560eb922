#pragma once

// nlohmann::json's parser, compiled in one file. Each call of json::parse compiles the whole
// parser into its caller's file again: 3 s a file at -O2, 6 s unoptimised with the sanitizers.
#include <nlohmann/json_fwd.hpp>
#include <string_view>

namespace vardelle {

// Throws nlohmann::json::parse_error on a malformed document, as json::parse does.
nlohmann::json ParseJson(std::string_view utf8);
nlohmann::ordered_json ParseOrderedJson(std::string_view utf8);
// A malformed document gives a value whose is_discarded() is true.
nlohmann::json ParseJsonOrDiscarded(std::string_view utf8);

}  // namespace vardelle
