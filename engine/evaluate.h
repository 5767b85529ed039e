// The text evaluator: groups are evaluated and written back as number texts, then
// the text is split at one operator and both sides are evaluated recursively.
#pragma once

#include <cstdint>

#include "format/short_string.h"

// Result codes left by the evaluator and the sequence quantities.
enum : std::int32_t {
  kNoError = 0,
  kDivisionByZero = 1,  // also every arithmetic fault caught by a guard
  kFactorialRange = 2,
  kNegativeBase = 3,
  kOverflow = 4,
};

// The code of the last evaluation; a value is used only when it is 0.
extern std::int32_t ResultCode;

constexpr double kOverflowLimit = 1e308;  // powers, sums and products stop before this
constexpr int kMaxFactorial = 170;        // 171! is beyond a double

// "+", "-", "*", "/", "^", "!": the order in which a place to split is looked for,
// from the loosest binding to the tightest.
inline constexpr char Operators[6] = {'+', '-', '*', '/', '^', '!'};

struct Group {
  int open = 0;   // 1-based position of "(", 0 when there is no group
  int close = 0;  // 1-based position of the matching ")"
};

double Evaluate(const ShortString& text);
Group FirstGroup(const ShortString& text);
int OperatorPosition(const ShortString& text, int op);
double IntegerPower(double x, std::int32_t e);
double Factorial(std::uint16_t m);

// Reads a whole text as a decimal number (leading blanks and tabs skipped, an
// optional sign, digits with an optional point, an optional exponent). False when
// the text is not such a number. A number beyond the range of a double sets
// *overflow and reads as 0.
bool ReadNumber(std::string_view text, double* value, bool* overflow);
