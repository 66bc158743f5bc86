#include "text/text.h"

#include <algorithm>

namespace quorvane {

std::size_t findText(std::string_view text, std::string_view what) {
  if (text.empty())
    return kNotFound;
  if (what.empty())
    return 0;
  // memchr-speed candidate search, then a check that the candidate starts a character.
  // Character boundaries are only known by walking from the start, so the walk is kept
  // incremental: `boundary` is the first character start at or after `walked`.
  std::size_t boundary = 0;
  std::size_t from = 0;
  while (true) {
    const std::size_t hit = text.find(what, from);
    if (hit == std::string_view::npos)
      return kNotFound;
    while (boundary < hit) {
      boundary += static_cast<unsigned char>(text[boundary]) >= 0x80 ? 2 : 1;
    }
    if (boundary == hit)
      return hit;
    from = hit + 1;
  }
}

bool replaceFirst(Text& text, std::string_view what, std::string_view with) {
  const std::size_t at = findText(text, what);
  if (at == kNotFound)
    return false;
  text.replace(at, what.size(), with);
  return true;
}

Text upperCaseAscii(std::string_view text) {
  Text upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

Text textFromBytes(std::string bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string::npos)
    bytes.resize(nul);
  return bytes;
}

}  // namespace quorvane
