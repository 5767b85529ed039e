// The power operator "^": how it reads its exponent and which power it takes.
// An integer exponent gives the repeated multiplication (integer_power.h),
// other exponents e^(b ln a) (exp_log_power.h).
#pragma once

#include <cstdint>

#include "engine/result.h"

class PowerNotes;

// How "^" reads its exponent b: 0, an integer (|b| equal to |b| rounded to the
// nearest integer, ties to even), a magnitude that rounds to 2^31 or more (a
// fault: code 1), or anything else.
enum class Exponent : std::uint8_t { kZero, kInteger, kFault, kFraction };
Exponent ReadExponent(double b, std::int32_t* e);

// a^b for the "^" operator; with notes, an integer exponent goes through them.
Result Power(double a, double b);
Result Power(double a, double b, PowerNotes* notes);
