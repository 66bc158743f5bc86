// readNumber over any size text: never NaN, and a text of digits alone reads as the
// value strtod gives it.
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "resolve/number_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = quorvane::readNumber(text);
  FUZZ_CHECK(!std::isnan(value));

  const bool digitsOnly =
      !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (digitsOnly)
    FUZZ_CHECK(value == std::strtod(text.c_str(), nullptr));  // "C" locale
  return 0;
}
