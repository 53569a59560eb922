// Where a server's location line came from.
#pragma once

namespace vardelle {

// The location site (its failure line included), or the offline database shipped with the
// program.
enum class LocationSource { kSite, kOffline };

}  // namespace vardelle
