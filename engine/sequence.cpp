#include "engine/sequence.h"

#include "engine/fold.h"
#include "engine/messages.h"
#include "engine/prepared.h"

namespace {

// The terms of a prepared formula, or of the text evaluation, as a fold takes them.
Fold PreparedFold(const PreparedFormula& prepared, std::uint16_t n, unsigned want) {
  TermRun run(prepared);
  return FoldTerms(n, want, TermBlock::kSize, [&](int k0, int count, TermBlock* out) { run.Terms(k0, count, out); });
}

Fold TextFold(const ShortString& formula, std::uint16_t n, unsigned want) {
  return FoldTerms(n, want, 1, [&](int k0, int, TermBlock* out) {
    const Result t = TextTerm(formula, static_cast<std::uint16_t>(k0));
    out->value[0] = t.value;
    out->code[0] = t.code;
  });
}

// The result as the callers read it: the value, the code in ResultCode and the
// result texts of the language.
double Leave(Result r) {
  LoadResultTexts();
  ResultCode = r.code;
  return r.value;
}

}  // namespace

double TextTermValue(const ShortString& formula, std::uint16_t n) { return Evaluate(TermText(formula, n)); }

// With n = 0 nothing is evaluated and ResultCode keeps its value.
double TextPartialSum(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 0;
  return Leave(TextFold(formula, n, kFoldSum).sum);
}

double TextPartialProduct(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 1;
  return Leave(TextFold(formula, n, kFoldProduct).product);
}

double TermValue(const ShortString& formula, std::uint16_t n) {
  return Leave(PreparedTerm(PrepareFormula(formula), n));
}

double PartialSum(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 0;
  return Leave(PreparedFold(PrepareFormula(formula), n, kFoldSum).sum);
}

double PartialProduct(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 1;
  return Leave(PreparedFold(PrepareFormula(formula), n, kFoldProduct).product);
}

Quantities ComputeQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted) {
  Quantities q;
  const PreparedFormula prepared = PrepareFormula(formula);
  LoadResultTexts();
  std::int32_t last = ResultCode;  // the code the call before leaves
  const unsigned want = (wanted & kWantSum ? kFoldSum : 0u) | (wanted & kWantProduct ? kFoldProduct : 0u);
  if (n > 0 && want != 0) {
    // Term n is the fold's last term when the fold gets that far.
    bool term_seen = false;
    TermRun run(prepared);
    const Fold fold = FoldTerms(n, want, TermBlock::kSize, [&](int k0, int count, TermBlock* out) {
      run.Terms(k0, count, out);
      if (k0 + count - 1 == n) {
        q.term = {out->value[count - 1], out->code[count - 1]};
        term_seen = true;
      }
    });
    q.sum = fold.sum;
    q.product = fold.product;
    if ((wanted & kWantTerm) && !term_seen) q.term = PreparedTerm(prepared, n);
  } else if (wanted & kWantTerm) {
    q.term = PreparedTerm(prepared, n);
  }
  if (wanted & kWantTerm) last = q.term.code;
  if (wanted & kWantSum) {
    if (n == 0) q.sum.code = last;
    last = q.sum.code;
  }
  if (wanted & kWantProduct) {
    if (n == 0) q.product.code = last;
    last = q.product.code;
  }
  ResultCode = last;
  return q;
}

// Number texts always use "." as the decimal point, so only the result texts
// need loading here.
void EngineStartup() { LoadResultTexts(); }
