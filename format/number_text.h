// The text of a computed number (as shown in the result boxes and written back
// into formulas) and of an integer.
#pragma once

#include <cstdint>

#include "format/short_string.h"

// Fixed notation with up to 17 significant digits; a short scientific form with
// 15 digits for tiny values and from 16 characters before the point; a long
// scientific form with 17 digits from 1e36 on. Works on the exact binary value,
// rounding half up.
ShortString FormatNumber(double value);

// The same from the exact decimal expansion of the value, always (the reference).
ShortString ExactNumberText(double value);

// 10^e for e from 0 to 22: the powers of ten a double holds exactly.
inline constexpr double kExactPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Decimal digits of the value, with "-" when negative.
ShortString IntText(std::int32_t value);
