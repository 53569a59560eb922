// Numbers read from the front of a text as the C library's atof and atoi read them, but in
// the C locale whatever the process locale is, and with defined results for any size.
#pragma once

#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// Leading blanks, an optional sign, then digits with an optional fraction ("37ms" is 37,
// ".5" is 0.5); 0 when the text does not start with a number. No exponent, hex or "inf".
// A number beyond the range of double saturates at the largest finite value.
double LeadingNumber(std::string_view text);

// Leading blanks, an optional sign, then digits; 0 when there are none. Saturates at the
// ends of int instead of overflowing.
int LeadingInteger(std::string_view text);

// The number in decimal, C locale: a whole number without a fractional part ("105"),
// others with the shortest fraction that reads back the same ("37.5"). NaN gives "0" and
// an infinity the digits of the largest finite value of its sign.
Text DecimalText(double value);

}  // namespace vardelle
