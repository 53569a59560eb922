// Chinese collation through the system's zh-CN locale, whose default order is pinyin.
#include <windows.h>

#include <climits>
#include <string>

#include "support/text/text.h"
#include "support/text/text_codec.h"
#include "support/text/text_collation.h"

namespace vardelle {
namespace {

// -1, 0 or 1 by the language alone; 0 also when the system cannot compare the texts, which
// then fall to the byte order.
int CollateInLanguage(std::string_view a, std::string_view b) {
  const std::u16string wideA = ToUtf16(a);
  const std::u16string wideB = ToUtf16(b);
  if (wideA.size() > INT_MAX || wideB.size() > INT_MAX) return 0;
  const int order = CompareStringEx(L"zh-CN", 0, reinterpret_cast<const wchar_t*>(wideA.data()),
                                    static_cast<int>(wideA.size()),
                                    reinterpret_cast<const wchar_t*>(wideB.data()),
                                    static_cast<int>(wideB.size()), nullptr, nullptr, 0);
  if (order == CSTR_LESS_THAN) return -1;
  if (order == CSTR_GREATER_THAN) return 1;
  return 0;
}

}  // namespace

int CollateTexts(std::string_view a, std::string_view b) {
  const int order = CollateInLanguage(a, b);
  return order != 0 ? order : CompareTexts(a, b);
}

}  // namespace vardelle
