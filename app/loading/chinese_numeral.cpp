#include "app/loading/chinese_numeral.h"

#include <array>
#include <string>

#include "app/table/leading_number.h"

namespace vardelle {
namespace {

using DigitTable = std::array<const char*, 10>;
using UnitTable = std::array<const char*, 8>;

constexpr DigitTable kPlainDigits{"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr DigitTable kFormalDigits{"零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖"};
// Single units come first, so the two-character ones are already broken up by their turn.
constexpr UnitTable kPlainUnits{"十", "百", "千", "万", "十万", "百万", "千万", "亿"};
constexpr UnitTable kFormalUnits{"拾", "佰", "仟", "万", "拾万", "佰万", "仟万", "亿"};

constexpr int kPrefixBytes = 4;
constexpr std::string_view kPieceSeparator = "|";

Text ReplaceDigits(Text text, const DigitTable& digits) {
  for (std::size_t k = 0; k < digits.size(); ++k) {
    text = ReplaceText(text, digits[k], std::to_string(k));
  }
  return text;
}

// A leading ten has no digit before it: 十 alone is 10 and 十9 is 19. Whatever follows
// that is not ASCII (end of text or another double-byte character) keeps the 0.
Text ExpandLeadingTen(Text text) {
  const Text first = LeftText(text, 2);
  if (first != "十" && first != "拾") return text;
  const bool asciiFollows = text.size() > 2 && static_cast<signed char>(text[2]) > 0;
  return JoinTexts({asciiFollows ? "1" : "10", std::string_view(text).substr(2)});
}

// Each unit becomes its zeros and ends a piece: 2十1 → 20|1.
Text ReplaceUnits(Text text, const UnitTable& units) {
  for (std::size_t j = 1; j <= units.size(); ++j) {
    text = ReplaceText(text, units[j - 1], JoinTexts({Text(j, '0'), kPieceSeparator}));
  }
  return text;
}

// The separator is searched character by character: a GBK trail byte may be 0x7C as well.
double SumOfPieces(std::string_view text) {
  double sum = 0;
  int start = 1;
  for (int found; (found = FindText(text, kPieceSeparator, {.start = start})) != -1;
       start = found + 1) {
    sum += LeadingNumber(text.substr(start - 1, found - start));
  }
  return sum + LeadingNumber(text.substr(start - 1));
}

}  // namespace

double ChineseNumeralValue(std::string_view text, bool formal) {
  Text work = ReplaceDigits(Text(text), formal ? kFormalDigits : kPlainDigits);
  work = ExpandLeadingTen(std::move(work));
  work = ReplaceUnits(std::move(work), formal ? kFormalUnits : kPlainUnits);
  return SumOfPieces(work);
}

Text ServerNameFromOldName(std::string_view oldName) {
  const Text prefix = LeftText(oldName, kPrefixBytes);
  const std::string_view rest = oldName.substr(prefix.size());
  const Text digits = DecimalText(ChineseNumeralValue(rest));
  return JoinTexts({prefix, RightText(JoinTexts({"0", digits}), 2), "区 "});
}

}  // namespace vardelle
