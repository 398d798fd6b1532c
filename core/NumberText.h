#pragma once

#include <string>
#include <string_view>

// Numbers as text, the same way everywhere in the program and its console tools.
// None of these depend on the process locale.

// Lenient conversion of typed or file text: blanks and tabs are ignored anywhere,
// then an optional sign, digits, an optional point with digits and an optional
// exponent (E or D in either case, optional sign, digits); conversion stops at the
// first character that cannot continue the number. Empty or non-numeric text gives
// 0. A magnitude beyond the double range gives +-infinity, one below it 0; the
// result is never NaN and never negative zero.
double lenientNumber(std::string_view text);

// Formats with a number pattern such as "####0.0000", "####0.00", " ###0.00",
// " ###0.0" or "     ####": '0' a digit always shown, '#' a digit shown only when
// significant, '.' the decimal point, anything else literal text. Rounds half away
// from zero on the number's shortest decimal form (so 2.00005 gives 2.0001 with
// four decimals). A negative number gets its '-' directly before the first digit,
// after any leading literal text; a value that rounds to zero shows no sign. The
// integer part grows as needed. Infinities and NaN give "inf", "-inf" and "nan" in
// place of the digits.
std::string formatNumber(double value, std::string_view pattern);

// The number with "####0.0000", right-aligned in ten columns; a longer text is
// returned whole.
std::string formatField(double value);

// The shortest text that reads back to exactly the same double ("700.25", "1e-05",
// "inf", "-inf", "nan").
std::string shortestNumberText(double value);

// The same for a single-precision value: the shortest text that reads back to
// the same float (0.1f gives "0.1").
std::string shortestSingleText(float value);
