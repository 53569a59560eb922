// The per-user cookie store that requests in cookie mode 3 read and write: one store for the
// whole process, kept in memory only (nothing reaches the disk), safe to use from any thread.
//
// A cookie belongs to the host of the URL it was set for (compared without case; the port,
// user and scheme do not count) and to a path: the "path" attribute when it starts with "/",
// otherwise the directory of the URL's path. A URL carries the cookies of its host whose
// path is a prefix of its own path at a "/" boundary. A cookie whose "Max-Age" is 0 or less
// or whose "Expires" date has passed is removed, and one that expires later is dropped once
// that moment has passed. "Domain", "Secure" and "HttpOnly" are not looked at: every cookie
// stays with the exact host that set it.
#pragma once

#include "support/text/text.h"

namespace vardelle {

// Stores name=value for url, replacing a cookie of the same host, path and name. data is the
// value followed by optional "; attribute" parts; the value ends at the first ";" or line
// break, and spaces around name and value are dropped. False, storing nothing, when url has
// no "scheme://host" or the name is blank or holds "=", ";" or a control character.
bool SetSystemCookie(const Text& url, const Text& name, const Text& data);

// "name=value; name2=value2" for url: longer paths first, then in the order set; "" when none.
// The text is given whole, however long it is.
Text GetSystemCookies(const Text& url);

}  // namespace vardelle
