#include "demo_world/globalping_stand_in.h"

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif
#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vardelle::demo {
namespace {

// Ordered, so that keys come out in the order the API writes them.
using Json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

// ---- Canned probes ----

struct Area {
  const char* continent;
  const char* region;
};
constexpr Area kEasternAsia{"AS", "Eastern Asia"};
constexpr Area kSouthEasternAsia{"AS", "South-eastern Asia"};
constexpr Area kSouthernAsia{"AS", "Southern Asia"};
constexpr Area kWesternEurope{"EU", "Western Europe"};
constexpr Area kNorthernAmerica{"NA", "Northern America"};
constexpr Area kOceania{"OC", "Australia and New Zealand"};
constexpr Area kSouthAmerica{"SA", "South America"};

// Round trips in ms and the share of packets lost, in percent.
struct Figures {
  double min, avg, max, loss;
};
constexpr Figures kLostEveryPacket{0, 0, 0, 100};

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

using Probes = std::vector<const CannedProbe*>;

std::string Utf8(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// ---- Answers ----

// Exactly this: httplib compresses no other spelling of the JSON type.
constexpr char kJson[] = "application/json";
constexpr std::string_view kDocs = "https://globalping.io/docs/api.globalping.io";
// The routes' anchors in the documentation, which the API links from its errors.
constexpr std::string_view kCreateAnchor = "#post-/v1/measurements";
constexpr std::string_view kPollAnchor = "#get-/v1/measurements/-id-";
constexpr std::string_view kLimitsAnchor = "#get-/v1/limits";

// Indented as the API's JSON middleware writes every body but a measurement's.
void SendJson(httplib::Response& response, int status, const Json& body) {
  response.status = status;
  response.set_content(body.dump(2), kJson);
}

void SendError(httplib::Response& response, int status, std::string_view anchor,
               const std::string& type, const std::string& message, Json params = nullptr) {
  Json error = {{"type", type}, {"message", message}};
  if (!params.is_null()) error["params"] = std::move(params);
  const Json links = {{"documentation", std::string(kDocs).append(anchor)}};
  SendJson(response, status, {{"error", std::move(error)}, {"links", links}});
}

void SendUnauthorized(httplib::Response& response, std::string_view anchor) {
  SendError(response, 401, anchor, "unauthorized", "Unauthorized.");
}

// What a proxy in front of the service answers while the service is away.
void SendBadGateway(httplib::Response& response) {
  response.status = 502;
  response.set_content(
      "<html>\n<head><title>502 Bad Gateway</title></head>\n<body>\n"
      "<center><h1>502 Bad Gateway</h1></center>\n</body>\n</html>\n",
      "text/html");
}

// ---- Targets ----

// The address's bytes, 4 or 16; none when the text is no IP address.
std::vector<unsigned char> AddressBytes(const std::string& text) {
  unsigned char bytes[sizeof(in6_addr)];
  if (text.find('\0') != std::string::npos) return {};
  if (inet_pton(AF_INET, text.c_str(), bytes) == 1) {
    return std::vector<unsigned char>(bytes, bytes + sizeof(in_addr));
  }
  if (inet_pton(AF_INET6, text.c_str(), bytes) == 1) {
    return std::vector<unsigned char>(bytes, bytes + sizeof(in6_addr));
  }
  return {};
}

// The target's IP address as the API reads it ("[...]" holds an IPv6 one); none for a name.
std::optional<std::string> IpAddressIn(const std::string& target) {
  const bool bracketed = target.size() >= 2 && target.front() == '[' && target.back() == ']';
  const std::string address = bracketed ? target.substr(1, target.size() - 2) : target;
  const size_t length = AddressBytes(address).size();
  if (length == 0 || (bracketed && length != sizeof(in6_addr))) return std::nullopt;
  return address;
}

// The API's private-ip.ts: reserved IPv4 blocks and IANA's special-purpose IPv6 ones.
constexpr std::string_view kPrivateRanges[] = {
    "0.0.0.0/8",          "10.0.0.0/8",      "100.64.0.0/10",  "127.0.0.0/8",    "169.254.0.0/16",
    "172.16.0.0/12",      "192.0.0.0/24",    "192.0.2.0/24",   "192.88.99.0/24", "192.168.0.0/16",
    "198.18.0.0/15",      "198.51.100.0/24", "203.0.113.0/24", "224.0.0.0/4",    "240.0.0.0/4",
    "255.255.255.255/32", "::/128",          "::1/128",        "64:ff9b:1::/48", "100::/64",
    "2001::/32",          "2001:10::/28",    "2001:20::/28",   "2001:db8::/32",  "2002::/16",
    "fc00::/7",           "fe80::/10",       "ff00::/8",
};

bool InRange(const std::vector<unsigned char>& address, std::string_view range) {
  const size_t slash = range.find('/');
  const std::vector<unsigned char> network = AddressBytes(std::string(range.substr(0, slash)));
  if (network.size() != address.size()) return false;
  int bits = 0;
  std::from_chars(range.data() + slash + 1, range.data() + range.size(), bits);
  for (size_t i = 0; bits > 0; ++i, bits -= 8) {
    const auto mask = static_cast<unsigned char>(bits >= 8 ? 0xFF : 0xFF << (8 - bits));
    if ((address[i] & mask) != (network[i] & mask)) return false;
  }
  return true;
}

bool IsPrivateAddress(const std::string& address) {
  const std::vector<unsigned char> bytes = AddressBytes(address);
  return std::ranges::any_of(kPrivateRanges,
                             [&](std::string_view range) { return InRange(bytes, range); });
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// The validator takes most of Unicode as letters; every byte of UTF-8 beyond ASCII stands in.
bool IsBeyondAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool IsLabel(std::string_view label) {
  const auto allowed = [](char c) {
    return IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == '_' || IsBeyondAscii(c);
  };
  return !label.empty() && label.size() <= 63 && std::ranges::all_of(label, allowed) &&
         label.front() != '-' && label.back() != '-';
}

// Two letters or more, or an internationalized name's "xn--" form.
bool IsTopLevelLabel(std::string_view label) {
  const auto punycode = [](char c) { return IsAsciiLetter(c) || IsDigit(c) || c == '-'; };
  if (label.size() >= 4 && LowerCase(label.substr(0, 2)) == "xn" &&
      std::ranges::all_of(label.substr(2), punycode)) {
    return true;
  }
  const auto letter = [](char c) { return IsAsciiLetter(c) || IsBeyondAscii(c); };
  return label.size() >= 2 && std::ranges::all_of(label, letter);
}

// The validator's isFQDN with allow_underscores, as the API checks a target name.
bool IsDomainName(std::string_view name) {
  std::vector<std::string_view> labels;
  for (size_t start = 0; start <= name.size();) {
    const size_t dot = std::min(name.find('.', start), name.size());
    labels.push_back(name.substr(start, dot - start));
    start = dot + 1;
  }
  return labels.size() >= 2 && std::ranges::all_of(labels, IsLabel) &&
         IsTopLevelLabel(labels.back());
}

// ---- Validation, as the API's Joi schemas do it ----

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

struct BrokenRule {
  std::string path;
  std::string message;
};
using Verdict = std::optional<BrokenRule>;
using Check = std::function<Verdict(const Json&, const Field&)>;

Verdict Broken(const Field& field, const std::string& rule) {
  return BrokenRule{field.path, "\"" + field.label + "\" " + rule};
}

std::string Listed(std::span<const std::string_view> words) {
  std::string list;
  for (std::string_view word : words) list.append(list.empty() ? "" : ", ").append(word);
  return "[" + list + "]";
}

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

struct Rules {
  int mostTests;  // per measurement and per location
  bool acceptPrivateTargets;
};

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

double LocationLimit(const Json& location) {
  const auto limit = location.find("limit");
  return limit == location.end() ? 1 : NumberIn(*limit).value_or(1);
}

double SumOfLocationLimits(const Json& locations) {
  double sum = 0;
  for (const Json& location : locations) sum += LocationLimit(location);
  return sum;
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

bool IsPing(const Json& body) { return LowerCase(body.at("type").get<std::string>()) == "ping"; }

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

constexpr size_t kMostBodyBytes = 100 * 1024;
constexpr std::string_view kJsonTypes[] = {"application/json", "application/json-patch+json",
                                           "application/vnd.api+json", "application/csp-report",
                                           "application/scim+json"};

struct ParsedBody {
  Json json;
  std::string failure;  // the parser's words for a body it could not read
};

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
    return {Json::parse(request.body), ""};
  } catch (const Json::parse_error& error) {
    return {nullptr, JsonFailure(request.body, error.byte)};
  }
}

// ---- Probe results ----

constexpr int kDefaultPackets = 3;
constexpr int kTtl = 55;
constexpr int kPacketIntervalMs = 500;
// The stand-in looks no name up: a name is taken to resolve to loopback, where the demo
// world's servers are.
constexpr char kNameAddress[] = "127.0.0.1";

struct PingShot {
  std::string target;
  std::string address;
  int packets;
};

// As JavaScript writes numbers: whole ones without a fraction.
Json Number(double value) {
  if (std::trunc(value) == value) return static_cast<long long>(value);
  return value;
}

std::string Millis(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
  return {text, written.ptr};
}

double Deviation(const std::vector<double>& rtts) {
  double sum = 0, squares = 0;
  for (double rtt : rtts) {
    sum += rtt;
    squares += rtt * rtt;
  }
  const auto count = static_cast<double>(rtts.size());
  return std::sqrt(std::max(squares / count - (sum / count) * (sum / count), 0.0));
}

// The first reply is the quickest and the last the slowest; those between take the average.
std::vector<double> Rtts(const Figures& figures, int received) {
  std::vector<double> rtts(static_cast<size_t>(std::max(received, 0)), figures.avg);
  if (rtts.size() > 1) {
    rtts.front() = figures.min;
    rtts.back() = figures.max;
  }
  return rtts;
}

// ping's own text (iputils, as the probes run it), which the probe's figures are read from.
std::string PingOutput(const Figures& figures, const PingShot& shot,
                       const std::vector<double>& rtts) {
  std::string text = "PING " + shot.target + " (" + shot.address + ") 56(84) bytes of data.\n";
  for (size_t reply = 0; reply < static_cast<size_t>(shot.packets); ++reply) {
    const std::string sequence = "icmp_seq=" + std::to_string(reply + 1);
    text += reply < rtts.size() ? "64 bytes from " + shot.address + ": " + sequence +
                                      " ttl=" + std::to_string(kTtl) +
                                      " time=" + Number(rtts[reply]).dump() + " ms\n"
                                : "no answer yet for " + sequence + "\n";
  }
  text += "\n--- " + shot.target + " ping statistics ---\n" + std::to_string(shot.packets) +
          " packets transmitted, " + std::to_string(rtts.size()) + " received, " +
          Number(figures.loss).dump() + "% packet loss, time " +
          std::to_string((shot.packets - 1) * kPacketIntervalMs) + "ms";
  if (rtts.empty()) return text;
  return text + "\nrtt min/avg/max/mdev = " + Millis(figures.min) + "/" + Millis(figures.avg) +
         "/" + Millis(figures.max) + "/" + Millis(Deviation(rtts)) + " ms";
}

// The canned loss in whole packets: rounded up, so that any loss drops one, yet short of all
// unless the loss is total.
int DroppedPackets(const Figures& figures, int packets) {
  if (figures.loss >= 100) return packets;
  return std::min(static_cast<int>(std::ceil(packets * figures.loss / 100)), packets - 1);
}

Json FinishedResult(const Figures& figures, const PingShot& shot) {
  const int dropped = DroppedPackets(figures, shot.packets);
  const std::vector<double> rtts = Rtts(figures, shot.packets - dropped);
  const auto figure = [&](double value) { return rtts.empty() ? Json(nullptr) : Number(value); };
  Json timings = Json::array();
  for (double rtt : rtts) timings.push_back({{"ttl", kTtl}, {"rtt", Number(rtt)}});
  const Json stats = {{"min", figure(figures.min)},
                      {"max", figure(figures.max)},
                      {"avg", figure(figures.avg)},
                      {"total", shot.packets},
                      {"loss", Number(figures.loss)},
                      {"rcv", rtts.size()},
                      {"drop", dropped}};
  return {{"status", "finished"},
          {"rawOutput", PingOutput(figures, shot, rtts)},
          {"resolvedAddress", shot.address},
          {"resolvedHostname", rtts.empty() ? Json(nullptr) : Json(shot.address)},
          {"timings", timings},
          {"stats", stats}};
}

// When ping itself fails the probe parses nothing from its words: every figure is null.
Json FailedResult() {
  Json stats = Json::object();
  for (const char* figure : {"min", "max", "avg", "total", "loss", "rcv", "drop"}) {
    stats[figure] = nullptr;
  }
  return {{"status", "failed"},         {"rawOutput", "ping: connect: Network is unreachable"},
          {"resolvedAddress", nullptr}, {"resolvedHostname", nullptr},
          {"timings", Json::array()},   {"stats", stats}};
}

Json ProbeJson(const CannedProbe& probe) {
  return {{"continent", probe.area.continent},
          {"region", probe.area.region},
          {"country", probe.country},
          {"state", probe.state ? Json(probe.state) : Json(nullptr)},
          {"city", Utf8(probe.city)},
          {"asn", probe.asn},
          {"longitude", 0},
          {"latitude", 0},
          {"network", Utf8(probe.network)},
          {"tags", Json::array()},
          {"resolvers", Json::array({"private"})}};
}

Json ResultJson(const CannedProbe& probe, bool done, const PingShot& shot) {
  if (!done) return {{"status", "in-progress"}, {"rawOutput", ""}};
  return probe.fails ? FailedResult() : FinishedResult(probe.figures, shot);
}

// ---- Finding probes ----

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

// ---- Time and ids ----

long long RoundedSeconds(Clock::duration duration) {
  return std::llround(std::chrono::duration<double>(duration).count());
}

long long SecondsUp(Clock::duration duration) {
  return static_cast<long long>(std::ceil(std::chrono::duration<double>(duration).count()));
}

// As JavaScript's toISOString writes it.
std::string Timestamp(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  const auto ms = floor<milliseconds>(at);
  const auto day = floor<days>(ms);
  const year_month_day date{day};
  const hh_mm_ss time{ms - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int{date.year()},
                unsigned{date.month()}, unsigned{date.day()}, static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
                static_cast<int>(time.subseconds().count()));
  return text;
}

constexpr std::string_view kBase62 =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

std::string Base62(std::uint64_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kBase62[number % kBase62.size()]);
    number /= kBase62.size();
  } while (number > 0);
  return digits;
}

