// The regular-expression engine on PCRE2's 16-bit library with its JIT, the same on every
// platform (Linux links the system's library, Windows the one built in the tree).
#pragma once

#include <memory>

#include "support/regex/regex_engine.h"

namespace vardelle {

std::unique_ptr<RegexEngine> CreatePcre2RegexEngine();

}  // namespace vardelle
