// The table of a_k, S_k and P_k: one fold of the terms, a row handed on as each term is taken.
#include "engine/table.h"

#include "engine/fold.h"
#include "engine/prepared.h"

// Each term is evaluated once. Once S or P has stopped with a code, every later
// row shows that code, as the sum or product up to any later k stops at the same
// place.
void ComputeTable(const ShortString& formula, std::uint16_t n, const std::function<void(const TableRow&)>& emit) {
  if (n == 0) return;
  const PreparedFormula prepared = PrepareFormula(formula);
  TermRun run(prepared);
  const std::function<void(std::uint16_t, Result, const Fold&)> each = [&](std::uint16_t k, Result term,
                                                                           const Fold& fold) {
    TableRow row;
    row.k = k;
    row.a = term.value;
    row.a_code = term.code;
    row.s = fold.sum.value;
    row.s_code = fold.sum.code;
    row.p = fold.product.value;
    row.p_code = fold.product.code;
    emit(row);
  };
  FoldTerms(
      n, kWantSum | kWantProduct, TermBlock::kSize,
      [&](int k0, int count, TermBlock* out) { run.Terms(k0, count, out); }, &each);
}
