// Term requests: formulas and values of n typed by the user, what the result boxes
// and the message boxes show, and what joins the history.
#include <string>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

struct ComputeCase {
  std::string formula, n;
  std::string a, s, p;
};

TEST(Request, ResultBoxesShowNumbersOrErrorTexts) {
  const std::vector<ComputeCase> cases = {
      {"n", "4", "4", "10", "24"},
      {"1/n", "3", "0.33333333333333331", "1.8333333333333333", "0.16666666666666666"},
      {"-1", "3", "-1", "-3", "-1"},
      {"n-1", "3", "2", "3", "0"},
      {"1/(n-2)", "3", "1", kDivision, kDivision},
      {"10^20", "2", "1.E+20", "2.E+20", " 1.0000000000000000E+0040"},
      {"10^400", "1", kOverflow, kOverflow, kOverflow},
      {"6E307", "2", " 5.9999999999999997E+0307", kOverflow, kOverflow},
      {"n!", "171", kFactorialStart, kFactorialStart, kOverflow},
      {"2^3^2", "1", "64", "64", "64"},
      {"-2^2", "1", "4", "4", "4"},
      {"10-(2-5)", "1", "13", "13", "13"},
      {"(-8)^(1/3)", "1", kNegativeBase, kNegativeBase, kNegativeBase},
      {"2*N", "3", "6", "12", "48"},
      {"0.1", "1", "0.10000000000000001", "0.10000000000000001", "0.10000000000000001"},
      {"1", "9999", "1", "9999", "1"},
      {"n", "  7  ", "7", "28", "5040"},
      {"n", "$A", "10", "55", "3628800"},
      // Faults that no rule of the evaluator names still end as an error text.
      {"1E400", "1", kAnyError, kAnyError, kAnyError},
      {"-1E308-1E308", "1", kAnyError, kAnyError, kAnyError},
      {"n^0.5*1E200*1E200", "1", kAnyError, kAnyError, kAnyError},
  };
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  for (const ComputeCase& c : cases) {
    SCOPED_TRACE(c.formula + " with n = \"" + c.n + "\"");
    ExpectNoBox(v.Calculate(c.formula, c.n));
    ExpectResults(v, c.a, c.s, c.p);
    EXPECT_EQ(v.Text(IDC_N), c.n) << "the n field keeps what was typed";
  }
  ASSERT_TRUE(v.Running());
  CloseNormally(v);
}

TEST(Request, EmptyNBecomesOne) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n+1", ""));
  EXPECT_EQ(v.Text(IDC_N), "1");
  ExpectResults(v, "2", "2", "2");
  CloseNormally(v);
}

TEST(Request, BadNIsRefusedAndChangesNothing) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "4"));
  for (const std::string bad : {"0", "-3", "2.5", "abc", "   ", "$", "1e3", "+"}) {
    SCOPED_TRACE("n = \"" + bad + "\"");
    v.Type(IDC_N, bad);
    ExpectOneBox(v.Click(IDC_CALCULATE), kBadNCaption, kBadN);
    ExpectResults(v, "4", "10", "24");
    EXPECT_EQ(v.Thumb(), 4);
    EXPECT_EQ(v.Text(IDC_N), bad);
  }
  // A formula that passes the check joins the history even when n then fails.
  v.Type(IDC_FORMULA, "n*n");
  ExpectOneBox(v.Click(IDC_CALCULATE), kBadNCaption, kBadN);
  EXPECT_EQ(v.History(), (std::vector<std::string>{"n", "n*n"}));
  CloseNormally(v);
}

// The n field does not scroll: typing stops when the field is full.
TEST(Request, NFieldTakesWhatFitsItsWidth) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  const std::string typed = "123456789";
  v.Type(IDC_N, typed);
  const std::string kept = v.Text(IDC_N);
  EXPECT_LT(kept.size(), typed.size());
  EXPECT_GE(kept.size(), 3u);
  EXPECT_EQ(typed.substr(0, kept.size()), kept);
  CloseNormally(v);
}

TEST(Request, NAboveTheBarIsComputedWithTheThumbAtTheEnd) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "500"));
  ExpectResults(v, "500", "125250", kOverflow);
  EXPECT_EQ(v.Thumb(), 170);
  CloseNormally(v);
}

struct CheckCase {
  std::string formula, caption, text;
};

TEST(Request, RejectedFormulasShowWhereTheFaultIs) {
  const std::vector<CheckCase> cases = {
      {"3#4", kBadChar, "3# : #"},
      {"2,5", kBadChar, "2, : ,"},
      {" n", kBadChar, "  :  "},
      {"n\351", kBadChar, "n\351 : \351"},
      {"2n", kNoOperator, "2?n"},
      {"n2", kNoOperator, "n?2"},
      {"(n+1)(n-1)", kNoOperator, "(n+1)?("},
      {"2*/3", kNoOperand, "2*?/"},
      {"2*+3", kNoOperand, "2*?+"},
      {"*n", kNoOperand, "? *n"},
      {"n+", kNoOperand, "n+ ?"},
      {"()", kNoOperand, "(?)"},
      {"(n+1", kParenCaption, "  \"(\"  >  \")\""},
      {"n+1)", kParenCaption, "  \"(\"  <  \")\""},
  };
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "4"));
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.formula);
    v.Type(IDC_FORMULA, c.formula);
    v.Type(IDC_N, "5");
    ExpectOneBox(v.Click(IDC_CALCULATE), c.caption, c.text);
    ExpectResults(v, "", "", "");
    EXPECT_EQ(v.Thumb(), 4) << "a rejected formula does not read n";
  }
  EXPECT_EQ(v.History(), std::vector<std::string>{"n"});
  CloseNormally(v);
}

