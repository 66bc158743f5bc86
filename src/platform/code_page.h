// The local code page: the byte encoding of every Text, standing in for the system's ANSI
// code page, and the conversions between it, UTF-8 and UTF-16 (ICU converters underneath).
// The program is single-threaded; the code page is chosen once, before the first use.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// The code page that the system locale's character set names (LC_ALL from the
// environment); the C/POSIX locale counts as UTF-8. Read once per process.
std::string systemCodePageName();

// Makes `name` the local code page: "936" (the GBK mapping), "65001" (UTF-8), or any ICU
// converter name. Returns false, keeping the current one, when ICU has no such converter.
bool setLocalCodePage(std::string_view name);

// The canonical ICU name of the local code page in use (the system's until set).
std::string localCodePageName();

// UTF-8 bytes to UTF-16 units; each ill-formed sequence becomes one U+FFFD.
std::u16string utf8ToUtf16(std::string_view bytes);

// UTF-16 units to the local code page; a character it cannot represent becomes "?".
std::string utf16ToLocal(std::u16string_view units);

// Local code page bytes to UTF-16 units; undecodable bytes become U+FFFD.
std::u16string localToUtf16(std::string_view text);

// UTF-16 units to UTF-8, for output meant for a terminal or JSON; lone surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view units);

}  // namespace quorvane
