// Random formulas that pass the check, each term computed both ways: the prepared
// form must give the text evaluation's value to the bit and its code.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "engine/check.h"
#include "engine/dialog_state.h"
#include "engine/prepared.h"
#include "engine/sequence.h"
#include "engine/term_text.h"
#include "tests/engine/text_quantities.h"
#include "tests/prepared/same_result.h"

namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int count) { return static_cast<int>(rng() % static_cast<unsigned>(count)); }

// Numbers as people write them, and as number texts look: points at either end,
// exponents with and without sign, values near the limits.
std::string Number(Rng& rng) {
  static const char* const kNumbers[] = {"0",      "1",     "2",         "3",      "5",     "10",    "0.5",   ".5",
                                         "5.",     "2.5",   "1e-5",      "2.5E3",  "1E+20", "1e300", "6E307", "1E400",
                                         "1e-320", "170",   "170.4",     "171",    "0.1",   "1E15",  "1e36",  "1.5e-7",
                                         "7",      "0.001", "12345.678", "1e-310", "1E308", "3."};
  return kNumbers[Pick(rng, std::size(kNumbers))];
}

std::string Operand(Rng& rng) {
  switch (Pick(rng, 10)) {
    case 0:
    case 1:
    case 2:
    case 3:
      return Pick(rng, 5) ? "n" : "N";
    case 4:
      return std::string(1, "xyzEeab"[Pick(rng, 7)]);
    case 5:  // an exponent made of n
      return Pick(rng, 2) ? std::string("ne") += static_cast<char>('0' + Pick(rng, 4)) : "1e-n";
    default:
      return Number(rng);
  }
}

// Appends a random expression; built by appending only (no temporaries joined
// with "+", which some compilers warn about).
void Expression(Rng& rng, int depth, std::string* out) {
  if (depth <= 0) {
    *out += Operand(rng);
    return;
  }
  switch (Pick(rng, 9)) {
    case 0:
      *out += Operand(rng);
      break;
    case 1:
      *out += '-';
      Expression(rng, depth - 1, out);
      break;
    case 2:
      Expression(rng, depth - 1, out);
      *out += '!';
      break;
    case 3:
    case 4:
      *out += '(';
      Expression(rng, depth - 1, out);
      *out += ')';
      break;
    default:
      Expression(rng, depth - 1, out);
      *out += "+-*/^!"[Pick(rng, 6)];
      Expression(rng, depth - 1, out);
      break;
  }
}

// Character soup over the formula alphabet: odd neighbours the grammar never makes.
std::string Soup(Rng& rng) {
  static const char kAlphabet[] = "nn()+-*/^!.0123456789eEx";
  std::string s;
  int length = 1 + Pick(rng, 16);
  for (int i = 0; i < length; ++i) s += kAlphabet[Pick(rng, sizeof kAlphabet - 1)];
  return s;
}

std::uint16_t RandomIndex(Rng& rng) {
  static const std::uint16_t kEdges[] = {1, 2, 9, 10, 99, 100, 170, 171, 999, 1000, 9999, 10000, 65535};
  switch (Pick(rng, 3)) {
    case 0:
      return kEdges[Pick(rng, std::size(kEdges))];
    case 1:
      return static_cast<std::uint16_t>(1 + Pick(rng, 30));
    default:
      return static_cast<std::uint16_t>(1 + Pick(rng, 65535));
  }
}

TEST(RandomFormulas, PreparedTermsEqualTheText) {
  Rng rng(5);
  const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  int formulas = 0;
  int terms = 0;
  while (std::chrono::steady_clock::now() < stop) {
    std::string f;
    switch (Pick(rng, 8)) {
      case 0:
        f = Soup(rng);
        break;
      case 1:  // long texts, near the 255 characters that term texts are cut at
        while (f.size() < 150) {
          if (!f.empty()) f += "+-*/"[Pick(rng, 4)];
          f += '(';
          Expression(rng, 1 + Pick(rng, 3), &f);
          f += ')';
        }
        break;
      default:
        Expression(rng, 1 + Pick(rng, 5), &f);
        break;
    }
    if (f.size() > ShortString::kCapacity) continue;
    CheckMessage message;
    if (!CheckFormula(f, kCatalan, &message)) continue;
    ++formulas;
    PreparedFormula prepared = PrepareFormula(f);
    for (int i = 0; i < 12; ++i) {
      std::uint16_t k = RandomIndex(rng);
      Result fast = PreparedTerm(prepared, k);
      Result text = TextTerm(f, k);
      ++terms;
      ASSERT_TRUE(SameBits(fast.value, text.value) && fast.code == text.code)
          << f << " at k=" << k << ": prepared " << Shown(fast.value, fast.code) << ", text "
          << Shown(text.value, text.code);
    }
    // The quantities too, over a short run.
    std::uint16_t n = static_cast<std::uint16_t>(1 + Pick(rng, 40));
    double s = PartialSum(f, n);
    const Result text_s = TextPartialSum(f, n, kNoError);
    ASSERT_TRUE(SameBits(s, text_s.value) && ResultCode == text_s.code) << f << " S_" << n;
    double p = PartialProduct(f, n);
    const Result text_p = TextPartialProduct(f, n, kNoError);
    ASSERT_TRUE(SameBits(p, text_p.value) && ResultCode == text_p.code) << f << " P_" << n;
  }
  EXPECT_GT(formulas, 100);
  std::printf("%d formulas, %d terms compared\n", formulas, terms);
}

}  // namespace
