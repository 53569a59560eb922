// The server location lookup: asks the IP-location service about a server's address and
// joins the six fields of its answer into one line.
#pragma once

#include <string>
#include <string_view>

#include "app/settings/endpoints.h"
#include "app/view/location_source.h"
#include "support/text/text.h"

namespace vardelle {

class OfflineLocations;

// Cell 6 when the lookup fails.
inline constexpr char kLocationFailureText[] = "获取地理位置失败!";
// An IPv6 address's location when the site gives none: the offline database holds no IPv6.
inline constexpr char kLocationUnknownText[] = "未知";

// The location line of address, country + area + " - " + region + city + county + isp, or
// "获取地理位置失败!" (also for an answer without its "data" object). One synchronous GET
// of the IP-location URL with the address appended as it is, with the request object's
// default time-outs. An address of "" (a domain that did not resolve) or a site without an
// address gives the failure line and nothing is sent.
// Blocking; callable from any thread; never throws.
Text LookUpServerLocation(const Endpoints& endpoints, const std::string& address);

struct ServerLocation {
  Text line;
  LocationSource source = LocationSource::kSite;
  bool operator==(const ServerLocation&) const = default;
};

// The location cell's tooltip for a line from source: "" for the site's.
Text LocationSourceNote(LocationSource source);

// The location line of address from the location site when one is set and answers for it,
// else from the offline database (kLoopbackLocationText for a loopback address);
// "获取地理位置失败!" when neither knows it, "未知" for an IPv6 address. offline may be null
// (no database shipped).
ServerLocation LocateServer(const Endpoints& endpoints, const OfflineLocations* offline,
                            const std::string& address);

// The location line of the service's answer (GBK), read as LookUpServerLocation reads it.
Text LocationLineFromAnswer(std::string_view answer);

// The text with every "\u" escape (a backslash and a small u, then up to four characters)
// whose value is 255 or more turned into that UTF-16 unit in GBK, escapes below 255 kept as
// they stand, and then every "\/" turned into "/".
Text DecodeUnicodeEscapes(std::string_view text);

}  // namespace vardelle
