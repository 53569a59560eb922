// Chinese collation through ICU's "zh" collator, whose default order is pinyin.
#include <unicode/ucol.h>

#include <cstdint>
#include <memory>
#include <string>

#include "support/text/text.h"
#include "support/text/text_codec.h"
#include "support/text/text_collation.h"

namespace vardelle {
namespace {

struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenChineseCollator() {
  UErrorCode error = U_ZERO_ERROR;
  CollatorPtr collator(ucol_open("zh", &error));
  return U_SUCCESS(error) ? std::move(collator) : nullptr;
}

// One collator per thread, since a collator's comparisons may keep working state; null
// when ICU cannot provide one, and the texts are then ordered by bytes alone.
UCollator* ThreadCollator() {
  thread_local const CollatorPtr collator = OpenChineseCollator();
  return collator.get();
}

int CollateInLanguage(std::string_view a, std::string_view b) {
  UCollator* collator = ThreadCollator();
  constexpr std::size_t kLongest = INT32_MAX;  // ICU counts in int32_t
  if (collator == nullptr || a.size() > kLongest || b.size() > kLongest) return 0;
  const std::u16string wideA = ToUtf16(a);
  const std::u16string wideB = ToUtf16(b);
  return ucol_strcoll(collator, wideA.data(), static_cast<int32_t>(wideA.size()), wideB.data(),
                      static_cast<int32_t>(wideB.size()));
}

}  // namespace

int CollateTexts(std::string_view a, std::string_view b) {
  const int order = CollateInLanguage(a, b);
  return order != 0 ? (order > 0) - (order < 0) : CompareTexts(a, b);
}

}  // namespace vardelle
