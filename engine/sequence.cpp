#include "engine/sequence.h"

#include <cmath>

#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/prepared.h"
#include "format/number_text.h"
#include "format/text.h"

ShortString SubstituteVariable(char letter, const ShortString& replacement, const ShortString& text) {
  ShortString with = replacement;
  if (replacement[0] == '-') with = "(" + replacement + ")";
  ShortString result;
  for (char c : text.view()) {
    if (FoldCase(c) == FoldCase(letter)) {
      result += with.view();
    } else {
      result += c;
    }
  }
  return result;
}

ShortString TermText(const ShortString& formula, std::uint16_t k) {
  return SubstituteVariable('n', IntText(k), formula);
}

double TextTermValue(const ShortString& formula, std::uint16_t n) { return Evaluate(TermText(formula, n)); }

double TextPartialSum(const ShortString& formula, std::uint16_t n) {
  double sum = 0;
  for (int k = 1; k <= n; ++k) {
    double v = Evaluate(TermText(formula, static_cast<std::uint16_t>(k)));
    if (ResultCode != kNoError) return sum;
    if (!AddTerm(&sum, v)) {
      ResultCode = kOverflow;
      return sum;
    }
  }
  return sum;
}

double TextPartialProduct(const ShortString& formula, std::uint16_t n) {
  double product = 1;
  for (int k = 1; k <= n; ++k) {
    double v = Evaluate(TermText(formula, static_cast<std::uint16_t>(k)));
    if (ResultCode != kNoError) return product;
    if (!MultiplyTerm(&product, v)) {
      ResultCode = kOverflow;
      return product;
    }
  }
  return product;
}

double TermValue(const ShortString& formula, std::uint16_t n) {
  PreparedFormula prepared = PrepareFormula(formula);
  TermResult r = PreparedTerm(prepared, n);
  LoadResultTexts();
  ResultCode = r.code;
  return r.value;
}

// With n = 0 nothing is evaluated and ResultCode keeps its value.
double PartialSum(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 0;
  PreparedFormula prepared = PrepareFormula(formula);
  LoadResultTexts();
  TermResult r = PreparedPartialSum(prepared, n);
  ResultCode = r.code;
  return r.value;
}

double PartialProduct(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 1;
  PreparedFormula prepared = PrepareFormula(formula);
  LoadResultTexts();
  TermResult r = PreparedPartialProduct(prepared, n);
  ResultCode = r.code;
  return r.value;
}

// Number texts always use "." as the decimal point, so only the result texts
// need loading here.
void EngineStartup() { LoadResultTexts(); }
