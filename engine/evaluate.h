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

// "+", "-", "*", "/", "^", "!": the order in which a place to split is looked for,
// from the loosest binding to the tightest.
inline constexpr char Operators[6] = {'+', '-', '*', '/', '^', '!'};

class PowerNotes;

// The value of a text and its code. With notes, the integer powers go through
// them (the terms of a block, see PowerNotes); without, nothing but the text
// decides the result.
Result EvaluateText(std::string_view text, PowerNotes* notes = nullptr);

// The value of a leaf, a text that no operator splits: each leading "-" is a
// factor -1 on the rest, and the rest is a number or counts as 0 (code 4 for a
// number beyond the range of a double).
Result LeafValue(std::string_view text);
