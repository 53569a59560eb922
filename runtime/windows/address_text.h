// IP addresses as WinHTTP writes them (the server connected to) or as a URL's host names
// them, judged by the redirect policy.
#pragma once

#include <optional>
#include <string_view>

#include "runtime/fetch/redirect_policy.h"

namespace vardelle {

// isInternal of the address written in text ("192.0.2.1", "::1", "[fe80::1]"); nothing
// when the text is no address, a host name.
std::optional<bool> JudgeAddressText(std::wstring_view text, AddressJudge isInternal);

// The chain's verdict on a redirect whose host is written as an address, before anything is
// sent there (WinHTTP may send a request whose handle its callback closed); kNone for a host
// name, which is judged by the address it connects to.
RedirectRefusal JudgeWrittenAddress(RedirectChain& chain, bool secure, std::wstring_view host,
                                    AddressJudge isInternal);

}  // namespace vardelle
