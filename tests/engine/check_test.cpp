#include "engine/check.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/messages.h"

namespace {

struct Rejection {
  const char* formula;
  const char* caption;
  const char* text;
};

class CheckFormulaTest : public ::testing::Test {
 protected:
  static void ExpectRejected(const Rejection& r, Language language = kCatalan) {
    CheckMessage m;
    EXPECT_FALSE(CheckFormula(r.formula, language, &m)) << r.formula;
    EXPECT_TRUE(m.shown) << r.formula;
    EXPECT_EQ(m.caption.view(), r.caption) << r.formula;
    EXPECT_EQ(m.text.view(), r.text) << r.formula;
  }
};

TEST_F(CheckFormulaTest, AcceptsWellFormedFormulas) {
  const char* accepted[] = {"n",    "5",        "-n",          "+n",    "--n", "2*-n",    "n^-2",  "(-n)",
                            "n!!",  "2.5E-3*n", "1e5",         "n)*(n", "n!2", "n!n",     "1/n",   "2^n/n!",
                            ".5*n", "5.",       "(n+1)^(1/n)", "x",     "2*x", "-(-(n))", "1E+20", "((n))"};
  for (const char* f : accepted) {
    CheckMessage m;
    EXPECT_TRUE(CheckFormula(f, kCatalan, &m)) << f << ": " << m.caption.view() << " / " << m.text.view();
    EXPECT_FALSE(m.shown) << f;
  }
}

TEST_F(CheckFormulaTest, EmptyOrBlankFormulaIsRejectedSilently) {
  for (const char* f : {"", " ", "   "}) {
    CheckMessage m;
    EXPECT_FALSE(CheckFormula(f, kCatalan, &m));
    EXPECT_FALSE(m.shown);
  }
}

// Each fault is shown with the formula and the place of the fault marked.
TEST_F(CheckFormulaTest, MarksTheFaultInCatalan) {
  const Rejection rows[] = {
      {"3#4", "Error: car\340cter no v\340lid", "3# : #"},
      {" n", "Error: car\340cter no v\340lid", "  :  "},
      {"n ", "Error: car\340cter no v\340lid", "n  :  "},
      {"2,5", "Error: car\340cter no v\340lid", "2, : ,"},
      {"2n", "Error: Falta operador", "2?n"},
      {"n2", "Error: Falta operador", "n?2"},
      {"2F3", "Error: Falta operador", "2?F"},
      {"2(n+1)", "Error: Falta operador", "2?("},
      {"(n)n", "Error: Falta operador", "(n)?n"},
      {"2*/3", "Error: Falta operand", "2*?/"},
      {"()", "Error: Falta operand", "(?)"},
      {"*n", "Error: Falta operand", "? *n"},
      {"*", "Error: Falta operand", "? *"},
      {"n+", "Error: Falta operand", "n+ ?"},
      {"-", "Error: Falta operand", "- ?"},
      {"(", "Error: Falta operand", "( ?"},
      {"(n+1", "Error: ", "  \"(\"  >  \")\""},
      {"n+1)", "Error: ", "  \"(\"  <  \")\""},
  };
  for (const Rejection& r : rows) ExpectRejected(r);
}

TEST_F(CheckFormulaTest, CaptionsInEnglishAndSpanish) {
  ExpectRejected({"3#4", "Error: wrong character", "3# : #"}, kEnglish);
  ExpectRejected({"2n", "Error: lacks operator", "2?n"}, kEnglish);
  ExpectRejected({"n+", "Error: lacks operand", "n+ ?"}, kEnglish);
  ExpectRejected({"(n", "Error: ", "  \"(\"  >  \")\""}, kEnglish);
  ExpectRejected({"3#4", "Error: car\341cter no v\341lido", "3# : #"}, kSpanish);
  ExpectRejected({"2n", "Error: Falta operador", "2?n"}, kSpanish);
  ExpectRejected({"n+", "Error: Falta operando", "n+ ?"}, kSpanish);
}

// The first failing step decides: the first character before the last, the last
// before the scan, the scan before the balance.
TEST_F(CheckFormulaTest, FirstFailingStepDecides) {
  ExpectRejected({"*n+", "Error: Falta operand", "? *n+"});
  ExpectRejected({"n#(", "Error: Falta operand", "n#( ?"});
  ExpectRejected({"(n#", "Error: car\340cter no v\340lid", "(n# : #"});
  ExpectRejected({"((2n", "Error: Falta operador", "((2?n"});
}

TEST_F(CheckFormulaTest, ScansAll255Characters) {
  std::string f = "n";
  while (f.size() < 253) f += "+n";
  f += "+#";
  ASSERT_EQ(f.size(), 255u);
  CheckMessage m;
  EXPECT_FALSE(CheckFormula(f, kCatalan, &m));
  EXPECT_EQ(m.text.view(), f);  // the marked text is cut at 255 characters
}

}  // namespace
