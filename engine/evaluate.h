// The text evaluator: groups are evaluated and written back as number texts, then
// the text is split at one operator and both sides are evaluated recursively.
//
// The formula language as the evaluator reads it (a text has at most 255
// characters; "a splitting op" is one whose preceding character is a digit or
// "!", at position 2 or later):
//
//   text   := groups written back, then split
//   group  := "(" text ")"            first complete group at depth 0, evaluated
//                                     and replaced by its number text (cut at 255)
//   split  := left OP right           at the LAST splitting occurrence of the
//                                     first of  + - * / ^ !  that has one, so
//                                     "8-2-1" = (8-2)-1 and "2^3^2" = (2^3)^2;
//                                     for "!" the right side is not evaluated
//           | leaf
//   leaf   := "-" text                the sign binds tighter than every operator:
//                                     "-2^2" = (-2)^2
//           | number                  [blanks] [sign] digits ["." digits]
//                                     [("E"|"e") [sign] digits]; any other text
//                                     (a letter, "x+1", "") is 0 without a code
//
// A sign that does not follow a digit or "!" ("2*-3", "1E+20", "10--3") is part
// of its operand, not an operator.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/result.h"
#include "format/short_string.h"

// The code of the last evaluation; a value is used only when it is 0.
extern std::int32_t ResultCode;

// "+", "-", "*", "/", "^", "!": the order in which a place to split is looked for,
// from the loosest binding to the tightest.
inline constexpr char Operators[6] = {'+', '-', '*', '/', '^', '!'};

struct Group {
  int open = 0;   // 1-based position of "(", 0 when there is no group
  int close = 0;  // 1-based position of the matching ")"
};

// The value of a text (the code in ResultCode), with the result texts loaded
// for the language.
double Evaluate(const ShortString& text);
// The same as a value and its code, touching nothing else (ResultCode and the
// result texts are left as they were).
Result EvaluateText(std::string_view text);
Group FirstGroup(const ShortString& text);
Group FirstGroupOf(std::string_view text);
double IntegerPower(double x, std::int32_t e);
double Factorial(std::uint16_t m);

// The value of a leaf, a text that no operator splits: each leading "-" is a
// factor -1 on the rest, and the rest is a number or counts as 0 (code 4 for a
// number beyond the range of a double).
Result LeafValue(std::string_view text);

// Reads a whole text as a decimal number (leading blanks and tabs skipped, an
// optional sign, digits with an optional point, an optional exponent). False when
// the text is not such a number. A number beyond the range of a double sets
// *overflow and reads as 0.
bool ReadNumber(std::string_view text, double* value, bool* overflow);
