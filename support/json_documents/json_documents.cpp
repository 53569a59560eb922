#include "support/json_documents/json_documents.h"

#include <nlohmann/json.hpp>

namespace vardelle {

nlohmann::json ParseJson(std::string_view utf8) { return nlohmann::json::parse(utf8); }

nlohmann::ordered_json ParseOrderedJson(std::string_view utf8) {
  return nlohmann::ordered_json::parse(utf8);
}

nlohmann::json ParseJsonOrDiscarded(std::string_view utf8) {
  return nlohmann::json::parse(utf8, nullptr, false);
}

}  // namespace vardelle