// ---- The budgets ----

// A fixed window, as the API's rate limiter keeps one: it opens with the first charge and
// closes a set time later, whatever is charged meanwhile.
struct RateWindow {
  Clock::time_point end;
  int consumed = 0;
};

class RateWindows {
 public:
  // The key's open window; none before its first charge or once it has closed.
  RateWindow* Find(const std::string& key, Clock::time_point now) {
    const auto found = windows_.find(key);
    if (found == windows_.end()) return nullptr;
    if (found->second.end > now) return &found->second;
    windows_.erase(found);
    return nullptr;
  }

  RateWindow& Open(const std::string& key, Clock::duration length, Clock::time_point now) {
    if (RateWindow* window = Find(key, now)) return *window;
    return windows_[key] = {now + length, 0};
  }

 private:
  std::map<std::string, RateWindow> windows_;
};

constexpr auto kBudgetWindow = std::chrono::hours(1);
constexpr int kAnonymousMostTests = 50;
constexpr int kTokenMostTests = 500;
// A token's shortfall of credits is remembered this long: meanwhile the precheck refuses as
// much or more at once.
constexpr auto kShortfallMemory = seconds(60);
// Polls of one measurement by one client: past five in 2 s, the next ones wait 5 s.
constexpr int kPollsPerWindow = 5;
constexpr auto kPollWindow = seconds(2);
constexpr auto kPollBlock = seconds(5);

