// Many integer powers side by side, each with exactly the value and code
// IntegerPowerOf gives it.
#pragma once

#include <cstdint>

// The vector instructions the long products run in: the widest the processor
// has (chosen once, at start) or the plain ones every build can run. Every
// product is one IEEE multiplication either way, so both give the same bits.
enum class Vectors : std::uint8_t { kWidest, kPlain };

// value[l], code[l] = IntegerPowerOf(x[l], e[l]) for count independent pairs, bit for bit.
void IntegerPowers(int count, const double* x, const std::int32_t* e, double* value, std::int32_t* code,
                   Vectors vectors = Vectors::kWidest);

// The same with one exponent for all, count at most 64.
void ConstantIntegerPowers(int count, const double* x, std::int32_t e, double* value, std::int32_t* code);
