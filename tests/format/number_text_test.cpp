#include "format/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "format/bit_cast.h"
#include "format/double_from_chars.h"
#include "format/number_reading.h"

namespace {

struct Row {
  double value;
  const char* text;
};

// The display text of a number: fixed notation with the double's own digits up
// to the 17th, the short scientific form below 1e-5 and from 16 characters
// before the point, the long form from 1e36 on.
TEST(FormatNumber, DisplayTextOfEveryKindOfValue) {
  const Row rows[] = {
      {0, "0"},
      {-0.0, "-0"},
      {0.5, "0.5"},
      {2.5, "2.5"},
      {100, "100"},
      {3628800, "3628800"},
      {123.456, "123.456"},
      {0.1, "0.10000000000000001"},
      {1.0 / 3, "0.33333333333333331"},
      {10.0 / 3, "3.3333333333333335"},
      {0.7, "0.69999999999999996"},
      {0.1 + 0.2, "0.30000000000000004"},
      {0.00001, "0.00001"},
      {0.0000099, "9.9E-6"},
      {-0.0000099, "-9.9E-6"},
      {0.000001, "1.E-6"},
      {-0.00000042, "-4.2E-7"},
      {1e-300, "1.E-300"},
      {std::ldexp(1.0, -20), "9.5367431640625E-7"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      {999999999999999, "999999999999999"},
      {1e15, "1.E+15"},
      {std::ldexp(1.0, 53), "9.00719925474099E+15"},
      {-12345678901234, "-12345678901234"},
      {-1e14, "-1.E+14"},
      {-123456789012345, "-1.23456789012345E+14"},
      {6.02e23, "6.02E+23"},
      {1e35, "1.E+35"},
      {1e36, " 1.0000000000000000E+0036"},
      {1.5e36, " 1.5000000000000000E+0036"},
      {std::numeric_limits<double>::max(), " 1.7976931348623157E+0308"},
      {std::ldexp(1.0, 120), " 1.3292279957849159E+0036"},
      {-std::ldexp(1.0, 130), "-1.3611294676837539E+0039"},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatNumber(row.value).view(), row.text) << row.value;
}

// Rounding works on the exact binary value and rounds ties up, where a library
// printf would round them to even or print inexact digits.
TEST(FormatNumber, RoundsTheExactValueHalfUp) {
  const Row rows[] = {
      {1000000000000005, "1.00000000000001E+15"},
      {1000000000000015, "1.00000000000002E+15"},
      {-1000000000000005, "-1.00000000000001E+15"},
      {-100000000000005, "-1.00000000000005E+14"},
      {0.125, "0.125"},
      {1e-5 * 1.5, "0.000015"},
      {5e-324 * 3, "1.48219693752374E-323"},
      {99999999999999.99, "99999999999999.984"},
      {999999999999999.9, "999999999999999.88"},
      {123456789.123456789, "123456789.12345679"},
      {-2.5, "-2.5"},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatNumber(row.value).view(), row.text) << row.value;
}

// A carry out of the leading digit moves the decimal point, and may push a value
// over a switch point.
TEST(FormatNumber, CarryAddsALeadingDigit) {
  EXPECT_EQ(FormatNumber(9.999999999999999e35).view(), "1.E+36");  // short form, 15 digits carry
  EXPECT_EQ(FormatNumber(9.999999999999999e-06).view(), "1.E-5");
  EXPECT_EQ(FormatNumber(9.99999999999999e-5).view(), "0.0001");  // 17 decimals carry
  EXPECT_EQ(FormatNumber(99999.99999999999).view(), "99999.999999999985");
}

TEST(FormatNumber, NeverLongerThan25Characters) {
  const double samples[] = {-std::numeric_limits<double>::max(), -1.2345678901234567e-300, -0.12345678901234567,
                            -1.2345678901234567e35, -99999999999999.9};
  for (double v : samples) EXPECT_LE(FormatNumber(v).size(), 25u) << v;
}

// The quick fixed texts against those of the exact decimal expansion: random
// values of every size, integers, ties at the last decimal shown, and the
// neighbours of the bounds where the form changes.
TEST(FormatNumber, QuickTextsEqualTheExactOnes) {
  std::mt19937_64 rng(3);
  std::vector<double> values;
  for (double edge : {1e-5, 1e-4, 0.1, 1.0, 10.0, 1e14, 1e15, 0.5, 2.5e-5, 999999999999999.9, 99999999999999.99}) {
    double v = edge;
    for (int i = 0; i < 4; ++i) v = std::nextafter(v, 0.0);
    for (int i = 0; i < 9; ++i, v = std::nextafter(v, 1e300)) values.push_back(v);
  }
  for (int i = 0; i < 300000; ++i) {
    const double scale = std::ldexp(1.0, static_cast<int>(rng() % 70) - 20);  // 2^-20 to 2^49
    double v = BitCast<double>((rng() >> 12) | 0x3FF0000000000000) * scale;
    if (i % 3 == 0) v = std::nearbyint(v);
    if (i % 5 == 0) v = std::ldexp(std::nearbyint(std::ldexp(v, 18)), -18);  // a tie at the 17th digit when below 1
    values.push_back(i % 2 ? v : -v);
  }
  for (double v : values) ASSERT_EQ(FormatNumber(v).view(), ExactNumberText(v).view()) << std::hexfloat << v;
}

TEST(IntText, DecimalDigitsWithSign) {
  EXPECT_EQ(IntText(0).view(), "0");
  EXPECT_EQ(IntText(7).view(), "7");
  EXPECT_EQ(IntText(-15).view(), "-15");
  EXPECT_EQ(IntText(2147483647).view(), "2147483647");
  EXPECT_EQ(IntText(-2147483647 - 1).view(), "-2147483648");
}

}  // namespace

// Short decimals take a quicker way than long ones; both give the correctly
// rounded value, as the full reading of DoubleFromChars does.
TEST(ReadNumber, ShortDecimalsAreCorrectlyRounded) {
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) {
    const std::string digits = std::to_string(rng() % 1000000000ull * 1000000ull + rng() % 1000000ull);
    const std::size_t length = 1 + rng() % digits.size();
    const std::size_t point = rng() % (length + 2);  // past the digits: no point
    std::string t = rng() % 3 == 0 ? "0.00" : "";
    for (std::size_t d = 0; d < length; ++d) {
      if (d == point && t.find('.') == std::string::npos) t += '.';
      t += digits[d];
    }
    if (rng() % 4 == 0) {
      t += "E-";
      t += std::to_string(rng() % 30);
    }
    double expected = 0;
    DoubleFromChars(t.data(), t.data() + t.size(), expected);
    double v = 0;
    bool overflow = false;
    ASSERT_TRUE(ReadNumber(t, &v, &overflow)) << t;
    ASSERT_EQ(v, expected) << t;
  }
}
