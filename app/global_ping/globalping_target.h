// Targets the Globalping service measures: checked here first, as the service checks them,
// so a row that would be refused spends no request and no budget.
#pragma once

#include <string>
#include <string_view>

namespace vardelle {

// Why the service would refuse target (GBK), "" for a target it measures: an IPv4 or IPv6
// literal outside the private, loopback, link-local and reserved ranges, or a full domain
// name (a dot and a top-level domain of letters; underscores allowed). privateTargetsMeasured
// lets private and loopback addresses through, for the demo world's stand-in.
std::string GlobalpingTargetProblem(std::string_view target, bool privateTargetsMeasured = false);

}  // namespace vardelle
