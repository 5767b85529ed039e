// a^b for an exponent b that is not an integer: e^(b ln a), computed in
// double-double arithmetic so that every platform gives the same bits.
#pragma once

#include <cstdint>

#include "engine/result.h"

// e^(b ln a) for a > 0, correctly rounded but for the rarest ties; may be an
// infinity when the result is beyond the range of a double. A fast
// table-driven computation decides almost every value; the rest take
// CarefulExpLogPower, which defines the value.
double ExpLogPower(double a, double b);
double CarefulExpLogPower(double a, double b);

// a^b: e^(b ln a) for a > 0 (code 1 when it overflows), 0 for a = 0, code 3 for a < 0.
Result FractionPower(double a, double b);

// The same for count pairs side by side: value[l], code[l] = FractionPower(a[l], b[l]).
void FractionPowers(int count, const double* a, const double* b, double* value, std::int32_t* code);
