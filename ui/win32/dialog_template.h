// The in-memory template of a dialog whose controls are made as it starts, in pixels.
#pragma once

#include <string>
#include <vector>

namespace vardelle::win32 {

// The dialog alone, titled title (GBK), as DialogBoxIndirectParamW takes it.
std::vector<unsigned short> DialogTemplate(const std::string& title);

}  // namespace vardelle::win32
