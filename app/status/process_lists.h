// The process-wide lists that live from StartUp to ShutDown.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/status/region_status.h"
#include "app/view/colour.h"
#include "support/text/text.h"

namespace vardelle {

struct ProcessLists {
  // The region status set of the last query, replaced whole by every query;
  // readers take their own reference with CurrentRegionStatus.
  RegionStatusSlot regionStatus;
};

}  // namespace vardelle
