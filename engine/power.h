// The power operator: integer exponents by repeated multiplication with the
// overflow limit, other exponents as e^(b ln a) computed in double-double
// arithmetic, so that every platform gives the same bits.
#pragma once

#include <cstdint>

struct PowerResult {
  double value = 0;
  std::int32_t code = 0;  // a result code; the value is used only when it is 0
};

// x^e as x multiplied e times, stopping with code 4 when the running product
// would reach 1e308; a negative exponent divides 1 by the power (code 1 when
// that power is 0); 0 to a negative exponent is code 1.
PowerResult RepeatedPower(double x, std::int32_t e);

// a^b for the "^" operator.
PowerResult Power(double a, double b);

// e^(b ln a) for a > 0, correctly rounded but for the rarest ties; may be an
// infinity when the result is beyond the range of a double.
double ExpLogPower(double a, double b);
