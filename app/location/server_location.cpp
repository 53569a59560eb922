#include "app/location/server_location.h"

#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/location/offline_locations.h"
#include "support/http/http_request.h"
#include "support/json/json_reader.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr std::string_view kEscapeMark = "\\u";
// Far above a real answer's few hundred bytes.
constexpr std::size_t kLongestLocationAnswer = 64 * 1024;
// An escape is the mark and four characters; fewer at the end of the text.
constexpr int kEscapeLength = 6;
// Values from here on are converted; below it the escape stays as it stands.
constexpr std::uint32_t kFirstConvertedValue = 255;

// "0" to "9" count 0 to 9, letters of either case 10 to 35, anything else its byte code.
std::uint32_t DigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 10);
  return static_cast<unsigned char>(c);
}

bool IsSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// One UTF-16 unit as code page 936 writes it. The codec turns a lone surrogate back into a
// raw byte (its own escape for bytes that are not GBK); code page 936 has no character for
// one, so it becomes the replacement "?" like any other character GBK lacks.
Text UnitToGbk(std::uint32_t unit) {
  if (IsSurrogate(unit)) return "?";
  return ToGbk(std::u16string(1, static_cast<char16_t>(unit)));
}

// The escape's characters: the mark and up to four more.
Text DecodeOneEscape(std::string_view escape) {
  if (escape.substr(0, kEscapeMark.size()) != kEscapeMark) return Text(escape);
  std::uint32_t value = 0;
  for (char c : escape.substr(kEscapeMark.size())) value = (value << 4) + DigitValue(c);
  // Above 0xFFFF only characters that are no hex digits can take it; such an escape, not
  // one UTF-16 unit, stays as it stands.
  if (value < kFirstConvertedValue || value > 0xFFFF) return Text(escape);
  return UnitToGbk(value);
}

// An answer cut short loses its unclosed "data" object; without one there is no location
// to show, so it fails rather than showing an empty line as if one had been found.
Text ReadLocationLine(JsonReader& reader) {
  int dataNode = -1;
  reader.getCount("data", &dataNode);
  if (reader.getText("code") != "0" || dataNode < 0) return kLocationFailureText;
  const Text country = reader.getText("data.country");
  const Text area = reader.getText("data.area");
  const Text region = reader.getText("data.region");
  const Text city = reader.getText("data.city");
  const Text county = reader.getText("data.county");
  const Text isp = reader.getText("data.isp");
  return JoinTexts({country, area, " - ", region, city, county, isp});
}

}  // namespace

Text DecodeUnicodeEscapes(std::string_view text) {
  Text result;
  result.reserve(text.size());
  int position = 1;  // 1-based, as the text primitives count
  for (int mark = FindText(text, kEscapeMark, {.start = position}); mark != -1;
       mark = FindText(text, kEscapeMark, {.start = position})) {
    result.append(text.substr(static_cast<std::size_t>(position) - 1,
                              static_cast<std::size_t>(mark - position)));
    const Text escape = MidText(text, mark, kEscapeLength);
    result.append(DecodeOneEscape(escape));
    position = mark + static_cast<int>(escape.size());
    if (static_cast<std::size_t>(position) > text.size()) break;
  }
  if (static_cast<std::size_t>(position) <= text.size()) {
    result.append(text.substr(static_cast<std::size_t>(position) - 1));
  }
  return ReplaceText(result, "\\/", "/");
}

Text LocationLineFromAnswer(std::string_view answer) {
  JsonReader reader;
  reader.parse(DecodeUnicodeEscapes(answer));
  return ReadLocationLine(reader);
}

Text LookUpServerLocation(const Endpoints& endpoints, const std::string& address) {
  try {
    // Asked with an empty "ip=", some services answer with the asker's own location.
    if (address.empty() || !endpoints.HasAddress(Site::kIpLocation)) return kLocationFailureText;
    HttpRequest request;
    Text url = endpoints.DocumentUrl(Site::kIpLocation) + address;
    request.OpenRequest("GET", url);
    // An answer is a few hundred bytes; eight lookups at once must not hold 64 MiB each.
    request.SetMaxResponseBodySize(kLongestLocationAnswer);
    request.SendText();
    return LocationLineFromAnswer(request.GetResponseText());
  } catch (...) {
    return kLocationFailureText;
  }
}

Text LocationSourceNote(LocationSource source) {
  return source == LocationSource::kOffline
             ? "位置来自程序自带的离线 IP 数据库（ip2region），不是定位站点的回答"
             : "";
}

ServerLocation LocateServer(const Endpoints& endpoints, const OfflineLocations* offline,
                            const std::string& address) {
  if (endpoints.HasAddress(Site::kIpLocation)) {
    Text line = LookUpServerLocation(endpoints, address);
    if (line != kLocationFailureText) return {std::move(line), LocationSource::kSite};
  }
  if (std::optional<Text> line = OfflineLocationOf(offline, address)) {
    return {std::move(*line), LocationSource::kOffline};
  }
  const bool ipv6 = address.find(':') != std::string::npos;
  return {ipv6 ? kLocationUnknownText : kLocationFailureText, LocationSource::kSite};
}

}  // namespace vardelle
