// The numbers of the pictures, which must come out the same on every platform:
// powers of ten, decades and logarithms from the program's own routines, pixel
// numbers rounded from the exact binary value, and the ticks of the axes. The
// expected digits were worked out apart from the program (Python's decimal
// module at 50 digits, and by hand for the ticks).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "cli/decades.h"
#include "cli/plot.h"
#include "cli/plot_ticks.h"
#include "cli/svg_writer.h"

namespace {

TEST(PlotNumbers, PowersOfTenAndDecades) {
  const struct {
    int e;
    double nearest;
  } powers[] = {{-324, 0},
                {-323, 0x0.0000000000002p-1022},
                {-310, 0x0.012688b70e62bp-1022},
                {-308, 0x0.730d67819e8d2p-1022},
                {-307, 0x1.1fa182c40c60dp-1020},
                {-23, 0x1.82db34012b251p-77},
                {-5, 0x1.4f8b588e368f1p-17},
                {-1, 0x1.999999999999ap-4},
                {22, 0x1.0f0cf064dd592p+73},
                {23, 0x1.52d02c7e14af6p+76},
                {300, 0x1.7e43c8800759cp+996},
                {308, 0x1.1ccf385ebc8a0p+1023},
                {309, HUGE_VAL}};
  for (const auto& p : powers) EXPECT_EQ(PowerOfTen(p.e), p.nearest) << p.e;

  // The double nearest to a power of ten belongs to its decade, the one below
  // it to the decade before, and the logarithm of a power of ten is exact.
  for (int e = -323; e <= 308; ++e) {
    const double p = PowerOfTen(e);
    EXPECT_EQ(Decade(p), e);
    EXPECT_EQ(Decade(std::nextafter(p, 0.0)), e - 1);
    if (e >= -307) {
      EXPECT_EQ(Log10(p), e);
    }
  }
  EXPECT_EQ(Decade(0x1p-1074), -324);
  EXPECT_EQ(Decade(std::numeric_limits<double>::max()), 308);
  EXPECT_EQ(Decade(99.99), 1);
}

TEST(PlotNumbers, LogarithmsWithinAFewUnitsOfTheLastPlace) {
  const struct {
    double v, log10;
  } cases[] = {
      {2, 0x1.34413509f79ffp-2},
      {3, 0x1.e8927964fd5fdp-2},
      {7, 0x1.b0b0b0b78cc3fp-1},
      {9.999, 0x1.fffa4ead3a046p-1},
      {1.5, 0x1.68a288b60b7fcp-3},
      {0.3, -0x1.0bb6c34d81502p-1},
      {123456.789, 0x1.45db61a282512p+2},
      {6.02e23, 0x1.7c793a2ba0759p+4},
      {1.0000000000000002, 0x1.bcb7b1526e50dp-54},
      {9.999999999999998, 0x1.fffffffffffffp-1},
      {0x1p-1074, -0x1.434e6420f4374p+8},
      {2.2250738585072014e-308, -0x1.33a7146f72a42p+8},
      {std::numeric_limits<double>::max(), 0x1.34413509f79ffp+8},
  };
  for (const auto& c : cases) {
    const double ulp = std::nextafter(std::fabs(c.log10), HUGE_VAL) - std::fabs(c.log10);
    EXPECT_LE(std::fabs(Log10(c.v) - c.log10), 4 * ulp) << c.v;
  }
}

// One decimal, rounded half to even from the exact binary value, never "-0".
TEST(PlotNumbers, PixelNumbers) {
  const struct {
    double v;
    const char* text;
  } cases[] = {{84, "84"},
               {2.5, "2.5"},
               {0.25, "0.2"},
               {0.75, "0.8"},
               {0.35, "0.3"},  // 0.34999999999999997...
               {0.45, "0.5"},  // 0.45000000000000001...
               {0.049999999999999996, "0"},
               {-0.04, "0"},
               {-0.0, "0"},
               {-0.05, "-0.1"},
               {-12.25, "-12.2"},
               {-12.35, "-12.3"},
               {1234.95, "1235"},
               {12345678.75, "12345678.8"},
               {5e-324, "0"},
               {1e300, "1000000000000000"}};  // beyond any picture: at its edge
  for (const auto& c : cases) EXPECT_EQ(SvgNumber(c.v), c.text) << c.v;
}

std::vector<std::string> Labels(const std::vector<Tick>& ticks) {
  std::vector<std::string> labels;
  for (const Tick& t : ticks) labels.push_back(t.label);
  return labels;
}

using Strings = std::vector<std::string>;

TEST(PlotNumbers, TicksOfTheAxes) {
  EXPECT_EQ(Labels(KTicks(41)), (Strings{"0", "5", "10", "15", "20", "25", "30", "35", "40"}));
  EXPECT_EQ(Labels(KTicks(67173.375)), (Strings{"0", "10000", "20000", "30000", "40000", "50000", "60000"}));
  EXPECT_EQ(Labels(LinearAxis(0, 1).ticks), (Strings{"0", "0.2", "0.4", "0.6", "0.8", "1"}));
  EXPECT_EQ(Labels(LinearAxis(-3, 7).ticks), (Strings{"-4", "-2", "0", "2", "4", "6", "8"}));
  // 10^-5 is where the number texts switch to the scientific form: the double
  // nearest to it still has the fixed one.
  EXPECT_EQ(Labels(LinearAxis(0, 2.9e-5).ticks),
            (Strings{"0", "5.E-6", "0.00001", "0.000015", "0.00002", "0.000025", "0.00003"}));
  // A negative number switches to the scientific form from -10^14 on, a
  // positive one from 10^15.
  EXPECT_EQ(Labels(LinearAxis(-2e14, 0).ticks), (Strings{"-2.E+14", "-1.5E+14", "-1.E+14", "-50000000000000", "0"}));
  EXPECT_EQ(Labels(LinearAxis(0, 2e14).ticks),
            (Strings{"0", "50000000000000", "100000000000000", "150000000000000", "200000000000000"}));
  // The largest double: the last round tick lies beyond it, the axis ends there.
  ValueAxis top = LinearAxis(0, std::numeric_limits<double>::max());
  EXPECT_EQ(Labels(top.ticks),
            (Strings{"0", "2.E+307", "4.E+307", "6.E+307", "8.E+307", "1.E+308", "1.2E+308", "1.4E+308", "1.6E+308"}));
  EXPECT_EQ(top.hi, std::numeric_limits<double>::max());

  EXPECT_EQ(Labels(LogAxis(false, 1, 1000).ticks), (Strings{"1", "10", "100", "1000"}));
  EXPECT_EQ(Labels(LogAxis(false, 0.1, 0.1).ticks), (Strings{"0.1", "1"}));
  EXPECT_EQ(Labels(LogAxis(false, 1.5, 999).ticks), (Strings{"1", "10", "100", "1000"}));
  EXPECT_EQ(Labels(LogAxis(true, 1e-320, 1e-320).ticks), (Strings{"-1.E-320", "-1.E-319"}));
  EXPECT_EQ(Labels(LogAxis(false, 0x1p-1074, std::numeric_limits<double>::max()).ticks),
            (Strings{"1.E-300", "1.E-200", "1.E-100", "1", "1.E+100", "1.E+200", "1.E+300"}));
  // Points at the powers of ten lie on their ticks.
  ValueAxis decades = LogAxis(false, 1e-8, 1e8);
  ASSERT_EQ(decades.ticks.size(), 9u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(decades.Share(PowerOfTen(-8 + 2 * i)), decades.ticks[i].at) << i;
}

// A text with "~" standing for the minus sign U+2212.
std::string WithMinusSigns(std::string text) {
  for (std::size_t at = text.find('~'); at != std::string::npos; at = text.find('~', at))
    text.replace(at, 1, "\xE2\x88\x92");
  return text;
}

// Catalan and Spanish labels take the decimal comma as the semicolon CSV writes
// numbers, and the minus sign U+2212; English labels stay as the calculator shows numbers.
TEST(PlotNumbers, TickLabelsInTheLanguagesNumberStyle) {
  const struct {
    const char* label;
    const char* styled;
  } cases[] = {{"0", "0"},        {"1000", "1000"},         {"0.5", "0,5"},         {"-0.25", "~0,25"},
               {"1.E-6", "1E~6"}, {"-1.5E+14", "~1,5E+14"}, {"-2.E-300", "~2E~300"}};
  for (const auto& c : cases) {
    EXPECT_EQ(LabelInStyle(c.label, kCatalan), WithMinusSigns(c.styled)) << c.label;
    EXPECT_EQ(LabelInStyle(c.label, kSpanish), WithMinusSigns(c.styled)) << c.label;
    EXPECT_EQ(LabelInStyle(c.label, kEnglish), c.label);
  }
  const std::string catalan = PlotSvg("(n-3)/2", 5, PlotScale::kLinear, kCatalan);
  const std::string english = PlotSvg("(n-3)/2", 5, PlotScale::kLinear, kEnglish);
  EXPECT_NE(catalan.find(WithMinusSigns(">~1,5</text>")), std::string::npos);
  EXPECT_EQ(catalan.find(">-1.5</text>"), std::string::npos);
  EXPECT_NE(english.find(">-1.5</text>"), std::string::npos);
}

}  // namespace
