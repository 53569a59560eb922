#include "runtime/linux/curl_handles.h"

namespace vardelle {

ListPtr CurlHeaderList(const std::vector<std::string>& lines) {
  ListPtr list;
  for (const std::string& line : lines) {
    curl_slist* longer = curl_slist_append(list.get(), line.c_str());
    if (longer == nullptr) return nullptr;
    // The list grows in place after its first node, so only the first append changes it.
    if (!list) list.reset(longer);
  }
  return list;
}

}  // namespace vardelle
