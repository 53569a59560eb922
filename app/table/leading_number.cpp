#include "app/table/leading_number.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

namespace vardelle {
namespace {

bool IsBlank(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
         byte == '\r';
}

bool IsDigit(char byte) { return byte >= '0' && byte <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t offset) {
  while (offset < text.size() && IsDigit(text[offset])) ++offset;
  return offset;
}

// The text after leading blanks and a sign, and whether that sign was a minus.
struct SignedRest {
  std::string_view digits;
  bool negative = false;
};

SignedRest SplitSign(std::string_view text) {
  std::size_t offset = 0;
  while (offset < text.size() && IsBlank(text[offset])) ++offset;
  SignedRest rest{text.substr(offset), false};
  if (!rest.digits.empty() && (rest.digits[0] == '+' || rest.digits[0] == '-')) {
    rest.negative = rest.digits[0] == '-';
    rest.digits.remove_prefix(1);
  }
  return rest;
}

// Length of "digits[.digits]" at the front, 0 unless at least one digit is in it.
std::size_t DecimalSpan(std::string_view text) {
  const std::size_t whole = SkipDigits(text, 0);
  const bool point = whole < text.size() && text[whole] == '.';
  const std::size_t end = point ? SkipDigits(text, whole + 1) : whole;
  const std::size_t digitCount = end - (point ? 1 : 0);
  return digitCount == 0 ? 0 : end;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  const SignedRest rest = SplitSign(text);
  const std::size_t span = DecimalSpan(rest.digits);
  if (span == 0) return 0;
  const char* first = rest.digits.data();
  double magnitude = 0;
  const std::errc error =
      std::from_chars(first, first + span, magnitude, std::chars_format::fixed).ec;
  if (error == std::errc::result_out_of_range) {
    // Too large when a digit before the point is not 0; otherwise too small to tell from 0.
    const std::string_view wholePart = rest.digits.substr(0, SkipDigits(rest.digits, 0));
    const bool large = wholePart.find_first_not_of('0') != std::string_view::npos;
    magnitude = large ? std::numeric_limits<double>::max() : 0;
  }
  return rest.negative ? -magnitude : magnitude;
}

int LeadingInteger(std::string_view text) {
  const SignedRest rest = SplitSign(text);
  const std::size_t span = SkipDigits(rest.digits, 0);
  long long value = 0;
  for (std::size_t i = 0; i < span && value <= INT_MAX; ++i) {
    value = value * 10 + (rest.digits[i] - '0');
  }
  if (rest.negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

Text DecimalText(double value) {
  if (std::isnan(value)) return "0";
  if (std::isinf(value)) {
    value = std::copysign(std::numeric_limits<double>::max(), value);
  }
  // The largest finite double has 309 digits before the point.
  std::array<char, 400> buffer;
  const bool whole = std::trunc(value) == value;
  const auto result = whole ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 0)
                            : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
  Text text(buffer.data(), result.ptr);
  return text == "-0" ? "0" : text;
}

}  // namespace vardelle
