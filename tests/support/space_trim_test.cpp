#include "support/text/space_trim.h"

#include <gtest/gtest.h>

#include <string>

#include "named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;

struct TrimCase {
  const char* name;
  std::string text;
  std::string trimmed;
};

class SpaceTrim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(SpaceTrim, CutsOnlyWholeSpacesAtBothEnds) {
  const TrimCase& c = GetParam();
  EXPECT_EQ(TrimSpaces(c.text), c.trimmed);
  EXPECT_EQ(IsBlankText(c.text), c.trimmed.empty());
}

// "\xD6\xA1" is one character, so the A1 A1 straddling it and the next byte is no space.
INSTANTIATE_TEST_SUITE_P(
    SpaceTrim, SpaceTrim,
    ::testing::Values(TrimCase{"empty", "", ""}, TrimCase{"asciiOnly", "   ", ""},
                    TrimCase{"fullWidthOnly", "　　", ""}, TrimCase{"mixedOnly", " 　 ", ""},
                    TrimCase{"both", " 　a b　 ", "a b"}, TrimCase{"chinese", "　中文　", "中文"},
                    TrimCase{"tabKept", "\ta\t", "\ta\t"}, TrimCase{"innerKept", "a　 b", "a　 b"},
                    TrimCase{"straddlingBytesAtEnd", "\xD6\xA1\xA1", "\xD6\xA1\xA1"},
                    TrimCase{"spaceThenLoneByte", "\xA1\xA1\xA1", "\xA1"},
                    TrimCase{"charThenSpace", "\xB0\xA1\xA1\xA1", "\xB0\xA1"}),
    CaseName<TrimCase>);

}  // namespace
}  // namespace vardelle
