// The sequence quantities a_n, S_n and P_n of a checked formula, and the engine's
// start-up.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/evaluate.h"
#include "format/short_string.h"

// Replaces every occurrence of the letter (either case) by the replacement text;
// a replacement that begins with "-" is put in parentheses.
ShortString SubstituteVariable(char letter, const ShortString& replacement, const ShortString& text);

// The text of term k: the formula with the digits of k in place of n.
ShortString TermText(const ShortString& formula, std::uint16_t k);

// One step of S_n: adds v unless the sum would leave [-1e308, 1e308].
inline bool AddTerm(double* sum, double v) {
  if (*sum > kOverflowLimit - v || *sum < -kOverflowLimit - v) return false;
  *sum += v;
  return true;
}

// One step of P_n: multiplies by v unless the product's magnitude would pass 1e308.
inline bool MultiplyTerm(double* product, double v) {
  if (v != 0 && std::fabs(*product) > kOverflowLimit / std::fabs(v)) return false;
  *product *= v;
  return true;
}

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

// Fixes the decimal point of number texts and loads the result texts of the
// current language (Catalan unless a caller has chosen another).
void EngineStartup();
