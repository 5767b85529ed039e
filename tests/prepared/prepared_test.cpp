#include "engine/prepared.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/dialog_state.h"
#include "engine/sequence.h"
#include "engine/table.h"
#include "engine/term_text.h"
#include "tests/engine/text_quantities.h"
#include "tests/prepared/same_result.h"

namespace {

// The formulas of the language's own examples, and the shapes that read oddly:
// letters, exponents next to n, signs spliced after "!", long texts.
const char* const kFormulas[] = {
    "2+3*4",
    "8-2-1",
    "8/2/2",
    "2^3^2",
    "-2^2",
    "2^3!",
    "-3!",
    "2*-3",
    "10-(2-5)",
    "2^-1",
    "0^0",
    "0^-1",
    "0^0.5",
    "(-8)^(1/3)",
    "(-2)^3",
    "5/0",
    "5/(2-2)",
    "170!",
    "171!",
    "(-1)!",
    "0!",
    "10^400",
    "10^300",
    "x",
    "2*x",
    "x+1",
    "5--3",
    "n-(1-n)",
    "1E+5",
    "2.5e-3*4",
    "n!2",
    "1+2*(3/0)",
    "n",
    "1/n",
    "-1",
    "n-1",
    "1/(n-2)",
    "6E307",
    "-6E307",
    "n!",
    "2*N",
    "-n",
    "+n",
    "--n",
    "2*-n",
    "n^-2",
    "(-n)",
    "n!!",
    "2.5E-3*n",
    "1e5",
    "n)*(n",
    "n!n",
    "5",
    "2.5!",
    "3.5!",
    "170.4!",
    "1E400",
    "ne5",
    "Ne-2",
    "1e-n",
    "2.5E+n",
    "5.+1",
    "x+n",
    "n+x",
    "-x",
    "n!(0-n)",
    "n!(n-5)*2",
    "2*n!(1-n)^2",
    "(n)e5",
    "(1/n)e2",
    "(0-n)e1",
    "(-1)^n",
    "(-1)^n/n",
    "1/(n*(n+1))",
    "(1/n)^2+(n-1)/(n+1)",
    "1/(n/400)!",
    "(n/400)!",
    "1/n^2",
    "n^n",
    "2^n",
    "0.5^n",
    "(1+1/n)^n",
    "(n/(n+1))^n",
    "(1-1/n)^n",
    "(1+1/n)^(n+1)",
    "(n+1)^n/n^n",
    "1/n^1.5",
    "0.9999999^(2147483647-n)",
    // From k near 1000 the term texts are cut at 255 characters and go through
    // the text, whose long powers are then computed side by side.
    "(n/(n+1))^n+(n/(n+2))^n+(n/(n+3))^n+(n/(n+4))^n+(n/(n+5))^n+(n/(n+6))^n+(n/(n+7))^n+(n/(n+8))^n+"
    "(n/(n+9))^n+(n/(n+1))^n",
    "1.01^(71000+n)",
    "n^(1/n)",
    "(0-n)^(1/3)",
    "(n-3)^(0-1)",
    "0.5^n",
    "2^-n",
    "0.9^n",
    "1.0001^n",
    "(0-2)^n",
    "0^n",
    "0^-n",
    "1e300^n",
    "1e-300^n",
    "-2^n",
    "(0-0.5)^-n",
    "1.5^n",
    "10^n",
    "10^-n",
    "(1/3)^n*n",
    "1/n^n",
    "1/0+((0-n)!)",
    "(1/0)+((0-n)!)",
    "((0-n)!)+(1/0)",
    "(1/n)-(1/n)",
    "(n*1e300)*(n*1e10)",
    "(0-n)*1e307-1e308",
    "1/(1/n/1e303)",
    "(1e-7/n)*n",
    "(1/n^3)*n^3",
    "(n*1e14)/3",
    "(0-n*1e13)/3",
    "(n*1e34)+1",
    "(n*1e35)*1",
    "(1/3)+n",
    "((n))",
    "(((1/n)))*3",
    "-(n)",
    "-(-(n))",
    "n(",
    "(n",
    "n)",
    ")n(",
    "()",
    "",
    "-",
    "n-",
    "*n",
    "2,5",
    " n",
    "(n)(n)",
    "n(0-1)",
    "(n+1)*(n+2)*(n+3)*(n+4)*(n+5)*(n+6)*(n+7)*(n+8)*(n+9)*(n+10)",
    "(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)+(n*1e40/3)",
    "(1e40)+(1e40)+(1e40)+(1e40)+(1e40)+(1e40)+(1e40)+(1e40)+(1e40)+(1e40)+n",
    "(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)+(0-n/7)",
    ("n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+"
     "n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+"
     "n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n+n"),
    ("(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)"
     "*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)*(1/n)"),
};

bool RunsProgram(const char* formula, std::uint16_t k) {
  const PreparedFormula prepared = PrepareFormula(formula);
  return TermRun(prepared).RunsProgram(k);
}

std::vector<std::uint16_t> Indexes() {
  std::vector<std::uint16_t> ks;
  for (int k = 0; k <= 40; ++k) ks.push_back(static_cast<std::uint16_t>(k));
  for (int k : {99, 100, 101, 170, 171, 999, 1000, 1001, 1023, 1024, 1075, 9999, 10000, 10001, 32768, 65534, 65535})
    ks.push_back(static_cast<std::uint16_t>(k));
  return ks;
}

TEST(PreparedTerm, SameAsTheTextOnTheExamples) {
  for (const char* formula : kFormulas) {
    PreparedFormula prepared = PrepareFormula(formula);
    for (std::uint16_t k : Indexes()) {
      Result fast = PreparedTerm(prepared, k);
      Result text = TextTerm(formula, k);
      EXPECT_TRUE(SameBits(fast.value, text.value) && fast.code == text.code)
          << formula << " at k=" << k << ": prepared " << Shown(fast.value, fast.code) << ", text "
          << Shown(text.value, text.code);
    }
  }
}

// The common formulas run prepared, not through the text.
TEST(PreparedTerm, UsualFormulasArePrepared) {
  for (const char* formula : {"1/n^2", "(-1)^n/n", "1/(n*(n+1))", "(1/n)^2+(n-1)/(n+1)", "1/(n/400)!", "n!", "2^n"}) {
    PreparedFormula prepared = PrepareFormula(formula);
    EXPECT_TRUE(prepared.runs_program()) << formula;
    EXPECT_TRUE(TermRun(prepared).RunsProgram(65535)) << formula;
  }
  // Ten groups fit in 255 characters with fixed number texts.
  EXPECT_TRUE(RunsProgram("(n+1)*(n+2)*(n+3)*(n+4)*(n+5)*(n+6)*(n+7)*(n+8)*(n+9)*(n+10)", 65535));
  // A negative group value after "!" would split the text at its sign.
  EXPECT_FALSE(RunsProgram("n!(0-n)", 3));
  EXPECT_TRUE(RunsProgram("n!(n-5)", 7));
  // Parentheses out of order are left to the text.
  EXPECT_FALSE(PrepareFormula("n)*(n").runs_program());
}

TEST(PreparedQuantities, SumAndProductSameAsTheText) {
  for (const char* formula : kFormulas) {
    for (std::uint16_t n : {0, 1, 2, 3, 27, 171, 1100}) {
      ResultCode = 3;  // n = 0 must leave it
      double s = PartialSum(formula, n);
      std::int32_t s_code = ResultCode;
      const Result text_s = TextPartialSum(formula, n, 3);
      EXPECT_TRUE(SameBits(s, text_s.value) && s_code == text_s.code) << formula << " S_" << n;
      ResultCode = 3;
      double p = PartialProduct(formula, n);
      std::int32_t p_code = ResultCode;
      const Result text_p = TextPartialProduct(formula, n, 3);
      EXPECT_TRUE(SameBits(p, text_p.value) && p_code == text_p.code) << formula << " P_" << n;
      double a = TermValue(formula, n);
      std::int32_t a_code = ResultCode;
      const Result text_a = TextTermValue(formula, n);
      EXPECT_TRUE(SameBits(a, text_a.value) && a_code == text_a.code) << formula << " a_" << n;

      // One request for the quantities gives each one's own result; S and P
      // alone (for n = 0 they keep the code before them).
      const Quantities q = ComputeQuantities(formula, n, kWantTerm | kWantSum | kWantProduct, 3);
      EXPECT_TRUE(SameBits(q.term.value, a) && q.term.code == a_code) << formula << " request a_" << n;
      EXPECT_TRUE(q.sum.code == (n == 0 ? a_code : s_code) && (q.sum.code != 0 || SameBits(q.sum.value, s)))
          << formula << " request S_" << n;
      EXPECT_TRUE(q.product.code == (n == 0 ? a_code : p_code) && (q.product.code != 0 || SameBits(q.product.value, p)))
          << formula << " request P_" << n;
      const Quantities sp = ComputeQuantities(formula, n, kWantSum | kWantProduct, 3);
      EXPECT_TRUE(sp.sum.code == (n == 0 ? 3 : s_code) && sp.product.code == (n == 0 ? 3 : p_code))
          << formula << " S_" << n << " and P_" << n;
    }
  }
}

// Each row of the table shows what a request for its k shows.
TEST(Table, RowsAreSeparateRequests) {
  for (const char* formula : {"1/(n-4)", "10^(100*n)", "n!", "(-1)^n*1e307", "-1e307*n", "1/n", "x+n"}) {
    std::vector<TableRow> rows;
    ComputeTable(formula, 40, [&](const TableRow& row) { rows.push_back(row); });
    ASSERT_EQ(rows.size(), 40u);
    for (const TableRow& row : rows) {
      const Result a = TextTermValue(formula, row.k);
      EXPECT_TRUE(SameBits(a.value, row.a) && a.code == row.a_code) << formula << " a_" << row.k;
      const Result s = TextPartialSum(formula, row.k, kNoError);
      EXPECT_EQ(s.code, row.s_code) << formula << " S_" << row.k;
      if (s.code == kNoError) {
        EXPECT_TRUE(SameBits(s.value, row.s)) << formula << " S_" << row.k;
      }
      const Result p = TextPartialProduct(formula, row.k, kNoError);
      EXPECT_EQ(p.code, row.p_code) << formula << " P_" << row.k;
      if (p.code == kNoError) {
        EXPECT_TRUE(SameBits(p.value, row.p)) << formula << " P_" << row.k;
      }
    }
  }
}

}  // namespace
