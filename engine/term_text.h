// Term texts: the formula with the digits of k in place of its variable, and the
// term computed from that text by the text evaluation (the reference).
#pragma once

#include <cstdint>

#include "engine/result.h"
#include "format/short_string.h"

// Replaces every occurrence of the letter (either case) by the replacement text;
// a replacement that begins with "-" is put in parentheses.
ShortString SubstituteVariable(char letter, const ShortString& replacement, const ShortString& text);

// The variable of a formula: the letter n, in either case.
constexpr char kVariable = 'n';
bool IsVariable(char c);

// The text of term k: the formula with the digits of k in place of the variable.
ShortString TermText(const ShortString& formula, std::uint16_t k);

class PowerNotes;

// Term k through the text evaluation (its integer powers through the notes, when given).
Result TextTerm(const ShortString& formula, std::uint16_t k, PowerNotes* notes = nullptr);
