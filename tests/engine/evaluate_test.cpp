#include "engine/evaluate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/dialog_state.h"
#include "engine/exp_log_power.h"
#include "engine/groups.h"
#include "engine/integer_power.h"
#include "engine/power_chains.h"
#include "format/bit_cast.h"
#include "format/number_text.h"
#include "tests/engine/reference_evaluate.h"

namespace {

struct Row {
  const char* text;
  const char* value;  // the number text of the value, or nullptr when a code is expected
  std::int32_t code;
};

void ExpectRows(const Row* begin, const Row* end) {
  for (const Row* r = begin; r != end; ++r) {
    double v = Evaluate(r->text);
    EXPECT_EQ(ResultCode, r->code) << r->text;
    if (r->value && ResultCode == kNoError) {
      EXPECT_EQ(FormatNumber(v).view(), r->value) << r->text;
    }
  }
}

// The split order makes "+" and "-" the loosest, "^" left-associative and a
// leading minus bind tighter than every operator.
TEST(Evaluate, BindingOfTheOperators) {
  const Row rows[] = {
      {"2+3*4", "14", 0}, {"8-2-1", "5", 0},   {"8/2/2", "2", 0}, {"2^3^2", "64", 0},    {"-2^2", "4", 0},
      {"2^3!", "64", 0},  {"-3!", nullptr, 2}, {"2*-3", "-6", 0}, {"10-(2-5)", "13", 0}, {"5--3", "8", 0},
      {"2^-1", "0.5", 0}, {"-2*3", "-6", 0},   {"+5", "5", 0},    {"--5", "5", 0},       {"2-3-4*2", "-9", 0},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Evaluate, PowersZeroAndNegativeBases) {
  const Row rows[] = {
      {"0^0", "1", 0},
      {"0^-1", nullptr, 1},
      {"0^0.5", "0", 0},
      {"(-8)^(1/3)", nullptr, 3},
      {"(-2)^3", "-8", 0},
      {"(-2)^-2", "0.25", 0},
      {"10^400", nullptr, 4},
      {"2^0.5", "1.4142135623730951", 0},
      {"4^0.5", "2", 0},
      {"10^-400", nullptr, 4},
      {"2^1024", nullptr, 4},
      {"0.5^-1074", nullptr, 1},
      {"2^5000000000", nullptr, 1},
      {"2^-1075", nullptr, 4},
      {"0.5^1074", "4.94065645841247E-324", 0},
      {"1.0000001^2000000000", " 7.2259023525474902E+0086", 0},  // the exact power, rounded
      {"0.5^2000000000", "0", 0},
      {"(-1)^2147483647", "-1", 0},
      {"(-0.5)^2001", "-0", 0},
      {"1E308^1", nullptr, 4},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Evaluate, DivisionAndFactorial) {
  const Row rows[] = {
      {"5/0", nullptr, 1},  {"5/(2-2)", nullptr, 1}, {"170!", " 7.2574156153079940E+0306", 0},
      {"171!", nullptr, 2}, {"(-1)!", nullptr, 2},   {"0!", "1", 0},
      {"2.5!", "2", 0},     {"3.5!", "24", 0},       {"170.4!", nullptr, 2},
      {"5!2", "120", 0},    {"5!5", "120", 0},       {"1/3", "0.33333333333333331", 0},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

// Faults outside the guards of "*" and "^" end with code 4.
TEST(Evaluate, RangeFaultsEndWithACode) {
  const Row rows[] = {
      {"1E400", nullptr, 4},
      {"1e-400", "0", 0},
      {"1E308*10", nullptr, 1},
      {"1E308+1E308", nullptr, 4},
      {"-1E308-1E308", nullptr, 4},
      {"1E308/0.1", nullptr, 4},
      {"1.7976931348623157E308", " 1.7976931348623157E+0308", 0},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

// A leaf that is not a number counts as 0; the sign of an exponent does not split.
TEST(Evaluate, LeavesAndNumberForms) {
  const Row rows[] = {
      {"x", "0", 0},           {"2*x", "0", 0},   {"x+1", "0", 0}, {"5.+1", "0", 0},        {"1E+5", "100000", 0},
      {"2.5e-3*4", "0.01", 0}, {".5", "0.5", 0},  {"5.", "5", 0},  {"1.E+20", "1.E+20", 0}, {"", "0", 0},
      {"n)*(n", "0", 0},       {"2*(3)", "6", 0},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

// After a failure deep inside, the code stands and nothing further is computed.
TEST(Evaluate, FailureDeepInsideStands) {
  Evaluate("1+2*(3/0)");
  EXPECT_EQ(ResultCode, kDivisionByZero);
  Evaluate("(171!)+(5/0)");
  EXPECT_EQ(ResultCode, kFactorialRange);
  Evaluate("2");
  EXPECT_EQ(ResultCode, kNoError);  // every evaluation starts afresh
}

// A group takes part with the precision of its number text.
TEST(Evaluate, GroupValuesPassThroughTheirText) {
  EXPECT_EQ(FormatNumber(Evaluate("(1/3000000)*3000000")).view(), "0.999999999999999");
  EXPECT_EQ(Evaluate("(2^60)*1"), 1152921504606850000.0);
  EXPECT_EQ(Evaluate("2^60*1"), std::ldexp(1.0, 60));
  EXPECT_EQ(Evaluate("(1E36)*2"), 2e36);
  EXPECT_EQ(Evaluate("(0-1E36)*2"), -2e36);
  EXPECT_EQ(Evaluate("(2^-20)*1"), std::ldexp(1.0, -20));
  EXPECT_EQ(ResultCode, kNoError);
}

TEST(Evaluate, ReloadsTheResultTextsOfTheLanguage) {
  LanguageIndex = kEnglish;
  Evaluate("5/0");
  EXPECT_EQ(ResultTexts[kDivisionByZero].view(), "Division by zero");
  LanguageIndex = kCatalan;
  Evaluate("5/0");
  EXPECT_EQ(ResultTexts[kDivisionByZero].view(), "Divisi\363 per zero");
  EXPECT_EQ(ResultTexts[kFactorialRange].view(),
            "* Error de factorial (n!)*\r\n\r\nn ha d'estar a l'interval [0,170]\r\n( <=170 per raons t\350cniques)");
}

TEST(FirstGroup, FindsTheFirstCompleteTopLevelGroup) {
  Group g = FirstGroup("2*(3+(4))-(5)");
  EXPECT_EQ(g.open, 3);
  EXPECT_EQ(g.close, 9);
  EXPECT_EQ(FirstGroup("5)*(5").open, 0);
  EXPECT_EQ(FirstGroup("(5").open, 0);
  g = FirstGroup(")((x)");
  EXPECT_EQ(g.open, 3);
  EXPECT_EQ(g.close, 5);
}

// The integer power keeps its overflow rule and answers at once for any exponent.
TEST(IntegerPower, RepeatedMultiplicationWithTheLimit) {
  EXPECT_EQ(IntegerPower(2, 10), 1024);
  EXPECT_EQ(ResultCode, kNoError);
  IntegerPower(10, 309);
  EXPECT_EQ(ResultCode, kOverflow);  // the running product would reach 1e308
  IntegerPower(10, 308);
  EXPECT_EQ(ResultCode, kNoError);
  IntegerPower(0, -3);
  EXPECT_EQ(ResultCode, kDivisionByZero);
  EXPECT_EQ(IntegerPower(0, 0), 0);
  EXPECT_EQ(IntegerPower(-1, 2147483647), -1);
  EXPECT_EQ(IntegerPower(-1, -2147483647), -1);
  EXPECT_EQ(IntegerPower(0.5, 2000000000), 0);
  IntegerPower(1.0001, 2000000000);
  EXPECT_EQ(ResultCode, kOverflow);
  double v = IntegerPower(1.0000001, 2000000000);
  EXPECT_EQ(ResultCode, kNoError);
  EXPECT_NEAR(v / std::exp(2000000000 * std::log1p(1e-7)), 1, 1e-6);
}

// The product of a long literal run and of the squaring finish agree with the
// exact power within rounding.
TEST(IntegerPower, LongExponentsStayCloseToTheExactPower) {
  for (std::int32_t e : {65536, 65537, 100000, 1000000, 7000000}) {
    double x = 1.00001;
    double v = IntegerPower(x, e);
    ASSERT_EQ(ResultCode, kNoError) << e;
    EXPECT_NEAR(v / std::exp(e * std::log1p(1e-5)), 1, 1e-9) << e;
    v = IntegerPower(-0.99999, e);
    EXPECT_EQ(std::signbit(v), (e & 1) == 1);
  }
  IntegerPower(1.001, 1000000);
  EXPECT_EQ(ResultCode, kOverflow);
}

// Beyond the literal steps the value is where the repeated multiplication
// settles: 0, or the subnormal fixed point it descends to.
TEST(IntegerPower, LongExponentsEndAtTheFixedPointOfTheLiteralProduct) {
  struct Case {
    double x;
    std::int32_t e;
  };
  for (Case c : {Case{0.9, 1000001}, Case{-0.9, 100000001}, Case{0.99, 2000000}, Case{-0.999, 3000001},
                 Case{0.75, 70000}, Case{-0.6, 70001}, Case{0.5, 70000}}) {
    double literal = 1;
    for (std::int32_t i = 0; i < c.e; ++i) {
      literal *= c.x;
      if (literal == 0 || std::fabs(literal * c.x) == std::fabs(literal)) {
        literal = (c.e - i - 1) % 2 && c.x < 0 ? -literal : literal;
        break;
      }
    }
    const double v = IntegerPower(c.x, c.e);
    EXPECT_EQ(ResultCode, kNoError);
    EXPECT_TRUE(v == literal && std::signbit(v) == std::signbit(literal)) << c.x << "^" << c.e << ": " << v;
  }
  EXPECT_EQ(FormatNumber(IntegerPower(0.9, 1000001)).view(), "2.47032822920623E-323");
  IntegerPower(0.5, -70000);  // 1 over a power that has reached 0
  EXPECT_EQ(ResultCode, kDivisionByZero);
}

// Many powers side by side give each one's own value and code, in the widest
// and in the plain vector instructions.
TEST(IntegerPower, SideBySideAsOneByOne) {
  std::vector<double> x;
  std::vector<std::int32_t> e;
  for (int k = 1; k <= 300; ++k) {
    x.push_back(1 + 1.0 / k);
    e.push_back(k * 37);
    x.push_back(k % 3 ? -1.0 / k : 1e10 / k);
    e.push_back(k % 7 ? k : -k);
    x.push_back(1.01);
    e.push_back(71000 + k);  // near the limit, some beyond the literal steps
  }
  for (Vectors vectors : {Vectors::kWidest, Vectors::kPlain}) {
    std::vector<double> value(x.size());
    std::vector<std::int32_t> code(x.size());
    IntegerPowers(static_cast<int>(x.size()), x.data(), e.data(), value.data(), code.data(), vectors);
    for (std::size_t i = 0; i < x.size(); ++i) {
      const Result one = IntegerPowerOf(x[i], e[i]);
      EXPECT_TRUE(one.code == code[i] && (one.code != 0 || std::memcmp(&one.value, &value[i], sizeof(double)) == 0))
          << x[i] << "^" << e[i];
    }
  }
}

// The fast way gives the careful value everywhere it decides.
TEST(ExpLogPower, FastSameAsCareful) {
  std::uint64_t seed = 1;
  auto next = [&] {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    return static_cast<double>(seed >> 11) * 0x1p-53;
  };
  for (int i = 0; i < 20000; ++i) {
    const double a = i % 2 ? std::floor(1 + next() * 65535) : std::exp((next() - 0.5) * 200);
    const double b = i % 4 < 2 ? (next() - 0.5) * 8 : 1 / std::floor(1 + next() * 65535);
    const double fast = ExpLogPower(a, b);
    const double careful = CarefulExpLogPower(a, b);
    ASSERT_EQ(std::memcmp(&fast, &careful, sizeof(double)), 0) << a << "^" << b;
  }
}

TEST(ExpLogPower, CorrectlyRoundedOnKnownValues) {
  EXPECT_EQ(ExpLogPower(2, 0.5), std::sqrt(2.0));
  EXPECT_EQ(ExpLogPower(9, 0.5), 3);
  EXPECT_EQ(ExpLogPower(8, 1.0 / 3), 2);
  EXPECT_EQ(ExpLogPower(10, 0.3010299956639812), 2.0000000000000000);
  EXPECT_EQ(ExpLogPower(std::exp(1.0), 2.5), 12.182493960703471);
  EXPECT_TRUE(std::isinf(ExpLogPower(10, 308.5)));
  EXPECT_EQ(ExpLogPower(10, -400.5), 0);
  // Bases next to 1 and large exponents: the rounding inside the logarithm,
  // times b, is what decides the last bit.
  EXPECT_EQ(ExpLogPower(0x1.002b91f854dc2p+0, -0x1.a2fe6eed07c74p+16), 0x1.1cd64511af0bp-103);
  EXPECT_EQ(ExpLogPower(0x1.ff91fae7f60f5p-1, 0x1.cff27d3affd5ap+18), 0x1.5c88139883711p-576);
  EXPECT_EQ(ExpLogPower(0x1.ffa10f1778be5p-1, -0x1.2cbea373b3f3dp+19), 0x1.d6a000250aeap+643);
}

}  // namespace

// The engine's text evaluation against the plain one, on random texts of every
// length up to 255: groups in and out of order, signs that do and do not split,
// exponent forms, long chains and deep nesting, and texts cut in the middle.
TEST(Evaluate, EqualsThePlainEvaluationOnRandomTexts) {
  std::mt19937 rng(11);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  static const char* const kPieces[] = {
      "1", "2", "3", "0",     "7.5",   "0.1",   "1E3",     "2e-3", "1E308", "170", "(", ")",  "+",  "-", "*",
      "/", "^", "!", "(1/3)", "(0-2)", "12345", "(2^0.5)", "1e-7", ".",     "x",   " ", "((", "))", "E", "9.99999"};
  const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  int texts = 0;
  while (std::chrono::steady_clock::now() < stop) {
    std::string t;
    const int length = 1 + pick(pick(4) ? 60 : 300);
    const int style = pick(3);
    while (static_cast<int>(t.size()) < length) {
      if (style == 0) {
        t += kPieces[pick(std::size(kPieces))];
      } else {  // operands and operators by turns, with groups
        if (pick(4) == 0) t += '(';
        t += kPieces[pick(10)];
        if (pick(4) == 0) t += ')';
        t += "+-*/^!"[pick(6)];
      }
    }
    const ShortString text(t);
    const double v = Evaluate(text);
    const Result plain = ReferenceEvaluate(text);
    ++texts;
    ASSERT_EQ(ResultCode, plain.code) << t;
    ASSERT_EQ(BitCast<std::uint64_t>(v), BitCast<std::uint64_t>(plain.value)) << t;
  }
  EXPECT_GT(texts, 1000);
}