int Remaining(const RateWindow& window, int budget) {
  return std::max(budget - window.consumed, 0);
}

struct Caller {
  bool authenticated;
  std::string budgetKey;  // the token's user, else the address
};

struct Record {
  Json request;
  std::string target;  // without an IPv6 address's brackets
  Probes probes;
  int packets;
  std::string createdAt;
  int polls = 0;
  bool badGatewaySent = false;
};

class StandIn {
 public:
  explicit StandIn(StandInBehaviour behaviour)
      : behaviour_(std::move(behaviour)), random_(std::random_device()()) {}

  void Create(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const std::optional<Caller> caller = Identify(request);
    if (!caller) return SendUnauthorized(response, kCreateAnchor);
    const ParsedBody body = ParseBody(request);
    if (!body.failure.empty()) {
      return SendError(response, 400, kCreateAnchor, "api_error", body.failure);
    }
    const Rules rules{caller->authenticated ? kTokenMostTests : kAnonymousMostTests,
                      behaviour_.acceptPrivateTargets};
    if (const Verdict broken = CheckMeasurement(body.json, rules)) {
      return SendError(response, 400, kCreateAnchor, "validation_error",
                       "Parameter validation failed.", {{broken->path, broken->message}});
    }
    Run(*caller, body.json, request.get_header_value("Host"), response);
  }

