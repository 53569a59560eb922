// Colours as the table's rows use them.
#pragma once

#include <cstdint>

namespace vardelle {

// 0x00BBGGRR; kDefaultColour stands for the control's own colour.
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFF000000;

}  // namespace vardelle
