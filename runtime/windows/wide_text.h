// GBK text (the program's own) and UTF-16 (the system's) at the edges where they meet.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardelle {

// GBK as code page 936 reads it; a byte sequence that is no GBK becomes U+FFFD or the
// system's stand-in for it.
std::wstring WideFromGbk(std::string_view gbk);

// UTF-16 as GBK; a character that GBK lacks becomes '?', never a look-alike.
std::string GbkFromWide(std::wstring_view wide);

// Like GbkFromWide, but nothing when a character had to become '?': a file path spelled so
// would name another file.
std::optional<std::string> ExactGbkFromWide(std::wstring_view wide);

}  // namespace vardelle
