// Reading a size from page text: a decimal number at the start of the text, with the
// two-byte full-width forms of ASCII characters read as those characters.
#pragma once

#include <string_view>

namespace quorvane {

// The value of the longest leading decimal number (sign, digits, point and fraction,
// exponent) after white space; 0 when no digit can be read. Never NaN; ±inf when too large.
double readNumber(std::string_view text);

}  // namespace quorvane
