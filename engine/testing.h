// What only the engine's tests and benchmarks call: the references that the
// engine's quicker ways are checked against, and the switch between vector
// instruction sets.
#pragma once

#include <cstdint>

#include "engine/sequence.h"
#include "format/short_string.h"

// The quantities evaluating every term text anew; for n = 0 the codes of S
// and P are 0.
Quantities TextQuantities(const ShortString& formula, std::uint16_t n, unsigned wanted);

// The same leaving the code in ResultCode, as TermValue, PartialSum and PartialProduct do.
double TextTermValue(const ShortString& formula, std::uint16_t n);
double TextPartialSum(const ShortString& formula, std::uint16_t n);
double TextPartialProduct(const ShortString& formula, std::uint16_t n);

// The value a number takes part with once written as its number text and read
// back, through the number text itself.
double NumberTextValueSlow(double value);

// e^(b ln a) for a > 0, correctly rounded but for the rarest ties; may be an
// infinity when the result is beyond the range of a double. A fast
// table-driven computation decides almost every value; the rest take
// CarefulExpLogPower, which defines the value.
double ExpLogPower(double a, double b);
double CarefulExpLogPower(double a, double b);

// IntegerPowers uses the widest vector instructions of the processor (true, the
// default) or the plain ones every build can run.
void UseWidestVectors(bool widest);
