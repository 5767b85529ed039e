// The sequence quantities through the text evaluation of every term text anew:
// the reference that the prepared quantities are checked against.
#pragma once

#include <cstdint>

#include "engine/result.h"
#include "engine/sequence.h"
#include "format/short_string.h"

// The wanted quantities; for n = 0 the codes of S and P are 0.
Quantities TextQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted);

// a_n, S_n and P_n, value and code, as TermValue, PartialSum and PartialProduct
// give them: for n = 0, S_0 is 0 and P_0 is 1 with the code left before the call
// (code_before).
Result TextTermValue(const ShortString& formula, std::uint16_t n);
Result TextPartialSum(const ShortString& formula, std::uint16_t n, std::int32_t code_before);
Result TextPartialProduct(const ShortString& formula, std::uint16_t n, std::int32_t code_before);
