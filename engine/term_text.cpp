// The digits of k put in place of the formula's variable, and the term computed from that text.
#include "engine/term_text.h"

#include "engine/evaluate.h"
#include "format/number_text.h"
#include "format/text.h"

ShortString SubstituteVariable(char letter, const ShortString& replacement, const ShortString& text) {
  ShortString with = replacement;
  if (replacement[0] == '-') with = "(" + replacement + ")";
  const char folded = FoldCase(letter);
  ShortString result;
  for (char c : text.view()) {
    if (c == folded || FoldCase(c) == folded) {
      result += with.view();
    } else {
      result += c;
    }
  }
  return result;
}

bool IsVariable(char c) { return FoldCase(c) == FoldCase(kVariable); }

ShortString TermText(const ShortString& formula, std::uint16_t k) {
  return SubstituteVariable(kVariable, IntText(k), formula);
}

Result TextTerm(const ShortString& formula, std::uint16_t k, PowerNotes* notes) {
  return EvaluateText(TermText(formula, k).view(), notes);
}
