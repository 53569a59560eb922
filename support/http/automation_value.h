// A value as the request component hands it back where its type is not fixed (options,
// the response stream): nothing, an integer, a number, a boolean, a text or bytes.
#pragma once

#include <cstdint>
#include <variant>

#include "support/text/text.h"

namespace vardelle {

using AutomationValue = std::variant<std::monostate, std::int32_t, double, bool, Text, Bytes>;

}  // namespace vardelle
