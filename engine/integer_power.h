// x^e for an integer e: the repeated multiplication x x x x ... x, every factor
// rounded, stopping with code 4 before the running product's magnitude would
// reach 1e308; and the steps of it that the powers side by side and the running
// powers of a prepared formula share.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/result.h"

// Exponents up to this many factors are multiplied out literally; longer ones
// (beyond what any term's own index can give) cost a bounded number of steps.
constexpr std::uint32_t kLiteralPowerSteps = 65536;

// The number of factors of x^e: |e|, also for the most negative e.
inline std::uint32_t FactorCount(std::int32_t e) {
  return e < 0 ? 0u - static_cast<std::uint32_t>(e) : static_cast<std::uint32_t>(e);
}

// The running product's limit for base x: the product r may take another factor
// x only while |r| < kOverflowLimit / |x|.
inline double PowerLimit(double x) { return kOverflowLimit / std::fabs(x); }

// One factor of the repeated multiplication: false (code 4) when the limit stops it.
inline bool PowerStep(double* r, double x, double limit) {
  if (std::fabs(*r) >= limit) return false;
  *r *= x;
  return true;
}

// 0^e for an integer e: 0, code 1 when e < 0 (0 also for e = 0; "^" gives 1
// for a zero exponent before it comes here).
inline Result ZeroPower(std::int32_t e) { return {0, e < 0 ? kDivisionByZero : kNoError}; }

// x^e for an integer e given |x|^|e| with its sign: for a negative exponent
// 1 divided by the power, code 1 when that power is 0 or the quotient overflows.
inline Result FinishPower(double power, bool negative_exponent) {
  if (!negative_exponent) return {power, kNoError};
  if (power == 0) return {0, kDivisionByZero};
  const double q = 1 / power;
  if (std::isinf(q)) return {0, kDivisionByZero};
  return {q, kNoError};
}

// x^e: 0 for x = 0 (code 1 when e < 0), 1 for e = 0, else the repeated
// multiplication. Its value stops changing once the product reaches 0 or a
// fixed point (in the subnormal range, where x times the product rounds back to
// the product); exponents beyond kLiteralPowerSteps give that fixed point
// exactly, and otherwise the exact power rounded (within the roundings of the
// literal product), with code 4 whenever the literal product could reach the limit.
Result IntegerPowerOf(double x, std::int32_t e);
