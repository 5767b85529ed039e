#include "tests/engine/text_quantities.h"

#include "engine/fold.h"
#include "engine/term_text.h"

Quantities TextQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted) {
  Quantities q;
  if (wanted & kWantTerm) q.term = TextTerm(formula, n);
  const Fold fold = FoldTerms(n, wanted, 1, [&](int k0, int, TermBlock* out) {
    const Result t = TextTerm(formula, static_cast<std::uint16_t>(k0));
    out->value[0] = t.value;
    out->code[0] = t.code;
  });
  q.sum = fold.sum;
  q.product = fold.product;
  return q;
}

Result TextTermValue(const ShortString& formula, std::uint16_t n) { return TextQuantities(formula, n, kWantTerm).term; }

Result TextPartialSum(const ShortString& formula, std::uint16_t n, std::int32_t code_before) {
  if (n == 0) return {0, code_before};
  return TextQuantities(formula, n, kWantSum).sum;
}

Result TextPartialProduct(const ShortString& formula, std::uint16_t n, std::int32_t code_before) {
  if (n == 0) return {1, code_before};
  return TextQuantities(formula, n, kWantProduct).product;
}
