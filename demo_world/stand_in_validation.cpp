#include "demo_world/stand_in_validation.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <iterator>
#include <span>
#include <string_view>
#include <vector>

#include "demo_world/stand_in_targets.h"
#include "support/json_documents/json_documents.h"

namespace vardelle::demo::stand_in {

// ---- Validation, as the API's Joi schemas do it ----

// Joi converts a string that spells a number; it reads no "inf" or "nan", unlike from_chars.
std::optional<double> NumberIn(const Json& value) {
  if (value.is_number()) return value.get<double>();
  if (!value.is_string()) return std::nullopt;
  std::string_view text = Trimmed(value.get_ref<const std::string&>());
  if (text.starts_with('+')) text.remove_prefix(1);
  const auto numeral = [](char c) { return IsDigit(c) || c == '.'; };
  if (text.empty() || !numeral(text.back()) || !(numeral(text.front()) || text.front() == '-')) {
    return std::nullopt;
  }
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

double LocationLimit(const Json& location) {
  const auto limit = location.find("limit");
  return limit == location.end() ? 1 : NumberIn(*limit).value_or(1);
}

double SumOfLocationLimits(const Json& locations) {
  double sum = 0;
  for (const Json& location : locations) sum += LocationLimit(location);
  return sum;
}

bool IsPing(const Json& body) { return LowerCase(body.at("type").get<std::string>()) == "ping"; }

namespace {

// Where a rule broke: "params" keys it by the path joined with dots, while the message's label
// writes array items in brackets.
struct Field {
  std::string path;
  std::string label;

  Field Key(std::string_view key) const {
    if (path.empty()) return {std::string(key), std::string(key)};
    return {path + "." + std::string(key), label + "." + std::string(key)};
  }
  Field Item(size_t index) const {
    const std::string number = std::to_string(index);
    return {path + "." + number, label + "[" + number + "]"};
  }
};

using Check = std::function<Verdict(const Json&, const Field&)>;

Verdict Broken(const Field& field, const std::string& rule) {
  return BrokenRule{field.path, "\"" + field.label + "\" " + rule};
}

std::string Listed(std::span<const std::string_view> words) {
  std::string list;
  for (std::string_view word : words) list.append(list.empty() ? "" : ", ").append(word);
  return "[" + list + "]";
}

Check NumberCheck(int least, int most, bool whole = false) {
  return [=](const Json& value, const Field& field) -> Verdict {
    const std::optional<double> number = NumberIn(value);
    if (!number) return Broken(field, "must be a number");
    if (whole && std::trunc(*number) != *number) return Broken(field, "must be an integer");
    if (*number < least) {
      return Broken(field, "must be greater than or equal to " + std::to_string(least));
    }
    if (*number > most) {
      return Broken(field, "must be less than or equal to " + std::to_string(most));
    }
    return std::nullopt;
  };
}

Check StringCheck(int most) {
  return [=](const Json& value, const Field& field) -> Verdict {
    if (!value.is_string()) return Broken(field, "must be a string");
    // Joi counts characters, so UTF-8 continuation bytes do not count.
    const auto length = std::ranges::count_if(value.get_ref<const std::string&>(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (length == 0) return Broken(field, "is not allowed to be empty");
    if (length > most) {
      return Broken(field, "length must be less than or equal to " + std::to_string(most) +
                               " characters long");
    }
    return std::nullopt;
  };
}

// Case-insensitive, as the API's lists of words are.
Check OneOfCheck(std::span<const std::string_view> allowed) {
  return [=](const Json& value, const Field& field) -> Verdict {
    const auto matches = [&](std::string_view word) {
      return value.is_string() && LowerCase(value.get<std::string>()) == LowerCase(word);
    };
    if (std::ranges::any_of(allowed, matches)) return std::nullopt;
    return Broken(field, "must be one of " + Listed(allowed));
  };
}

Check RefusalCheck(const std::string& rule) {
  return [=](const Json&, const Field& field) { return Broken(field, rule); };
}

Verdict CheckBoolean(const Json& value, const Field& field) {
  const std::string spelled = value.is_string() ? LowerCase(value.get<std::string>()) : "";
  if (value.is_boolean() || spelled == "true" || spelled == "false") return std::nullopt;
  return Broken(field, "must be a boolean");
}

Verdict CheckPort(const Json& value, const Field& field) {
  const std::optional<double> number = NumberIn(value);
  if (!number) return Broken(field, "must be a number");
  if (std::trunc(*number) != *number || *number < 0 || *number > 65535) {
    return Broken(field, "must be a valid port");
  }
  return std::nullopt;
}

struct KeyRule {
  std::string_view key;
  Check check;  // none: any value
  bool required = false;
};

// Joi's object: each known key's rule in order, then the first key it does not know.
Verdict CheckObject(const Json& object, const Field& field, const std::vector<KeyRule>& rules) {
  if (!object.is_object()) return Broken(field, "must be of type object");
  for (const KeyRule& rule : rules) {
    const auto found = object.find(rule.key);
    if (found == object.end() && rule.required) return Broken(field.Key(rule.key), "is required");
    if (found == object.end() || !rule.check) continue;
    if (Verdict broken = rule.check(*found, field.Key(rule.key))) return broken;
  }
  for (const auto& item : object.items()) {
    const auto known = [&](const KeyRule& rule) { return rule.key == item.key(); };
    if (std::ranges::none_of(rules, known)) return Broken(field.Key(item.key()), "is not allowed");
  }
  return std::nullopt;
}

constexpr std::string_view kTypes[] = {"ping", "traceroute", "dns", "mtr", "http"};
constexpr std::string_view kPingProtocols[] = {"TCP", "ICMP"};
constexpr std::string_view kLocationFilters[] = {"continent", "region", "country", "state", "city",
                                                 "network",   "asn",    "magic",   "tags"};
constexpr int kMostLocations = 128;
constexpr int kLongestLocationText = 128;
constexpr int kMostMagicConditions = 4;

Verdict CheckTarget(const Json& value, const Field& field, bool acceptPrivateTargets) {
  const std::string target = value.is_string() ? value.get<std::string>() : "";
  const std::optional<std::string> address = IpAddressIn(target);
  if (!address && !IsDomainName(target)) {
    return Broken(field, "does not match any of the allowed types");
  }
  if (address && !acceptPrivateTargets && IsPrivateAddress(*address)) {
    return Broken(field, "must not be a private hostname");
  }
  return std::nullopt;
}

std::vector<KeyRule> PingOptionRules(bool targetIsName) {
  const Check ipVersion = [](const Json& value, const Field& field) -> Verdict {
    const std::optional<double> version = NumberIn(value);
    if (version == 4 || version == 6) return std::nullopt;
    return Broken(field, "must be either 4 or 6");
  };
  return {{"packets", NumberCheck(1, 16)},
          {"protocol", OneOfCheck(kPingProtocols)},
          {"port", CheckPort},
          {"ipVersion",
           targetIsName ? ipVersion : RefusalCheck("is not allowed when target is not a domain")}};
}

Verdict CheckMagic(const Json& value, const Field& field) {
  if (Verdict broken = StringCheck(kLongestLocationText)(value, field)) return broken;
  if (std::ranges::count(value.get_ref<const std::string&>(), '+') >= kMostMagicConditions) {
    return Broken(field, "must contain at most " + std::to_string(kMostMagicConditions) +
                             " combined filters");
  }
  return std::nullopt;
}

// Filters other than magic are taken as they come: the canned places are found by magic only.
std::vector<KeyRule> LocationRules(bool globalLimit, int mostTests) {
  std::vector<KeyRule> rules;
  for (std::string_view filter : kLocationFilters) {
    rules.push_back({filter, filter == "magic" ? Check(CheckMagic) : Check()});
  }
  rules.push_back({"limit", globalLimit ? RefusalCheck("is not allowed when a global limit is set")
                                        : NumberCheck(1, mostTests)});
  return rules;
}

// A string names an earlier measurement whose probes are used again.
Verdict CheckLocations(const Json& locations, const Field& field, bool globalLimit, int mostTests) {
  if (locations.is_string()) return StringCheck(kLongestLocationText)(locations, field);
  if (!locations.is_array()) return Broken(field, "must be one of [string, array]");
  if (locations.size() > kMostLocations) {
    return Broken(
        field, "must contain less than or equal to " + std::to_string(kMostLocations) + " items");
  }
  const std::vector<KeyRule> rules = LocationRules(globalLimit, mostTests);
  for (size_t i = 0; i < locations.size(); ++i) {
    if (Verdict broken = CheckObject(locations[i], field.Item(i), rules)) return broken;
    const auto present = [&](std::string_view filter) { return locations[i].contains(filter); };
    if (std::ranges::none_of(kLocationFilters, present)) {
      return Broken(field.Item(i), "must contain at least one of " + Listed(kLocationFilters));
    }
  }
  if (SumOfLocationLimits(locations) > mostTests) {
    return BrokenRule{
        field.path, "the sum of limits must be less than or equal to " + std::to_string(mostTests)};
  }
  return std::nullopt;
}

}  // namespace

Verdict CheckMeasurement(const Json& body, const Rules& rules) {
  const Check target = [&](const Json& value, const Field& field) {
    return CheckTarget(value, field, rules.acceptPrivateTargets);
  };
  // Only ping's options are known: the canned probes only ping.
  const Check options = [&](const Json& value, const Field& field) -> Verdict {
    if (!IsPing(body)) return std::nullopt;
    const bool targetIsName = !IpAddressIn(body.at("target").get<std::string>());
    return CheckObject(value, field, PingOptionRules(targetIsName));
  };
  const Check locations = [&](const Json& value, const Field& field) {
    return CheckLocations(value, field, body.contains("limit"), rules.mostTests);
  };
  return CheckObject(body, {"", "value"},
                     {{"type", OneOfCheck(kTypes), true},
                      {"target", target, true},
                      {"measurementOptions", options},
                      {"timeout", NumberCheck(5, 30, true)},
                      {"locations", locations},
                      {"limit", NumberCheck(1, rules.mostTests)},
                      {"inProgressUpdates", CheckBoolean}});
}

// ---- The body, as the API's body parser reads it ----

namespace {

constexpr size_t kMostBodyBytes = 100 * 1024;
constexpr std::string_view kJsonTypes[] = {"application/json", "application/json-patch+json",
                                           "application/vnd.api+json", "application/csp-report",
                                           "application/scim+json"};

// Node's words for where JSON.parse stopped.
std::string JsonFailure(const std::string& text, size_t stoppedAfter) {
  if (stoppedAfter > text.size()) return "Unexpected end of JSON input";
  const size_t position = stoppedAfter - 1;
  return "Unexpected token " + text.substr(position, 1) + " in JSON at position " +
         std::to_string(position);
}

bool IsJsonType(const std::string& contentType) {
  const std::string mediaType = LowerCase(contentType.substr(0, contentType.find(';')));
  return std::ranges::find(kJsonTypes, Trimmed(mediaType)) != std::end(kJsonTypes);
}

}  // namespace

// Other content types are not read at all, so their body is empty, as is a JSON body with no
// text; a text that opens no object or array is refused.
ParsedBody ParseBody(const httplib::Request& request) {
  if (!IsJsonType(request.get_header_value("Content-Type")) || request.body.empty()) {
    return {Json::object(), ""};
  }
  if (request.body.size() > kMostBodyBytes) return {nullptr, "request entity too large"};
  const std::string_view text = Trimmed(request.body);
  if (!text.starts_with('{') && !text.starts_with('[')) {
    return {nullptr, "invalid JSON, only supports object and array"};
  }
  try {
    return {ParseOrderedJson(request.body), ""};
  } catch (const Json::parse_error& error) {
    return {nullptr, JsonFailure(request.body, error.byte)};
  }
}

}  // namespace vardelle::demo::stand_in
