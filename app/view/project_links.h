// The project's own page: the update link, the donation link, its QR code and the
// copyright line all point here.
#pragma once

namespace vardelle {

inline constexpr const char* kProjectPage = "https://vardelle.github.io/";

}  // namespace vardelle
