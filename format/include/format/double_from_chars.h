// A decimal number text read as the nearest double, as std::from_chars reads a
// double; for the standard libraries that lack it (emscripten's). Plain integer
// arithmetic, so every platform reads the same bits.
#pragma once

#include <charconv>

// Reads the longest decimal number at the start of [first, last): an optional
// "-", digits with an optional point (at least one digit), and an optional
// exponent of "e" or "E", an optional sign and digits. The value is the double
// nearest to the number, the even one of two equally near. As std::from_chars
// does with std::chars_format::general: without a number the result is
// std::errc::invalid_argument and ptr is first; a number beyond the range of a
// double, or so small that it rounds to 0, gives std::errc::result_out_of_range
// with ptr past the number; in both cases value is left as it was. "inf", "nan"
// and hexadecimal texts are not read.
std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value);
