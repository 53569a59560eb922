// The zh-CN order of the system. Wine's order differs from ICU's in many places, so the
// tests hold it to the properties a sort needs and to the pinyin order of common names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/text/text_collation.h"

namespace vardelle {
namespace {

// Texts the language alone calls equal are among them ("a" and "a" with a zero byte after
// it; the system ignores the zero), so the byte order's tie-break is needed.
const std::vector<std::string>& Samples() {
  static const std::vector<std::string> samples{"",        "a",    std::string("a\0", 2),
                                                "A",       "b",    "1",
                                                "10",      "2",    "电信01区",
                                                "电信1区", "网通", "艾欧尼亚",
                                                "\x81",    "\xFF", "a\x81",
                                                "啊",      "爸"};
  return samples;
}

TEST(WindowsCollation, IsATotalOrder) {
  const std::vector<std::string>& texts = Samples();
  for (const std::string& a : texts) {
    for (const std::string& b : texts) {
      const int ab = CollateTexts(a, b);
      EXPECT_EQ(ab, -CollateTexts(b, a)) << ::testing::PrintToString(a) << ::testing::PrintToString(b);
      EXPECT_EQ(ab == 0, a == b) << ::testing::PrintToString(a) << ::testing::PrintToString(b);
      for (const std::string& c : texts) {
        if (ab < 0 && CollateTexts(b, c) < 0) {
          EXPECT_LT(CollateTexts(a, c), 0)
              << ::testing::PrintToString(a) << " < " << ::testing::PrintToString(b) << " < "
              << ::testing::PrintToString(c);
        }
      }
    }
  }
}

TEST(WindowsCollation, ChineseNamesGoByPinyin) {
  const std::vector<std::string> inPinyinOrder{
      "艾欧尼亚", "暗影岛", "班德尔城", "比尔吉沃特", "电信", "黑色玫瑰", "教育", "网通", "祖安"};
  for (std::size_t i = 1; i < inPinyinOrder.size(); ++i) {
    EXPECT_LT(CollateTexts(inPinyinOrder[i - 1], inPinyinOrder[i]), 0) << inPinyinOrder[i];
  }
}

}  // namespace
}  // namespace vardelle
