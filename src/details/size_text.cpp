#include "details/size_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace quorvane {
namespace {

constexpr int kSignificantDigits = 13;

// Past "PB" the units go on to "YB" and stop there; in "YB" the number is never cut, so
// even the largest double is shown with a number that does not understate it.
constexpr std::array<std::string_view, 9> kUnits{"B",  "KB", "MB", "GB", "TB",
                                                 "PB", "EB", "ZB", "YB"};
constexpr std::size_t kLastUnit = kUnits.size() - 1;
constexpr std::size_t kNumberBytes = 5;

// The exact decimal digits of a finite, non-zero `magnitude`, rounded to 13 significant
// digits with halves away from zero, and the decimal exponent of the rounded value.
// printf rounds halves to even, so the rounding is done here on the exact expansion.
struct Rounded {
  std::string digits;  // always kSignificantDigits digits, the first non-zero
  int exponent = 0;
};

Rounded roundToSignificant(double magnitude) {
  // A double's exact expansion has at most 767 significant digits, so 1100 digits after
  // the point in scientific form are the exact value followed by zeros.
  std::array<char, 1200> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::scientific, 1100);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  const std::size_t e = text.find('e');

  Rounded r;
  r.digits += text[0];
  r.digits += text.substr(2, kSignificantDigits - 1);  // skips the point
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  r.exponent);

  // The 14th significant digit decides; "5" and anything after it is at least a half.
  if (text[2 + kSignificantDigits - 1] >= '5') {
    int at = kSignificantDigits - 1;
    while (at >= 0 && r.digits[at] == '9') {
      r.digits[at] = '0';
      --at;
    }
    if (at >= 0) {
      ++r.digits[at];
    } else {  // 9.999...95 became 10.00...0
      r.digits.insert(0, 1, '1');
      r.digits.pop_back();
      ++r.exponent;
    }
  }
  return r;
}

void stripTrailingZeros(std::string& number) {
  if (number.find('.') == std::string::npos)
    return;
  while (number.back() == '0')
    number.pop_back();
  if (number.back() == '.')
    number.pop_back();
}

}  // namespace

Text sizeText(double size) {
  // +inf would never leave the loop; none of the three is a size a unit could describe.
  if (!std::isfinite(size))
    return numberToText(size);
  double v = size;
  std::size_t unit = 0;
  while (unit < kLastUnit && v - 1024 >= -0.0000001) {
    v /= 1024;
    ++unit;
  }
  Text number = numberToText(v);
  // The cut drops digits without rounding ("1023.B" for 1023.5); that is the look of the
  // box. In the last unit the number may be large and is shown whole instead.
  if (unit < kLastUnit && number.size() > kNumberBytes)
    number.resize(kNumberBytes);
  return number + std::string(kUnits[unit]);
}

Text numberToText(double value) {
  if (std::isnan(value))
    return "nan";
  if (std::isinf(value))
    return value < 0 ? "-inf" : "inf";
  if (value == 0)
    return "0";  // -0.0 as well: a size box has no use for "-0"

  const Rounded r = roundToSignificant(std::fabs(value));
  std::string text = value < 0 ? "-" : "";
  const int x = r.exponent;
  if (x >= -4 && x < kSignificantDigits) {
    // Plain notation with 12 - x digits after the point.
    std::string number;
    if (x >= 0) {
      number = r.digits.substr(0, static_cast<std::size_t>(x) + 1) + "." +
               r.digits.substr(static_cast<std::size_t>(x) + 1);
    } else {
      number = "0." + std::string(static_cast<std::size_t>(-x - 1), '0') + r.digits;
    }
    stripTrailingZeros(number);
    text += number;
  } else {
    std::string mantissa = r.digits.substr(0, 1) + "." + r.digits.substr(1);
    stripTrailingZeros(mantissa);
    const int magnitude = x < 0 ? -x : x;
    std::string exponent = std::to_string(magnitude);
    if (exponent.size() < 3)
      exponent.insert(0, 3 - exponent.size(), '0');
    text += mantissa + "e" + (x < 0 ? "-" : "+") + exponent;
  }
  return text;
}

}  // namespace quorvane