  void Poll(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const std::string id = request.matches[1];
    const auto found = records_.find(id);
    if (found != records_.end() && behaviour_.badGatewayOnFirstPoll &&
        !found->second.badGatewaySent) {
      found->second.badGatewaySent = true;
      return SendBadGateway(response);
    }
    if (const std::optional<long long> wait = ChargePoll(request.remote_addr + ":" + id)) {
      const std::string waitText = std::to_string(*wait);
      response.set_header("Retry-After", waitText);
      return SendError(response, 429, kPollAnchor, "too_many_requests",
                       "Too many requests. Please retry in " + waitText +
                           (*wait == 1 ? " second." : " seconds."));
    }
    if (found == records_.end()) {
      return SendError(response, 404, kPollAnchor, "not_found",
                       "Couldn't find the requested measurement.");
    }
    response.set_content(MeasurementJson(found->first, found->second).dump(), kJson);
  }

  void Limits(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const std::optional<Caller> caller = Identify(request);
    if (!caller) return SendUnauthorized(response, kLimitsAnchor);
    const int budget = Budget(*caller);
    const Clock::time_point now = Clock::now();
    const RateWindow* window = budgets_.Find(caller->budgetKey, now);
    const Json create = {{"type", caller->authenticated ? "user" : "ip"},
                         {"limit", budget},
                         {"remaining", window ? Remaining(*window, budget) : budget},
                         {"reset", window ? RoundedSeconds(window->end - now) : 0}};
    Json body = {{"rateLimit", {{"measurements", {{"create", create}}}}}};
    if (caller->authenticated) body["credits"] = {{"remaining", 0}};
    SendJson(response, 200, body);
  }

