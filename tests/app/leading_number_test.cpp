#include "app/table/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace vardelle {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

struct NumberCase {
  std::string text;
  double expected;
};

TEST(LeadingNumberTest, ReadsWhatAtofReadsInTheCLocale) {
  const NumberCase cases[] = {
      {"37ms", 37},
      {"...", 0},
      {"Scaning...", 0},
      {"183.60.12.7", 183.6},
      {"183.6.1.1", 183.6},
      {" \t-2.5x", -2.5},
      {"+7", 7},
      {".5", 0.5},
      {"5.", 5},
      {"05", 5},
      {"1e5", 1},  // no exponent
      {"0x1A", 0},
      {"inf", 0},
      {"nan", 0},
      {"", 0},
      {"-", 0},
      {".", 0},
      {"+.x", 0},
      {"区5", 0},
      {std::string(400, '9'), kLargest},
      {"-" + std::string(400, '9'), -kLargest},
      {"0." + std::string(400, '0') + "1", 0},
      {std::string(400, '0') + "12", 12},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.expected) << "text of " << c.text.size() << " bytes";
  }
}

TEST(LeadingIntegerTest, SaturatesInsteadOfOverflowing) {
  const struct {
    std::string text;
    int expected;
  } cases[] = {
      {"1836000", 1836000},
      {"-12ab", -12},
      {" 42", 42},
      {"37.9", 37},
      {"abc", 0},
      {"", 0},
      {"2147483647", 2147483647},
      {"2147483648", std::numeric_limits<int>::max()},
      {"-2147483648", std::numeric_limits<int>::min()},
      {"-99999999999999999999", std::numeric_limits<int>::min()},
      {std::string(300, '7'), std::numeric_limits<int>::max()},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingInteger(c.text), c.expected) << c.text;
}

TEST(DecimalTextTest, WholeNumbersHaveNoFractionAndEveryDoubleHasDigits) {
  const struct {
    double value;
    std::string expected;
  } cases[] = {
      {105, "105"},
      {0, "0"},
      {-0.0, "0"},
      {-5, "-5"},
      {37.5, "37.5"},
      {183.6 * 10000, "1836000"},
      {1e20, "100000000000000000000"},
      {std::nan(""), "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecimalText(c.value), c.expected) << c.value;
}

TEST(DecimalTextTest, InfinitiesGiveTheDigitsOfTheLargestDouble) {
  const std::string largest = DecimalText(kLargest);
  ASSERT_EQ(largest.size(), 309u);
  EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
  EXPECT_EQ(DecimalText(std::numeric_limits<double>::infinity()), largest);
  EXPECT_EQ(DecimalText(-std::numeric_limits<double>::infinity()), "-" + largest);
}

}  // namespace
}  // namespace vardelle
