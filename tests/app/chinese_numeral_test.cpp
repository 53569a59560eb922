#include "app/loading/chinese_numeral.h"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <string>

namespace vardelle {
namespace {

struct NumeralCase {
  std::string text;
  double expected;
  bool formal = false;
};

TEST(ChineseNumeralValueTest, FollowsTheDigitTenAndUnitSteps) {
  const NumeralCase cases[] = {
      {"一", 1},
      {"三", 3},
      {"十", 10},
      {"十一", 11},
      {"十九", 19},
      {"二十", 20},
      {"二十一", 21},
      {"一百零五", 105},
      {"三千零二十", 3020},
      {"一万二千", 12000},
      {"九亿", 900000000},
      // The single units go first, so 十万 is 10万 and then 100000|.
      {"十万", 100000},
      {"网专区", 0},
      {"", 0},
      // A leading 拾 counts as ten whichever table is in use; 佰 is no plain unit.
      {"拾", 10},
      {"壹佰", 0},
      {"壹佰零伍", 105, true},
      {"拾玖", 19, true},
      {"拾", 10, true},
      {"贰拾壹", 21, true},
      {"仟", 0, true},  // a unit without a digit before it adds only zeros
      {"二十", 0, true},
      // 亅 is 0x81 0x7C: its trail byte is no piece separator, so the 5 stays behind a
      // character and no number starts the piece.
      {"亅5", 0},
  };
  for (const NumeralCase& c : cases) {
    EXPECT_EQ(ChineseNumeralValue(c.text, c.formal), c.expected)
        << "case " << (&c - cases) << (c.formal ? " (formal)" : "");
  }
}

TEST(ChineseNumeralValueTest, HugeNumeralsStayFinite) {
  const double beyondInt = ChineseNumeralValue("九九九九九九九九九九九九九九九九九九九九亿");
  EXPECT_GT(beyondInt, 9.9e27);
  EXPECT_LT(beyondInt, 1.1e28);
  std::string fourHundredOnes;
  for (int i = 0; i < 400; ++i) fourHundredOnes += "一";
  EXPECT_EQ(ChineseNumeralValue(fourHundredOnes), std::numeric_limits<double>::max());
}

TEST(ServerNameFromOldNameTest, PrefixTwoDigitsAndTheAreaMark) {
  const struct {
    std::string oldName;
    std::string expected;
  } cases[] = {
      {"电信十一", "电信11区 "},     {"网通三", "网通03区 "},     {"电信一", "电信01区 "},
      {"电信十", "电信10区 "},       {"电信十九", "电信19区 "},   {"电信二十", "电信20区 "},
      {"电信一百零五", "电信05区 "}, {"教育网专区", "教育00区 "}, {"电信十万", "电信00区 "},
      {"电信", "电信00区 "},         {"电", "电00区 "},           {"", "00区 "},
      {"电信亅5", "电信00区 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ServerNameFromOldName(c.oldName), c.expected) << "case " << (&c - cases);
  }
}

TEST(ServerNameFromOldNameTest, NumbersBeyondAnyIntegerStillGiveTwoDigits) {
  std::string manyNines = "电信";
  for (int i = 0; i < 400; ++i) manyNines += "九";
  for (const std::string& oldName : {manyNines, std::string("电信九九九九九九九九九九九九亿")}) {
    const std::string name = ServerNameFromOldName(oldName);
    ASSERT_EQ(name.size(), 4u + 2u + 3u);
    EXPECT_EQ(name.substr(0, 4), "电信");
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(name[4])) &&
                std::isdigit(static_cast<unsigned char>(name[5])))
        << name.substr(4, 2);
    EXPECT_EQ(name.substr(6), "区 ");
  }
}

}  // namespace
}  // namespace vardelle
