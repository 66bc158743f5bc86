#include "resolve/netdisk_share.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "resolve/page_walk.h"

namespace quorvane {

namespace {

// The share record is JSON written inside a quoted string, so each of its double quotes
// stands behind one or more backslashes ("\\+" in a pattern). "\x22" is the pattern
// syntax's double quote; the address pattern also ends on raw quotes and a brace.
constexpr std::string_view kAddressPattern = R"re(dlink\\+\x22:\\+\x22(.*?)(\\+"+\}))re";
constexpr std::string_view kNamePattern = R"re(filename=(.*?)(\\+\x22))re";
constexpr std::string_view kSizePattern = R"re(size\\+\x22:\\+\x22(.*?)(\\+\x22))re";
constexpr std::string_view kMd5Pattern = R"re(md5\\+\x22:\\+\x22(.*?)(\\+\x22))re";
static_assert(kAddressPattern.size() == 34 && kNamePattern.size() == 23 &&
              kSizePattern.size() == 33 && kMd5Pattern.size() == 32);

constexpr std::string_view kEscapedPair = "\\\\/\\\\/";  // 5C 5C 2F 5C 5C 2F

// Whether `out` ends in the three one-byte characters 5C 5C 2F. `trail` marks the bytes of
// `out` that are the second byte of a two-byte character.
bool endsInEscapedSlash(const Text& out, const std::vector<bool>& trail) {
  const std::size_t n = out.size();
  // The first backslash starts a character, and being below 0x80 it is a whole one, so
  // the second starts a character too; the slash was appended as a character of its own.
  return n >= 3 && out[n - 1] == '/' && out[n - 2] == '\\' && out[n - 3] == '\\' && !trail[n - 3];
}

}  // namespace

// The address loses its escaped slashes; the size is held in single precision.
constexpr ServicePage kNetdiskPage{kAddressPattern, kNamePattern,        kSizePattern,
                                   kMd5Pattern,     cleanNetdiskAddress, narrowToSingle};

Text cleanNetdiskAddress(Text address) {
  replaceFirst(address, kEscapedPair, "//");

  // Replacing the first "\\/" by "/" until none is left would rescan the address after each
  // replacement: quadratic on an address of many escaped slashes. Occurrences of "\\/"
  // cannot overlap, so the order of replacement does not change the result, and it is built
  // in one pass instead: whole characters are appended to `out`, which never holds an
  // occurrence; after each one, the only occurrence that can have appeared ends at the
  // character just appended, and collapsing it to "/" can only make one that ends at that
  // new "/".
  Text out;
  out.reserve(address.size());
  std::vector<bool> trail;
  trail.reserve(address.size());
  for (std::size_t i = 0; i < address.size();) {
    out += address[i];
    trail.push_back(false);
    if (static_cast<unsigned char>(address[i]) >= 0x80 && i + 1 < address.size()) {
      out += address[i + 1];
      trail.push_back(true);
      i += 2;
      continue;
    }
    ++i;
    while (endsInEscapedSlash(out, trail)) {
      out.resize(out.size() - 3);
      trail.resize(trail.size() - 3);
      out += '/';
      trail.push_back(false);
    }
  }
  return out;
}

Text resolveNetdiskText(std::string_view pageText, ResultFields& fields) {
  return resolvePageText(pageText, kNetdiskPage, fields);
}

Text resolveNetdiskShare(std::string_view link, ResultFields& fields) {
  return resolveNetdiskText(fetchPageText(link), fields);
}

}  // namespace quorvane
