// The one loop that folds terms 1 to n, block by block, into S_n and P_n, or shows each term as it is taken.
#include "engine/fold.h"

#include <algorithm>

Fold FoldTerms(std::uint16_t n, unsigned want, int block_size, const TermSource& source,
               const std::function<void(std::uint16_t k, Result term, const Fold& fold)>* each) {
  Fold fold;
  fold.with_sum = (want & kWantSum) != 0;
  fold.with_product = (want & kWantProduct) != 0;
  TermBlock block;
  for (int k0 = 1; k0 <= n; k0 += block_size) {
    if (!each && fold.Stopped()) break;
    const int count = std::min(block_size, n - k0 + 1);
    source(k0, count, &block);
    if (!each) {
      fold.TakeAll(block.value, block.code, count);
      continue;
    }
    for (int l = 0; l < count; ++l) {
      fold.Take({block.value[l], block.code[l]});
      (*each)(static_cast<std::uint16_t>(k0 + l), {block.value[l], block.code[l]}, fold);
    }
  }
  return fold;
}
