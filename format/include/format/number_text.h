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

// The same from the exact decimal expansion of the value, always: the way
// FormatNumber takes for the values its quicker way leaves, and what that way is
// checked against.
ShortString ExactNumberText(double value);

// Decimal digits of the value, with "-" when negative.
ShortString IntText(std::int32_t value);