 private:
  struct CreditsShortfall {
    double required;
    Clock::time_point at;
  };

  // None when an Authorization header names no accepted token.
  std::optional<Caller> Identify(const httplib::Request& request) const {
    const std::string authorization = request.get_header_value("Authorization");
    if (authorization.empty()) return Caller{false, request.remote_addr};
    if (behaviour_.acceptedToken.empty() || authorization != "Bearer " + behaviour_.acceptedToken) {
      return std::nullopt;
    }
    return Caller{true, "token"};
  }

  int Budget(const Caller& caller) const {
    return caller.authenticated ? behaviour_.tokenHourlyTests : behaviour_.anonymousHourlyTests;
  }

  void Run(const Caller& caller, const Json& body, const std::string& host,
           httplib::Response& response) {
    const Clock::time_point now = Clock::now();
    if (RefusedUpFront(caller, MostProbes(body), response, now)) return;
    Probes probes = FindProbes(body);
    if (probes.empty()) {
      return SendError(
          response, 422, kCreateAnchor, "no_probes_found",
          "No matching IPv" + std::to_string(IpVersionOf(body)) + " probes available.");
    }
    if (!Charge(caller, static_cast<int>(probes.size()), response, now)) return;
    const std::string target = body.at("target").get<std::string>();
    Record record{body, IpAddressIn(target).value_or(target), std::move(probes), PacketsOf(body),
                  Timestamp(std::chrono::system_clock::now())};
    const std::string id = NewId(caller.authenticated);
    response.set_header("Location", "http://" + host + "/v1/measurements/" + id);
    SendJson(response, 202, {{"id", id}, {"probesCount", record.probes.size()}});
    records_.emplace(id, std::move(record));
  }

