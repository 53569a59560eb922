// Checks on the texts that the window's actions hand to outside programs. The server
// domains and list cells come from documents fetched over plain HTTP, so a hostile list
// could carry shell syntax or option-like text; only what passes here is started.
#pragma once

#include <string_view>

namespace vardelle {

// A plausible host name: letters, digits, '-' and '.', not starting with '-', labels of
// 1 to 63 bytes, at most 253 bytes in all. Dotted IPv4 addresses pass as the digits and
// dots they are.
bool IsPlausibleHost(std::string_view host);

// An http or https address with a host, made of printable ASCII without blanks.
bool IsWebAddress(std::string_view address);

}  // namespace vardelle
