#pragma once

#include <optional>
#include <string_view>

namespace tessavine {

// Reads the number a text begins with, the way the program has always read its decimal fields:
// blanks, tabs and line feeds are dropped wherever they stand; then an optional sign, digits with
// at most one "." and an optional exponent (E or D, optional sign, digits). Reading stops at the
// first character that cannot continue the number. "&H" and "&O" start a hexadecimal or octal
// whole number. "." is the decimal point whatever the locale. A text that begins with no number
// reads as 0. A number too large for a double reads as an infinity of its sign.
double readDecimal(std::string_view text);

// Reads a text that must be one whole number, leading and trailing blanks and tabs allowed, and
// rounds it to the nearest whole number, an exact half going to the even neighbour. Nothing when
// the text is no number (the empty text included) or has anything after the number.
std::optional<double> readWholeNumber(std::string_view text);

// Rounds to `decimals` places: scaled, rounded half to even, scaled back.
double roundHalfEven(double value, int decimals);

}  // namespace tessavine
