// The file name as the user reads it: a percent-escaped UTF-8 name from a service page,
// decoded byte by byte and converted into the local code page.
#pragma once

#include <string_view>

#include "text/text.h"

namespace quorvane {

// Decodes the "%XX" escapes of `name` in one pass (malformed escapes by the digit rule:
// a non-hex digit counts -2, a missing one 0; a zero byte is dropped) and converts the
// decoded run from UTF-8 to the local code page.
Text decodeFileName(std::string_view name);

// UTF-8 bytes (NULs included) to the local code page; each ill-formed sequence becomes
// one U+FFFD, which code page 936 writes as its default character "?". The result, a Text,
// ends at the first NUL.
Text utf8ToLocalText(std::string_view run);

// UTF-16 units to the local code page; an unrepresentable character becomes "?". The
// whole converted text is returned, even where it is longer than twice the unit count.
Text utf16ToLocalText(std::u16string_view units);

}  // namespace quorvane
