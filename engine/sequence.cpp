// a_n, S_n and P_n from one prepared formula: one fold of the terms, a_n taken from it when it gets that far.
#include "engine/sequence.h"

#include "engine/fold.h"
#include "engine/prepared.h"

Quantities ComputeQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted, std::int32_t code_before) {
  Quantities q;
  const PreparedFormula prepared = PrepareFormula(formula);
  const unsigned want = wanted & (kWantSum | kWantProduct);
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
  if (n == 0) {
    std::int32_t last = wanted & kWantTerm ? q.term.code : code_before;
    if (wanted & kWantSum) q.sum.code = last;
    last = wanted & kWantSum ? q.sum.code : last;
    if (wanted & kWantProduct) q.product.code = last;
  }
  return q;
}
