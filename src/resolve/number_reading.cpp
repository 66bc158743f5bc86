#include "resolve/number_reading.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace quorvane {

namespace {

// Walks the text one character at a time as the number reader sees it: an ASCII byte as
// itself, a full-width form of a printable ASCII character (A3 A1 to A3 FE) as that
// character, the full-width space (A1 A1) as a space, and any other character as '\0',
// which fits no part of a number.
class CharacterWalk {
 public:
  explicit CharacterWalk(std::string_view text) : text_(text) {}

  char peek() const {
    if (at_ >= text_.size())
      return '\0';
    const auto lead = static_cast<unsigned char>(text_[at_]);
    if (lead < 0x80)
      return static_cast<char>(lead);
    if (at_ + 1 >= text_.size())
      return '\0';  // a lead byte cut off by the end
    const auto trail = static_cast<unsigned char>(text_[at_ + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
      return static_cast<char>(trail - 0x80);
    if (lead == 0xA1 && trail == 0xA1)
      return ' ';
    return '\0';
  }

  void advance() {
    if (at_ >= text_.size())
      return;
    at_ += static_cast<unsigned char>(text_[at_]) >= 0x80 ? 2 : 1;
  }

  std::size_t position() const { return at_; }
  void rewind(std::size_t to) { at_ = to; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// The white space of the C locale.
bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Takes the digits at the walk's position into `into`; returns how many there were.
std::size_t takeDigits(CharacterWalk& walk, std::string& into) {
  std::size_t count = 0;
  while (isDigit(walk.peek())) {
    into += walk.peek();
    walk.advance();
    ++count;
  }
  return count;
}

// Whether a nonzero number written as `mantissa` (digits with one optional point, nothing
// else) times ten to `exponent` lies above 1. Only asked when the value is out of the range
// of a double, where it lies hundreds of powers of ten away from 1.
bool isLarge(std::string_view mantissa, std::string_view exponent) {
  // The exponent saturates: a few more digits than the range of a double needs do not
  // change which side of 1 the value lies on.
  int64_t power = 0;
  std::size_t digitsAt = 0;
  bool negative = false;
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
    negative = exponent[0] == '-';
    digitsAt = 1;
  }
  for (std::size_t i = digitsAt; i < exponent.size(); ++i) {
    power = power * 10 + (exponent[i] - '0');
    if (power > 1'000'000'000)
      power = 1'000'000'000;
  }
  if (negative)
    power = -power;

  // The power of ten of the first nonzero digit.
  const std::size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::size_t firstWhole = whole.find_first_not_of('0');
  int64_t lead = 0;
  if (firstWhole != std::string_view::npos) {
    lead = static_cast<int64_t>(whole.size() - firstWhole) - 1;
  } else if (point != std::string_view::npos) {
    const std::size_t firstFraction = mantissa.substr(point + 1).find_first_not_of('0');
    if (firstFraction == std::string_view::npos)
      return false;  // zero
    lead = -static_cast<int64_t>(firstFraction) - 1;
  }
  return lead + power > 0;
}

}  // namespace

double readNumber(std::string_view text) {
  CharacterWalk walk(text);
  while (isSpace(walk.peek()))
    walk.advance();

  bool negative = false;
  if (walk.peek() == '+' || walk.peek() == '-') {
    negative = walk.peek() == '-';
    walk.advance();
  }

  // The number in plain ASCII, without its sign: from_chars takes no "+" and reads the
  // same digits in every locale.
  std::string number;
  std::size_t digits = takeDigits(walk, number);
  if (walk.peek() == '.') {
    number += '.';
    walk.advance();
    digits += takeDigits(walk, number);
  }
  if (digits == 0)
    return 0;

  const std::size_t mantissaLength = number.size();
  if (walk.peek() == 'e' || walk.peek() == 'E') {
    const std::size_t beforeExponent = walk.position();
    number += 'e';
    walk.advance();
    if (walk.peek() == '+' || walk.peek() == '-') {
      number += walk.peek();
      walk.advance();
    }
    if (takeDigits(walk, number) == 0) {
      // "e" without digits is not an exponent: the number ends before it.
      number.resize(mantissaLength);
      walk.rewind(beforeExponent);
    }
  }

  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    const std::string_view written(number);
    const std::string_view exponent =
        mantissaLength < written.size() ? written.substr(mantissaLength + 1) : std::string_view{};
    value = isLarge(written.substr(0, mantissaLength), exponent)
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  } else if (error != std::errc{}) {
    value = 0;
  }
  return negative ? -value : value;
}

}  // namespace quorvane
