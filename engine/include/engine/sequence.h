// The sequence quantities a_n, S_n and P_n of a checked formula.
#pragma once

#include <cstdint>

#include "engine/result.h"
#include "format/short_string.h"

struct Quantities {
  Result term;
  Result sum{0, kNoError};
  Result product{1, kNoError};
};

// The wanted quantities of one term request, in one pass over the terms. The
// formula is prepared once and every term is computed from the prepared form,
// with exactly the value and code of the text evaluation of its term text. For
// n = 0 no term is summed or multiplied: S_0 is 0 and P_0 is 1, each with the
// code of the quantity wanted before it (a_0's, or code_before when there is
// none), as computing them one after the other leaves it.
Quantities ComputeQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted, std::int32_t code_before);