TEST(Request, EmptyOrBlankFormulaDoesNothing) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "4"));
  for (const std::string formula : {"", "   "}) {
    SCOPED_TRACE("formula \"" + formula + "\"");
    v.Type(IDC_FORMULA, formula);
    v.Type(IDC_N, "");
    ExpectNoBox(v.Click(IDC_CALCULATE));
    EXPECT_EQ(v.Text(IDC_N), "") << "n is not read";
    EXPECT_EQ(v.Thumb(), 4);
  }
  EXPECT_EQ(v.History(), std::vector<std::string>{"n"});
  CloseNormally(v);
}

TEST(Request, HistoryGetsEveryDistinctFormulaOnce) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  for (const std::string formula : {"n^2", "n^2", "N^2", "n", "n^2", "1/n", "N"}) {
    SCOPED_TRACE(formula);
    ExpectNoBox(v.Calculate(formula, "2"));
  }
  EXPECT_EQ(v.History(), (std::vector<std::string>{"n^2", "n", "1/n"}));
  CloseNormally(v);
}

TEST(Request, TypingInTheFormulaEmptiesTheResults) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "4"));
  ExpectResults(v, "4", "10", "24");
  v.TypeMore(IDC_FORMULA, "+");
  ExpectResults(v, "", "", "");
  v.TypeMore(IDC_FORMULA, "1");
  ExpectResults(v, "", "", "");
  ExpectNoBox(v.Click(IDC_CALCULATE));
  ExpectResults(v, "5", "14", "120");
  CloseNormally(v);
}

TEST(Request, CheckboxesChooseWhatIsComputed) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate("n", "4"));
  // Unticking greys the box and keeps its text; the next request leaves it alone.
  ExpectNoBox(v.Click(IDC_SN_CHECK));
  EXPECT_FALSE(v.Checked(IDC_SN_CHECK));
  EXPECT_FALSE(v.Enabled(IDC_SN_BOX));
  EXPECT_EQ(v.Text(IDC_SN_BOX), "10");
  v.Type(IDC_N, "5");
  ExpectNoBox(v.Click(IDC_CALCULATE));
  ExpectResults(v, "5", "10", "120");
  // Ticking again enables the box without computing.
  ExpectNoBox(v.Click(IDC_SN_CHECK));
  EXPECT_TRUE(v.Enabled(IDC_SN_BOX));
  EXPECT_EQ(v.Text(IDC_SN_BOX), "10");
  ExpectNoBox(v.Click(IDC_CALCULATE));
  EXPECT_EQ(v.Text(IDC_SN_BOX), "15");
  // With nothing ticked a request still checks, records and moves the thumb.
  for (int id : {IDC_AN_CHECK, IDC_SN_CHECK, IDC_PN_CHECK}) ExpectNoBox(v.Click(id));
  ExpectNoBox(v.Calculate("2*n", "6"));
  ExpectResults(v, "", "", "");
  EXPECT_EQ(v.Thumb(), 6);
  EXPECT_EQ(v.History(), (std::vector<std::string>{"n", "2*n"}));
  CloseNormally(v);
}

TEST(Request, EnterKeyCalculates) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  v.Type(IDC_FORMULA, "n");
  v.Type(IDC_N, "3");
  v.PostKey(IDC_N, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return v.Text(IDC_PN_BOX) == "6"; })) << "P_n holds \"" << v.Text(IDC_PN_BOX) << "\"";
  ExpectResults(v, "3", "6", "6");
  EXPECT_TRUE(v.Running());
  CloseNormally(v);
}

TEST(Request, ChoosingAHistoryEntryComputesAtOnce) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder.File("ults.rel"), "n\r\n1/n\r\n"));
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  v.Type(IDC_N, "2");
  ExpectNoBox(v.Choose(2));
  EXPECT_EQ(v.Text(IDC_FORMULA), "1/n");
  ExpectResults(v, "0.5", "1.5", "0.5");
  EXPECT_EQ(v.History(), (std::vector<std::string>{"n", "1/n"}));
  CloseNormally(v);
}

TEST(Request, LongFormulaIsComputed) {
  std::string formula = "1";
  while (formula.size() < 253) formula += "+1";
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Calculate(formula, "2"));
  ExpectResults(v, "127", "254", "16129");
  CloseNormally(v);
}

}  // namespace
}  // namespace e2e
