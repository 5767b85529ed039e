#include "engine/sequence.h"

#include <gtest/gtest.h>

#include "engine/dialog_state.h"
#include "engine/term_text.h"
#include "format/number_text.h"

namespace {

struct Quantities {
  const char* formula;
  std::uint16_t n;
  const char* a;  // number text, or nullptr when a code stands
  std::int32_t a_code;
  const char* s;
  std::int32_t s_code;
  const char* p;
  std::int32_t p_code;
};

void ExpectQuantity(double value, std::int32_t code, const char* text, std::int32_t expected_code, const char* what,
                    const Quantities& q) {
  EXPECT_EQ(code, expected_code) << what << " of " << q.formula << " at n=" << q.n;
  if (text && code == kNoError) {
    EXPECT_EQ(FormatNumber(value).view(), text) << what << " of " << q.formula;
  }
}

TEST(Sequence, TermSumAndProduct) {
  const Quantities rows[] = {
      {"n", 4, "4", 0, "10", 0, "24", 0},
      {"1/n", 3, "0.33333333333333331", 0, "1.8333333333333333", 0, "0.16666666666666666", 0},
      {"-1", 3, "-1", 0, "-3", 0, "-1", 0},
      {"n-1", 3, "2", 0, "3", 0, "0", 0},
      {"1/(n-2)", 3, "1", 0, nullptr, 1, nullptr, 1},
      {"10^300", 2, " 1.0000000000000002E+0300", 0, " 2.0000000000000004E+0300", 0, nullptr, 4},
      {"6E307", 2, " 5.9999999999999997E+0307", 0, nullptr, 4, nullptr, 4},
      {"n!", 171, nullptr, 2, nullptr, 2, nullptr, 4},
      {"n!", 170, " 7.2574156153079940E+0306", 0, " 7.3003604156473152E+0306", 0, nullptr, 4},
      {"2*N", 5, "10", 0, "30", 0, "3840", 0},
      {"-6E307", 2, "-5.9999999999999997E+0307", 0, nullptr, 4, nullptr, 4},
      {"(-1)^n*n", 4, "4", 0, "2", 0, "24", 0},
      {"1/n^2", 65535, "2.32837749243861E-10", 0, "1.6449188079427699", 0, "0", 0},
  };
  for (const Quantities& q : rows) {
    double a = TermValue(q.formula, q.n);
    std::int32_t a_code = ResultCode;
    double s = PartialSum(q.formula, q.n);
    std::int32_t s_code = ResultCode;
    double p = PartialProduct(q.formula, q.n);
    std::int32_t p_code = ResultCode;
    ExpectQuantity(a, a_code, q.a, q.a_code, "a", q);
    ExpectQuantity(s, s_code, q.s, q.s_code, "S", q);
    ExpectQuantity(p, p_code, q.p, q.p_code, "P", q);
  }
}

// With n = 0 neither loop runs and the code of the previous call stands.
TEST(Sequence, NZeroLeavesTheCode) {
  Evaluate("5/0");
  EXPECT_EQ(PartialSum("n", 0), 0);
  EXPECT_EQ(ResultCode, kDivisionByZero);
  EXPECT_EQ(PartialProduct("n", 0), 1);
  EXPECT_EQ(TermValue("n+1", 0), 1);
}

TEST(SubstituteVariable, ReplacesEitherCaseAndBracketsANegativeText) {
  EXPECT_EQ(SubstituteVariable('n', "5", "2*n+1").view(), "2*5+1");
  EXPECT_EQ(SubstituteVariable('n', "5", "N^2").view(), "5^2");
  EXPECT_EQ(SubstituteVariable('n', "-5", "2*n").view(), "2*(-5)");
  EXPECT_EQ(SubstituteVariable('N', "12", "n!n").view(), "12!12");
  std::string many(200, 'n');
  ShortString replaced = SubstituteVariable('n', "65535", many);
  EXPECT_EQ(replaced.size(), 255u);
}

}  // namespace
