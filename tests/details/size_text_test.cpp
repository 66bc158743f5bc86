#include "details/size_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quorvane {
namespace {

struct SizeCase {
  double size;
  const char* text;
};

TEST(SizeTextTest, ScalesByPowersOf1024AndCutsToFiveBytes) {
  const SizeCase cases[] = {
      {0, "0B"},
      {1000, "1000B"},
      {1023, "1023B"},
      {1023.5, "1023.B"},
      {1023.9999998, "1023.B"},
      {1023.99999999, "0.999KB"},
      {1024, "1KB"},
      {1025, "1.000KB"},
      {1536, "1.5KB"},
      {2047, "1.999KB"},
      {1048575, "1023.KB"},
      {1048576, "1MB"},
      {123456789, "117.7MB"},
      {std::ldexp(1.0, 32), "4GB"},
      {1e12, "931.3GB"},
      {std::ldexp(1.0, 40), "1TB"},
      {std::ldexp(1.0, 50), "1PB"},
      {-5, "-5B"},
      {-123456789, "-1234B"},
      {0.00001, "1e-00B"},
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(sizeText(c.size), c.text) << c.size;
  }
}

TEST(SizeTextTest, BeyondPetabytesUpToYottabytesWrittenWhole) {
  const SizeCase cases[] = {
      {std::ldexp(1.0, 60), "1EB"},
      {std::ldexp(1.5, 60), "1.5EB"},
      {std::ldexp(1023.5, 70), "1023.ZB"},  // still cut below the last unit
      {std::ldexp(1.0, 80), "1YB"},
      {std::ldexp(1.0, 90), "1024YB"},  // no unit above to move on to
      {1e30, "827180.612553YB"},        // more than five bytes, not cut
      {1e300, "8.27180612553e+275YB"},
      {std::numeric_limits<double>::max(), "1.487016908478e+284YB"},
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(sizeText(c.size), c.text) << c.size;
  }
}

TEST(SizeTextTest, InfinitiesAndNanHaveNoUnit) {
  EXPECT_EQ(sizeText(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(sizeText(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(sizeText(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(NumberToTextTest, ThirteenSignificantDigitsAndThreeDigitExponent) {
  const SizeCase cases[] = {
      {1, "1"},
      {1.5, "1.5"},
      {117.73756885528564453125, "117.7375688553"},
      {1023.9990234375, "1023.999023438"},
      {0.00001, "1e-005"},
      {-1e20, "-1e+020"},
      {0, "0"},
      {-0.0, "0"},
      {0.0001, "0.0001"},                // the smallest exponent in plain notation
      {1234567890123, "1234567890123"},  // the largest
      {1e13, "1e+013"},
      {5e-324, "4.940656458412e-324"},
      {std::numeric_limits<double>::max(), "1.797693134862e+308"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(numberToText(c.size), c.text) << c.text;
  }
}

TEST(NumberToTextTest, HalvesRoundAwayFromZero) {
  // Exact binary halves, where printf's round-half-even would go down.
  EXPECT_EQ(numberToText(1234567890122.5), "1234567890123");
  EXPECT_EQ(numberToText(-1234567890122.5), "-1234567890123");
  EXPECT_EQ(numberToText(0.5), "0.5");
  // The carry reaches a new power of ten, and with it exponent notation.
  EXPECT_EQ(numberToText(9999999999999.5), "1e+013");
  // The half is judged on the exact binary value, not on the shortest decimal that
  // reads back as it: 1.0000000000015 is 1.00000000000149991... and rounds down.
  EXPECT_EQ(numberToText(1.0000000000015), "1.000000000001");
}

}  // namespace
}  // namespace quorvane
