#include "engine/term_text.h"

#include <algorithm>
#include <cstring>

#include "engine/evaluate.h"
#include "format/number_text.h"
#include "format/text.h"

ShortString SubstituteVariable(char letter, const ShortString& replacement, const ShortString& text) {
  ShortString with = replacement;
  if (replacement[0] == '-') with = "(" + replacement + ")";
  const char folded = FoldCase(letter);
  char out[ShortString::kCapacity];
  std::size_t size = 0;
  for (char c : text.view()) {
    if (c == folded || FoldCase(c) == folded) {
      const std::size_t n = std::min(with.size(), ShortString::kCapacity - size);
      std::memcpy(out + size, with.data(), n);
      size += n;
    } else if (size < ShortString::kCapacity) {
      out[size++] = c;
    }
    if (size == ShortString::kCapacity) break;
  }
  return ShortString(std::string_view(out, size));
}

bool IsVariable(char c) { return FoldCase(c) == FoldCase(kVariable); }

ShortString TermText(const ShortString& formula, std::uint16_t k) {
  return SubstituteVariable(kVariable, IntText(k), formula);
}

Result TextTerm(const ShortString& formula, std::uint16_t k) { return EvaluateText(TermText(formula, k).view()); }