  // An open window that cannot cover the most probes asked for refuses the creation before
  // any probe is looked for; with a token, only while a shortfall of credits is remembered.
  bool RefusedUpFront(const Caller& caller, std::optional<double> mostProbes,
                      httplib::Response& response, Clock::time_point now) {
    const RateWindow* window = budgets_.Find(caller.budgetKey, now);
    if (!mostProbes || !window) return false;
    const double shortfall = *mostProbes - Remaining(*window, Budget(caller));
    if (shortfall <= 0 || (caller.authenticated && !RecentlyShortOfCredits(shortfall, now))) {
      return false;
    }
    RefuseForBudget(caller, *window, Number(*mostProbes).dump(), response, now);
    return true;
  }

  // All the probes found or nothing: a charge the window cannot take leaves it as it was.
  bool Charge(const Caller& caller, int cost, httplib::Response& response, Clock::time_point now) {
    RateWindow& window = budgets_.Open(caller.budgetKey, kBudgetWindow, now);
    const int budget = Budget(caller);
    if (window.consumed + cost > budget) {
      const double required = std::min(window.consumed + cost - budget, cost);
      if (caller.authenticated && !RecentlyShortOfCredits(required, now)) {
        creditsShortfall_ = CreditsShortfall{required, now};
      }
      RefuseForBudget(caller, window, std::to_string(cost), response, now);
      return false;
    }
    window.consumed += cost;
    response.set_header("X-Request-Cost", std::to_string(cost));
    SetBudgetHeaders(window, budget, cost, response, now);
    return true;
  }

  bool RecentlyShortOfCredits(double required, Clock::time_point now) const {
    return creditsShortfall_ && now - creditsShortfall_->at < kShortfallMemory &&
           required >= creditsShortfall_->required;
  }

  // A token's user has no credits to pay for what the hour's tests do not cover.
  void RefuseForBudget(const Caller& caller, const RateWindow& window, const std::string& cost,
                       httplib::Response& response, Clock::time_point now) const {
    response.set_header("X-Request-Cost", cost);
    SetBudgetHeaders(window, Budget(caller), 0, response, now);
    if (!caller.authenticated) {
      return SendError(response, 429, kCreateAnchor, "rate_limit_exceeded",
                       "This measurement exceeds the remaining hourly rate limit for your IP "
                       "address.");
    }
    response.set_header("X-Credits-Consumed", "0");
    response.set_header("X-Credits-Remaining", "0");
    SendError(response, 429, kCreateAnchor, "insufficient_credits",
              "Not enough credits to run this measurement.");
  }

  static void SetBudgetHeaders(const RateWindow& window, int budget, int consumed,
                               httplib::Response& response, Clock::time_point now) {
    response.set_header("X-RateLimit-Reset", std::to_string(RoundedSeconds(window.end - now)));
    response.set_header("X-RateLimit-Limit", std::to_string(budget));
    response.set_header("X-RateLimit-Consumed", std::to_string(consumed));
    response.set_header("X-RateLimit-Remaining", std::to_string(Remaining(window, budget)));
  }

  // The wait before polls are taken again; none when this one is.
  std::optional<long long> ChargePoll(const std::string& key) {
    const Clock::time_point now = Clock::now();
    RateWindow& window = polls_.Open(key, kPollWindow, now);
    if (++window.consumed <= kPollsPerWindow) return std::nullopt;
    if (window.consumed == kPollsPerWindow + 1) window.end = now + kPollBlock;
    return SecondsUp(window.end - now);
  }

