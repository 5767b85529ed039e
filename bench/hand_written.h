// The benchmark formulas, each with the same arithmetic written by hand in C++:
// the same operations in the same order, the same checks and codes, and a group's
// value rounded to its number text where that text does not show it exactly.
#pragma once

#include <cstdint>

#include "engine/result.h"

using HandQuantity = Result (*)(std::uint16_t n);

struct BenchFormula {
  const char* text;
  bool groups;           // the formula has parenthesised groups
  HandQuantity term;     // a_n
  HandQuantity sum;      // S_n
  HandQuantity product;  // P_n
};

extern const BenchFormula kBenchFormulas[];
extern const int kBenchFormulaCount;
