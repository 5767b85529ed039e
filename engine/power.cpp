// The "^" operator: how it reads its exponent and which power it takes.
//
// Method and special cases:
// - b = 0: 1, also for a = 0.
// - |b| equal to |b| rounded to the nearest integer (ties to even): the integer
//   power (integer_power.cpp, or the block's notes); a magnitude that rounds to
//   2^31 or more cannot be such an integer and is a fault, code 1.
// - Any other b: e^(b ln a) (exp_log_power.cpp).
#include "engine/power.h"

#include <cmath>

#include "engine/arithmetic.h"
#include "engine/exp_log_power.h"
#include "engine/integer_power.h"
#include "engine/power_notes.h"

Exponent ReadExponent(double b, std::int32_t* e) {
  if (b == 0) return Exponent::kZero;
  const double magnitude = std::fabs(b);
  if (magnitude >= 2147483648.0) return Exponent::kFault;
  const double rounded = NearestInteger(magnitude);
  if (rounded >= 2147483648.0) return Exponent::kFault;
  if (magnitude != rounded) return Exponent::kFraction;
  const std::int32_t whole = static_cast<std::int32_t>(rounded);
  *e = b < 0 ? -whole : whole;
  return Exponent::kInteger;
}

Result Power(double a, double b) { return Power(a, b, nullptr); }

Result Power(double a, double b, PowerNotes* notes) {
  std::int32_t e = 0;
  switch (ReadExponent(b, &e)) {
    case Exponent::kZero:
      return {1, kNoError};
    case Exponent::kFault:
      return {0, kDivisionByZero};
    case Exponent::kInteger:
      return notes ? notes->IntegerPower(a, e) : IntegerPowerOf(a, e);
    default:
      return FractionPower(a, b);
  }
}
