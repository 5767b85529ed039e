// The rules of the formula language that do not depend on how a formula is
// read: where an operator splits, what each operator computes and when it fails.
// The text evaluation and the prepared programs both use these.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/result.h"
#include "format/text.h"

// An operator splits a text only at position 2 or later, where the character
// before it is a digit or "!"; anything else (a leading sign, a sign after an
// operator, the sign of an exponent) is not an operator.
inline bool SplitsAfter(char before) { return IsDigit(before) || before == '!'; }

// The codes of "+", "-", "*" and "/" given their operands and result: a sum,
// difference or quotient beyond the range of a double is an overflow; a
// product beyond it is a fault of the guarded multiplication.
inline std::int32_t SumCode(double r) { return std::isinf(r) ? kOverflow : kNoError; }
inline std::int32_t ProductCode(double r) { return std::isinf(r) ? kDivisionByZero : kNoError; }
inline std::int32_t QuotientCode(double b, double r) {
  return b == 0 ? kDivisionByZero : std::isinf(r) ? kOverflow : kNoError;
}

// x rounded to the nearest integer, ties to even, for |x| below 2^51 (the
// rounding of exponents and factorial arguments; the same bits as the
// floating-point default rounding, without a library call).
inline double NearestInteger(double x) {
  const double shift = 0x1.8p52;
  return (x + shift) - shift;
}

// m! for m from 0 to 170: 1 for 0, else 2 x 3 x ... x m accumulated in a double.
double FactorialValue(int m);

// a! for the "!" operator: code 2 below 0 or above 170, otherwise the factorial
// of a rounded to the nearest integer, ties to even (2.5! is 2!, 3.5! is 4!).
inline Result FactorialOf(double a) {
  if (a < 0 || a > kMaxFactorial) return {0, kFactorialRange};
  return {FactorialValue(static_cast<int>(NearestInteger(a))), kNoError};
}
