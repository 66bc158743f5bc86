// The walk both resolvers share: four patterns read from one page text, in the order
// address, name, size, MD5, and turned into the four detail fields. A service is a short
// table of its patterns and of what it does to the address and the size as read.
#pragma once

#include <string_view>

#include "resolve/result_fields.h"
#include "text/text.h"

namespace quorvane {

struct ServicePage {
  // Each pattern's group 1 is the value; the last match in the page wins.
  std::string_view addressPattern;
  std::string_view namePattern;
  std::string_view sizePattern;
  std::string_view md5Pattern;
  // Applied to the address right after it is read; null keeps it as found.
  Text (*cleanAddress)(Text address) = nullptr;
  // The size as the service holds it, from the reading; null keeps the reading.
  double (*holdSize)(double reading) = nullptr;
};

// The two services' tables, defined beside their resolvers; reachable from here so that
// tools other than the resolvers (the pattern fuzz target) use the very same patterns.
extern const ServicePage kKuaichuanPage;
extern const ServicePage kNetdiskPage;

// Reads the four values of `page` from `pageText` (up to its first NUL, as fetched page
// text would be), sets the file name, extension (type label), size text and MD5 of
// `fields` in that order, empty ones included, and returns the address.
Text resolvePageText(std::string_view pageText, const ServicePage& page, ResultFields& fields);

// `size` rounded to the nearest single-precision value (halves to even) and widened back;
// ±inf where that nearest value is infinite. Defined for every double.
double narrowToSingle(double size);

}  // namespace quorvane
