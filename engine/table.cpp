#include "engine/table.h"

#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/prepared.h"
#include "engine/sequence.h"

// Each term is evaluated once. Once S or P has stopped with a code, every later
// row shows that code, as the sum or product up to any later k stops at the same
// place.
void ComputeTable(const ShortString& formula, std::uint16_t n, const std::function<void(const TableRow&)>& emit) {
  TableRow row;
  row.p = 1;
  if (n == 0) return;
  PreparedFormula prepared = PrepareFormula(formula);
  LoadResultTexts();
  PreparedTerms(prepared, 1, n, [&](std::uint16_t k, TermResult term) {
    row.k = k;
    row.a = term.value;
    row.a_code = term.code;
    if (row.s_code == kNoError) {
      if (row.a_code != kNoError)
        row.s_code = row.a_code;
      else if (!AddTerm(&row.s, row.a))
        row.s_code = kOverflow;
    }
    if (row.p_code == kNoError) {
      if (row.a_code != kNoError)
        row.p_code = row.a_code;
      else if (!MultiplyTerm(&row.p, row.a))
        row.p_code = kOverflow;
    }
    emit(row);
  });
}
