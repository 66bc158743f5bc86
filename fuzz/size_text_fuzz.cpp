// sizeText and numberToText over any double: both end; the number text reads back as the
// value to 13 significant digits; a size text is at most five bytes of number and a unit
// of the table (the last unit, and infinities and NaN, written whole).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "details/size_text.h"
#include "fuzz_check.h"

namespace {

const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(double))
    return 0;
  double value;
  std::memcpy(&value, data, sizeof value);

  const std::string number = quorvane::numberToText(value);
  if (std::isfinite(value)) {
    const double back = std::strtod(number.c_str(), nullptr);
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-12);
  }

  const std::string text = quorvane::sizeText(value);
  if (!std::isfinite(value)) {
    FUZZ_CHECK(text == number);
    return 0;
  }
  // The unit is the upper-case tail; the number never holds an upper-case letter.
  const std::size_t unitStart = text.find_last_not_of("BKMGTPEZY") + 1;
  const std::string unit = text.substr(unitStart);
  bool known = false;
  for (const char* u : kUnits)
    known = known || unit == u;
  FUZZ_CHECK(known);
  FUZZ_CHECK(unitStart >= 1);
  if (unit != "YB")
    FUZZ_CHECK(unitStart <= 5);
  return 0;
}