  Probes FindProbes(const Json& body) const {
    // The canned probes only ping.
    if (!IsPing(body)) return {};
    const Json locations = LocationsOf(body);
    if (locations.is_string()) return ProbesOf(locations.get<std::string>());
    Probes found = body.contains("limit") || locations.empty()
                       ? TakeEvenly(locations, Count(GlobalLimit(body)))
                       : TakeFromEach(locations);
    // As the API does, a lone magic that matches no probe is tried as a measurement's id.
    if (found.empty() && locations.size() == 1 && locations[0].contains("magic")) {
      return ProbesOf(locations[0]["magic"].get<std::string>());
    }
    return found;
  }

  Probes ProbesOf(const std::string& id) const {
    const auto found = records_.find(id);
    return found == records_.end() ? Probes() : found->second.probes;
  }

  // As the API's ids: version 2, 16 random characters, the storage's strategy and location,
  // the caller's tier (0 anonymous, 1 member), and the minute of creation.
  std::string NewId(bool authenticated) {
    const auto minute = std::chrono::duration_cast<std::chrono::minutes>(
        std::chrono::system_clock::now().time_since_epoch());
    std::string id;
    do {
      id = "2";
      for (int i = 0; i < 16; ++i) id += kBase62[random_() % kBase62.size()];
      id += authenticated ? "001" : "000";
      id += Base62(static_cast<std::uint64_t>(minute.count()));
    } while (records_.contains(id));
    return id;
  }

  // Each poll finishes one more probe, the last one only once the polls are used up.
  Json MeasurementJson(const std::string& id, Record& record) {
    const size_t count = record.probes.size();
    const bool finished =
        behaviour_.pollsBeforeFinished >= 0 && record.polls >= behaviour_.pollsBeforeFinished;
    const size_t done =
        finished ? count : std::min(static_cast<size_t>(record.polls) + 1, count - 1);
    ++record.polls;
    const PingShot shot{record.target, IpAddressIn(record.target).value_or(kNameAddress),
                        record.packets};
    Json results = Json::array();
    for (size_t i = 0; i < count; ++i) {
      results.push_back({{"probe", ProbeJson(*record.probes[i])},
                         {"result", ResultJson(*record.probes[i], i < done, shot)}});
    }
    Json measurement = {{"id", id},
                        {"type", "ping"},
                        {"status", finished ? "finished" : "in-progress"},
                        {"createdAt", record.createdAt},
                        {"updatedAt", Timestamp(std::chrono::system_clock::now())},
                        {"target", record.target},
                        {"probesCount", count}};
    for (const char* asked : {"timeout", "limit", "locations", "measurementOptions"}) {
      if (record.request.contains(asked)) measurement[asked] = record.request[asked];
    }
    measurement["results"] = std::move(results);
    return measurement;
  }

  const StandInBehaviour behaviour_;
  std::mutex mutex_;
  RateWindows budgets_;
  RateWindows polls_;
  std::optional<CreditsShortfall> creditsShortfall_;
  std::map<std::string, Record> records_;
  std::mt19937_64 random_;
};

}  // namespace

void ServeGlobalpingStandIn(httplib::Server& http, StandInBehaviour behaviour) {
  auto standIn = std::make_shared<StandIn>(std::move(behaviour));
  const auto answer =
      [standIn](void (StandIn::*handler)(const httplib::Request&, httplib::Response&)) {
        return [standIn, handler](const httplib::Request& request, httplib::Response& response) {
          (*standIn.*handler)(request, response);
        };
      };
  http.Post("/v1/measurements", answer(&StandIn::Create));
  http.Get(R"(/v1/measurements/([a-zA-Z0-9]+))", answer(&StandIn::Poll));
  // Other ids match no route of the API: its generic 404.
  http.Get(R"(/v1/measurements/[^/]+)", [](const httplib::Request&, httplib::Response& response) {
    SendError(response, 404, "", "not_found", "Not Found.");
  });
  http.Get("/v1/limits", answer(&StandIn::Limits));
}

}  // namespace vardelle::demo
