// The three flags a regular-expression case is created with, defaulting as Create does.
#pragma once

namespace vardelle {

struct RegexFlags {
  bool ignoreCase = true;
  bool multiline = true;
  bool global = true;
};

}  // namespace vardelle
