// The stand-ins for std::from_chars (double) and std::bit_cast, which some
// standard libraries lack: where the library has them, the same answers.
#include "format/double_from_chars.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "format/bit_cast.h"

namespace {

struct Read {
  std::errc error;
  std::size_t used;
  std::uint64_t bits;  // of the value (left at its starting value on an error)
};

constexpr double kUntouched = 123.25;

Read ReadWithHelper(const std::string& t) {
  double v = kUntouched;
  const auto r = DoubleFromChars(t.data(), t.data() + t.size(), v);
  return {r.ec, static_cast<std::size_t>(r.ptr - t.data()), BitCast<std::uint64_t>(v)};
}

#if defined(__cpp_lib_to_chars)
// The texts where rounding is hardest: the exact decimal values of the points
// halfway between neighbouring doubles and numbers just beside them, printed
// doubles of every size and precision, long digit strings, the edges of the
// range, and texts that hold only the start of a number.
std::vector<std::string> HardTexts() {
  std::vector<std::string> texts = {"1e-310",
                                    "4.9e-324",
                                    "2.4703282292062328e-324",
                                    "2.4703282292062327e-324",
                                    "1e-400",
                                    "1e400",
                                    "1.7976931348623157e308",
                                    "1.7976931348623158e308",
                                    "1.7976931348623159e308",
                                    "2.2250738585072011e-308",
                                    "0",
                                    "-0",
                                    "0e999999",
                                    "00000.0000e5",
                                    "1.",
                                    ".5",
                                    "5e",
                                    "1e+",
                                    "1.5e-x",
                                    "-.5e-3",
                                    ".",
                                    "-",
                                    "",
                                    "e5",
                                    "+1",
                                    "9007199254740993",
                                    "9007199254740993.000000000000000000000000001",
                                    "123456789012345678901234567890e-330",
                                    "1e-5",
                                    "0.1",
                                    "1E22",
                                    "1E23",
                                    "12.5e+3x"};
  std::mt19937_64 rng(11);
  char buffer[900];
  for (int i = 0; i < 60000; ++i) {
    const double v = BitCast<double>(rng() >> 1);
    if (!std::isfinite(v)) continue;
    const double next = std::nextafter(v, std::numeric_limits<double>::infinity());
    switch (i % 4) {
      case 0:  // a printed double, 1 to 20 significant digits
        std::snprintf(buffer, sizeof buffer, "%.*e", static_cast<int>(rng() % 20), v);
        break;
      case 1:  // the exact halfway point (long double holds it), or a neighbour of it
        if (!std::isfinite(next)) continue;
        std::snprintf(buffer, sizeof buffer, "%.*Le", i % 8 == 1 ? 800 : 17 + static_cast<int>(rng() % 20),
                      (static_cast<long double>(v) + next) / 2);
        break;
      default: {  // digits, a point, an exponent of any size
        std::string t = rng() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(rng() % (i % 16 == 2 ? 400 : 25));
        for (int d = 0; d < digits; ++d) t += static_cast<char>('0' + rng() % 10);
        if (rng() % 2) t.insert(t.size() - rng() % digits, 1, '.');
        if (rng() % 3) {
          t += rng() % 2 ? "e" : "E-";
          t += std::to_string(rng() % 700);
        }
        texts.push_back(t);
        continue;
      }
    }
    texts.push_back(buffer);
  }
  return texts;
}
#endif

TEST(DoubleFromChars, ReadsWhatTheStandardLibraryReads) {
#if defined(__cpp_lib_to_chars)
  for (const std::string& t : HardTexts()) {
    double v = kUntouched;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    const Read got = ReadWithHelper(t);
    ASSERT_EQ(got.error, r.ec) << t;
    ASSERT_EQ(got.used, static_cast<std::size_t>(r.ptr - t.data())) << t;
    ASSERT_EQ(got.bits, BitCast<std::uint64_t>(v)) << t;
  }
#else
  GTEST_SKIP() << "this standard library reads no double with std::from_chars";
#endif
}

// The same answers checked without the library, so that every build checks them.
TEST(DoubleFromChars, EdgesOfRangeAndRounding) {
  const std::uint64_t untouched = BitCast<std::uint64_t>(kUntouched);
  struct Row {
    const char* text;
    std::errc error;
    std::size_t used;
    std::uint64_t bits;
  } rows[] = {
      {"0.1", std::errc(), 3, 0x3FB999999999999A},
      {"-0", std::errc(), 2, 0x8000000000000000},
      {"4.9e-324", std::errc(), 8, 1},                                             // the smallest subnormal
      {"2.4703282292062328e-324", std::errc(), 23, 1},                             // just above half of it
      {"2.4703282292062327e-324", std::errc::result_out_of_range, 23, untouched},  // just below
      {"2.2250738585072011e-308", std::errc(), 23, 0x000FFFFFFFFFFFFF},            // the largest subnormal
      {"1.7976931348623158e308", std::errc(), 22, 0x7FEFFFFFFFFFFFFF},             // rounds down to the largest
      {"1.7976931348623159e308", std::errc::result_out_of_range, 22, untouched},
      {"9007199254740993", std::errc(), 16, 0x4340000000000000},  // a tie: to the even 2^53
      {"9007199254740993.0000000000000000000000000001", std::errc(), 45, 0x4340000000000001},
      {"1e23", std::errc(), 4, 0x44B52D02C7E14AF6},
      {"5e", std::errc(), 1, 0x4014000000000000},  // an exponent without digits is not read
      {"1.5e+x", std::errc(), 3, 0x3FF8000000000000},
      {".5", std::errc(), 2, 0x3FE0000000000000},
      {".", std::errc::invalid_argument, 0, untouched},
      {"+1", std::errc::invalid_argument, 0, untouched},
      {"inf", std::errc::invalid_argument, 0, untouched},
  };
  for (const Row& row : rows) {
    const Read got = ReadWithHelper(row.text);
    EXPECT_EQ(got.error, row.error) << row.text;
    EXPECT_EQ(got.used, row.used) << row.text;
    EXPECT_EQ(got.bits, row.bits) << row.text;
  }
}

TEST(BitCast, SameBitsAsTheStandardLibrary) {
  EXPECT_EQ(BitCast<std::uint64_t>(1.0), 0x3FF0000000000000u);
  EXPECT_TRUE(std::signbit(BitCast<double>(std::uint64_t{1} << 63)));
#if defined(__cpp_lib_bit_cast)
  std::mt19937_64 rng(5);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t u = rng();  // NaNs with payloads and subnormals too
    ASSERT_EQ(std::bit_cast<std::uint64_t>(BitCast<double>(u)), u);
    const double d = std::bit_cast<double>(u);
    ASSERT_EQ(BitCast<std::uint64_t>(d), u);
  }
#endif
}

}  // namespace
