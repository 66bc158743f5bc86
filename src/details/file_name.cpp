#include "details/file_name.h"

#include <string>

#include "platform/code_page.h"

namespace quorvane {
namespace {

// The value of the escape digit at `at` (0-based) of `name`: 0..15 for a hex digit of
// either case, -2 for any other byte ("%" included), 0 past the end. A malformed escape is
// not rejected but decodes by these values; a missing digit is an empty text, which the
// search finds at the start of the alphabet.
int digitValue(std::string_view name, std::size_t at) {
  const std::string_view digit = at < name.size() ? name.substr(at, 1) : std::string_view();
  const std::size_t found = findText("0123456789ABCDEF", upperCaseAscii(digit));
  return found == kNotFound ? -2 : static_cast<int>(found);
}

}  // namespace

Text decodeFileName(std::string_view name) {
  // A Text ends at its first NUL; bytes after it would otherwise be read as digits.
  name = name.substr(0, name.find('\0'));
  std::string run;
  run.reserve(name.size());
  std::size_t i = 0;
  while (i < name.size()) {
    if (name[i] != '%') {
      run += name[i];
      ++i;
      continue;
    }
    const int code = digitValue(name, i + 1) * 16 + digitValue(name, i + 2);
    // The low eight bits of the two's complement value: %zz (-34) gives 0xDE.
    const auto byte = static_cast<unsigned char>(code);
    if (byte != 0)
      run += static_cast<char>(byte);
    i += 3;
  }
  // The whole run is converted at once: an escaped character spans several escapes.
  return utf8ToLocalText(run);
}

Text utf8ToLocalText(std::string_view run) {
  return utf16ToLocalText(utf8ToUtf16(run));
}

Text utf16ToLocalText(std::u16string_view units) {
  // Not cut to twice the unit count: under UTF-8 a Chinese character needs three bytes
  // for its one unit, and a cut would leave a broken character at the end of the name.
  return textFromBytes(utf16ToLocal(units));
}

}  // namespace quorvane
