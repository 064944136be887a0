#pragma once

#include <string>
#include <string_view>

namespace drilbank {

// The value of a text's leading decimal number (optional sign, fraction and exponent).
// Blanks, tabs and line feeds are skipped wherever they stand, so "1 2" reads as 12; reading
// stops at the first character that cannot continue the number; 0 when there is none.
// A number too large to hold is the overflow failure.
double leadingNumber(std::string_view text);

// A text that must be a number as a whole (blanks and tabs around it allowed), as when an
// answer is compared with a number: anything else is the type-mismatch failure 13.
double mustBeNumber(std::string_view text);

// Plain decimal text of a number: at most 15 significant digits, no exponent, a minus sign
// when negative, no leading blank ("8", "100", "10002.5", "-0.25").
std::string numberText(double value);

} // namespace drilbank
