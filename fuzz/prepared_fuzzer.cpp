// Arbitrary bytes (up to 255) as a text must evaluate as the plain evaluation of
// the tests does it. As a formula, checked or not: the prepared terms
// and quantities, and one request for all three, must equal the text
// evaluation's, value bit for bit and code. The first sixteen bytes read as two
// doubles a and b also give a^b both the fast and the careful way, which must
// agree (for a positive a and a b that is not an integer), and integer powers of
// bases and exponents made from a and b side by side, in the widest and in the
// plain vector instructions, each as IntegerPowerOf gives it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/dialog_state.h"
#include "engine/evaluate.h"
#include "engine/exp_log_power.h"
#include "engine/integer_power.h"
#include "engine/power_chains.h"
#include "engine/prepared.h"
#include "engine/sequence.h"
#include "engine/term_text.h"
#include "format/bit_cast.h"
#include "tests/engine/reference_evaluate.h"
#include "tests/engine/text_quantities.h"

namespace {

bool Same(double a, double b) { return BitCast<std::uint64_t>(a) == BitCast<std::uint64_t>(b); }

[[noreturn]] void Differ(const ShortString& formula, const char* what, unsigned k) {
  std::fprintf(stderr, "differ: %s at %u of \"%s\"\n", what, k, formula.c_str());
  __builtin_trap();
}

// Lanes enough for the long products to run in vectors: bases a, -a/2, a/3, ...
// and exponents up to 10000 either way taken from the bits of b.
void CheckPowersSideBySide(double a, double b) {
  constexpr int kCount = 40;
  double x[kCount];
  std::int32_t e[kCount];
  Result one[kCount];
  std::uint64_t bits = 0;
  std::memcpy(&bits, &b, sizeof bits);
  for (int l = 0; l < kCount; ++l) {
    x[l] = (l % 2 ? -a : a) / (1 + l);
    e[l] = static_cast<std::int32_t>((bits >> l) % 20001) - 10000;
    one[l] = IntegerPowerOf(x[l], e[l]);
  }
  for (Vectors vectors : {Vectors::kWidest, Vectors::kPlain}) {
    double value[kCount];
    std::int32_t code[kCount];
    IntegerPowers(kCount, x, e, value, code, vectors);
    for (int l = 0; l < kCount; ++l) {
      if (one[l].code != code[l] || (code[l] == 0 && !Same(one[l].value, value[l]))) {
        std::fprintf(stderr, "powers side by side differ: %a ^ %d\n", x[l], e[l]);
        __builtin_trap();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > ShortString::kCapacity) return 0;
  ShortString formula(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size >= 16) {
    double a = 0;
    double b = 0;
    std::memcpy(&a, data, sizeof a);
    std::memcpy(&b, data + 8, sizeof b);
    // As "^" meets them: a positive base, an exponent that is not an integer.
    if (a > 0 && std::isfinite(a) && std::fabs(b) < 0x1p52 && b != std::nearbyint(b)) {
      const double fast = ExpLogPower(a, b);
      const double careful = CarefulExpLogPower(a, b);
      if (!Same(fast, careful)) {
        std::fprintf(stderr, "fast and careful powers differ: %a ^ %a\n", a, b);
        __builtin_trap();
      }
    }
    if (std::isfinite(a)) CheckPowersSideBySide(a, b);
  }

  for (std::uint16_t k : {0, 7, 65535}) {
    const ShortString text = k == 0 ? formula : TermText(formula, k);
    const Result quick = EvaluateText(text.view());
    const Result plain = ReferenceEvaluate(text);
    if (!Same(quick.value, plain.value) || quick.code != plain.code) Differ(formula, "text evaluation", k);
  }

  PreparedFormula prepared = PrepareFormula(formula);
  for (std::uint16_t k : {0, 1, 2, 3, 9, 10, 11, 99, 100, 170, 171, 1000, 9999, 10000, 65535}) {
    Result fast = PreparedTerm(prepared, k);
    Result text = TextTerm(formula, k);
    if (!Same(fast.value, text.value) || fast.code != text.code) Differ(formula, "term", k);
  }
  const std::uint16_t n = 70;  // more than one block of terms
  double s = PartialSum(formula, n);
  const std::int32_t s_code = ResultCode;
  const Result text_s = TextPartialSum(formula, n, kNoError);
  if (!Same(s, text_s.value) || s_code != text_s.code) Differ(formula, "S", n);
  double p = PartialProduct(formula, n);
  const std::int32_t code = ResultCode;
  const Result text_p = TextPartialProduct(formula, n, kNoError);
  if (!Same(p, text_p.value) || code != text_p.code) Differ(formula, "P", n);
  const Quantities q = ComputeQuantities(formula, n, kWantTerm | kWantSum | kWantProduct, kNoError);
  const Result a = PreparedTerm(prepared, n);
  if (q.term.code != a.code || (a.code == 0 && !Same(q.term.value, a.value))) Differ(formula, "request a", n);
  if (q.sum.code != s_code || (s_code == 0 && !Same(q.sum.value, s))) Differ(formula, "request S", n);
  if (q.product.code != code || (code == 0 && !Same(q.product.value, p))) Differ(formula, "request P", n);
  return 0;
}
