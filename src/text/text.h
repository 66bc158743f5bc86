// Text: bytes in the local code page, ending at the first NUL; the empty string is the
// absent text. These helpers follow the program's byte rules: a byte of 0x80 or above
// takes the next byte into one two-byte character, and comparisons are exact.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane {

using Text = std::string;

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Offset of the first occurrence of `what` in `text` that begins on a character boundary
// (never on the second byte of a two-byte character), or kNotFound. The empty `what` is
// found at 0 in any non-empty text.
std::size_t findText(std::string_view text, std::string_view what);

// Replaces the first occurrence of `what`, as findText finds it, by `with`.
// Returns false, leaving `text` alone, when there is none.
bool replaceFirst(Text& text, std::string_view what, std::string_view with);

// A copy of `text` with a-z upper-cased; every other byte, 0x80 and above included, stays.
Text upperCaseAscii(std::string_view text);

// The Text held by a byte sequence: the bytes before its first NUL, or all of them.
// Takes the sequence by value so that a moved-in buffer is cut in place, never copied.
Text textFromBytes(std::string bytes);

}  // namespace quorvane
