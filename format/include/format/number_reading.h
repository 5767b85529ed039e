// Reading a number text back: the evaluator reads its leaves with it, and every
// text FormatNumber writes reads back through it.
#pragma once

#include <string_view>

// Reads a whole text as a decimal number (leading blanks and tabs skipped, an
// optional sign, digits with an optional point, an optional exponent of "E" or
// "e", an optional sign and digits), correctly rounded. False when the text is
// not such a number. A number beyond the range of a double sets *overflow and
// reads as 0; one below it reads as 0.
bool ReadNumber(std::string_view text, double* value, bool* overflow);
