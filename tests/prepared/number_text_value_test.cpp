#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/text_value.h"
#include "format/bit_cast.h"
#include "tests/prepared/same_result.h"

namespace {

void ExpectSameAsText(double v) {
  double fast = NumberTextValue(v);
  double slow = NumberTextValueSlow(v);
  EXPECT_TRUE(SameBits(fast, slow)) << "value " << FormatNumber(v).view() << " (" << std::hexfloat << v << "): fast "
                                    << fast << ", through the text " << slow;
}

// The edges of the number text's forms and their neighbours on both sides.
TEST(NumberTextValue, EdgesOfTheForms) {
  const double edges[] = {0.0,
                          -0.0,
                          1e-8,
                          1e-5,
                          0.01,
                          0.09,
                          0.1,
                          1,
                          1e14,
                          1e15,
                          1e16,
                          1e35,
                          1e36,
                          1e300,
                          0.5,
                          0.7,
                          1.0 / 3,
                          2.5,
                          1e-300,
                          4.9e-324,
                          0x1p-1022,
                          0.0125,
                          0.045,
                          1e-7,
                          2e15,
                          123456789012345.0,
                          999999999999999.0,
                          9.5367431640625E-7};
  for (double e : edges) {
    for (double sign : {1.0, -1.0}) {
      double v = sign * e;
      for (int step = 0; step < 40; ++step) {
        ExpectSameAsText(v);
        v = std::nextafter(v, sign * INFINITY);
      }
      v = sign * e;
      for (int step = 0; step < 40; ++step) {
        ExpectSameAsText(v);
        v = std::nextafter(v, 0.0);
      }
    }
  }
}

// Values whose rounded digits end in a 5: rounding half up, not to even.
TEST(NumberTextValue, TiesRoundUp) {
  for (int i = 1; i < 2000; ++i) {
    ExpectSameAsText(i / 1024.0 / 1024.0 / 16.0);  // exact binary fractions below 0.1
    ExpectSameAsText(i * 1099511627776.0 + 0.5);   // halves above 1e15
    ExpectSameAsText(-(i * 137438953472.0 + 0.25));
  }
}

TEST(NumberTextValue, RandomValuesOfEveryMagnitude) {
  std::mt19937_64 rng(20261208);
  for (int i = 0; i < 200000; ++i) {
    // Random bits over the whole exponent range, and uniform magnitudes per decade.
    double v = BitCast<double>(rng());
    if (!std::isfinite(v)) continue;
    ExpectSameAsText(v);
    int decade = static_cast<int>(rng() % 60) - 30;
    double u = std::ldexp(static_cast<double>(rng() >> 11), -53) * std::pow(10.0, decade);
    ExpectSameAsText(i % 2 ? u : -u);
    ExpectSameAsText(1.0 / (1 + rng() % 65535));
  }
}

}  // namespace
