#include "resolve/number_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace quorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NumberCase {
  std::string text;
  double expected;
};

class ReadNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTest, ReadsTheLongestLeadingDecimalNumber) {
  const NumberCase& c = GetParam();
  const double value = readNumber(c.text);
  EXPECT_EQ(value, c.expected) << testing::PrintToString(c.text);
  EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << testing::PrintToString(c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Ascii, ReadNumberTest,
    testing::Values(NumberCase{"12345", 12345}, NumberCase{"16777217", 16777217},
                    NumberCase{"12abc", 12}, NumberCase{"", 0}, NumberCase{"abc", 0},
                    NumberCase{" \t\n\v\f\r42", 42}, NumberCase{"1 2", 1}, NumberCase{"+7", 7},
                    NumberCase{"-7", -7}, NumberCase{"-0", -0.0}, NumberCase{".5", 0.5},
                    NumberCase{"5.", 5}, NumberCase{"-.25x", -0.25}, NumberCase{".", 0},
                    NumberCase{"-", 0}, NumberCase{"+-1", 0}, NumberCase{"- 1", 0},
                    NumberCase{"1.2.3", 1.2}, NumberCase{"1e3", 1000}, NumberCase{"1E-2", 0.01},
                    NumberCase{"1.5e+2x", 150}, NumberCase{"1e", 1}, NumberCase{"1e+", 1},
                    NumberCase{"2e-x", 2}, NumberCase{"0x10", 0}, NumberCase{"inf", 0},
                    NumberCase{"nan", 0}, NumberCase{"-infinity", 0},
                    NumberCase{"\xA0"
                               "5",
                               0},
                    NumberCase{"1,000", 1},
                    NumberCase{"123456789012345678901234567890", 1.2345678901234568e29}));

// Full-width forms: A3 B0..B9 are the digits, A3 AB "+", A3 AD "-", A3 AE ".", A3 E5 "e",
// A1 A1 the full-width space.
INSTANTIATE_TEST_SUITE_P(
    FullWidth, ReadNumberTest,
    testing::Values(
        NumberCase{"\xA3\xB1\xA3\xB2\xA3\xB3", 123},
        NumberCase{"\x31\xA3\xB2\x33", 123},  // ASCII and full-width digits mixed
        NumberCase{"\xA1\xA1\xA1\xA1\x35", 5}, NumberCase{"\xA3\xAD\xA3\xB1\xA3\xAE\xA3\xB5", -1.5},
        NumberCase{"\xA3\xB2\xA3\xE5\xA3\xB3", 2000}, NumberCase{"\x31\x32\xA1\xA1\x33", 12},
        // A lead byte takes the byte after it into one character, a digit included.
        NumberCase{"\xB0\x31\x32", 0}, NumberCase{"\xCE\xC4\x31\x32", 0}, NumberCase{"\xA3\x31", 0},
        NumberCase{"\x31\xA3", 1}, NumberCase{"\xA3\xA0\x31", 0}, NumberCase{"\xA3\xFF\x31", 0},
        NumberCase{"\xA3\xFE", 0}));

INSTANTIATE_TEST_SUITE_P(OutOfRange, ReadNumberTest,
                         testing::Values(NumberCase{"1e999", kInf}, NumberCase{"-1e999", -kInf},
                                         NumberCase{"1e-999", 0}, NumberCase{"-1e-999", -0.0},
                                         NumberCase{"1e-310", 1e-310},
                                         NumberCase{"1e99999999999999999999999", kInf},
                                         NumberCase{"1e-99999999999999999999999", 0},
                                         NumberCase{"0e99999999999999999999999", 0},
                                         NumberCase{"0.000000000000000000001e-99999999999", 0},
                                         NumberCase{"1" + std::string(400, '0'), kInf},
                                         NumberCase{"0." + std::string(399, '0') + "1e400", 1},
                                         NumberCase{"0." + std::string(400, '0') + "1", 0},
                                         NumberCase{std::string(400, '0') + "1e-400", 0}));

TEST(ReadNumber, NeverNaN) {
  std::mt19937 random(7);
  const std::string alphabet =
      "0123456789+-.eE \t\xA3\xA1\xB0\xAE\xE5"
      "x";
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 24, ' ');
    for (char& c : text)
      c = alphabet[random() % alphabet.size()];
    EXPECT_FALSE(std::isnan(readNumber(text))) << testing::PrintToString(text);
  }
}

TEST(ReadNumber, LongRunsOfDigitsAreRead) {
  // A page can hold a size field of millions of digits; the reading stays exact and finite
  // where the value is.
  EXPECT_EQ(readNumber(std::string(1'000'000, '9')), kInf);
  EXPECT_EQ(readNumber("1." + std::string(1'000'000, '0') + "x"), 1);
  EXPECT_EQ(readNumber(std::string(1'000'000, '0') + "42"), 42);
}

}  // namespace
}  // namespace quorvane
