// One cookie as its table keeps it.
#pragma once

#include "support/text/text.h"

namespace vardelle {

struct CookieRecord {
  Text domain;
  Text name;
  Text value;
};

}  // namespace vardelle
