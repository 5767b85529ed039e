// The sequence quantities a_n, S_n and P_n of a checked formula, and the engine's
// start-up.
#pragma once

#include <cstdint>

#include "engine/evaluate.h"
#include "engine/result.h"
#include "engine/term_text.h"
#include "format/short_string.h"

// a_n, S_n and P_n, each leaving ResultCode. The formula is prepared once per
// call and every term is computed from the prepared form, with exactly the value
// and code of the text evaluation of its term text.
double TermValue(const ShortString& formula, std::uint16_t n);
double PartialSum(const ShortString& formula, std::uint16_t n);
double PartialProduct(const ShortString& formula, std::uint16_t n);

// The same, evaluating every term text anew (the reference).
double TextTermValue(const ShortString& formula, std::uint16_t n);
double TextPartialSum(const ShortString& formula, std::uint16_t n);
double TextPartialProduct(const ShortString& formula, std::uint16_t n);

// The quantities of one term request, in one pass over the terms: each one has
// exactly the value and code that its own call above gives, called in the
// order a_n, S_n, P_n for the wanted ones (for n = 0, S and P take the code the
// call before them left in ResultCode, as their own calls do). ResultCode is
// left as those calls would leave it.
enum : unsigned { kWantTerm = 1, kWantSum = 2, kWantProduct = 4 };
struct Quantities {
  Result term;
  Result sum{0, kNoError};
  Result product{1, kNoError};
};
Quantities ComputeQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted);

// Fixes the decimal point of number texts and loads the result texts of the
// current language (Catalan unless a caller has chosen another).
void EngineStartup();
