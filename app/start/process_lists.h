// The process-wide lists that live from StartUp to ShutDown.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/window/colour.h"
#include "support/text/text.h"

namespace vardelle {

struct RowColour {
  int row = 0;
  int reserved = 0;
  Colour textColour = 0;
  Colour backColour = 0;
  int enabled = 0;  // 0: never set, drawn in the default colours
};

// Row colours of one table, indexed by 0-based row; grows on demand.
struct TableColours {
  const void* table = nullptr;
  std::vector<RowColour> rows;
};

// The operator's region status documents cut into pieces, rebuilt by every test run and
// published as a whole so workers reading the previous set are never disturbed.
struct RegionStatusLists {
  std::vector<Text> serverInfoItems;
  std::vector<Text> serverStatusItems;
  std::vector<Text> statusCodeItems;
  std::vector<Text> selectorItems;
};

struct ProcessLists {
  std::vector<TableColours> rowColourTable;
  std::shared_ptr<const RegionStatusLists> regionStatus = std::make_shared<RegionStatusLists>();
};

}  // namespace vardelle
