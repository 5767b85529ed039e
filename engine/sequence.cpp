#include "engine/sequence.h"

#include <cmath>

#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/prepared.h"
#include "format/number_text.h"

namespace {

char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

ShortString SubstituteVariable(char letter, const ShortString& replacement, const ShortString& text) {
  ShortString with = replacement;
  if (replacement[0] == '-') with = "(" + replacement + ")";
  ShortString result;
  for (char c : text.view()) {
    if (LowerCase(c) == LowerCase(letter)) {
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

bool AddTerm(double* sum, double v) {
  if (*sum > kOverflowLimit - v || *sum < -kOverflowLimit - v) return false;
  *sum += v;
  return true;
}

bool MultiplyTerm(double* product, double v) {
  if (v != 0 && std::fabs(*product) > kOverflowLimit / std::fabs(v)) return false;
  *product *= v;
  return true;
}

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
  double sum = 0;
  if (n == 0) return sum;
  PreparedFormula prepared = PrepareFormula(formula);
  LoadResultTexts();
  for (int k = 1; k <= n; ++k) {
    TermResult r = PreparedTerm(prepared, static_cast<std::uint16_t>(k));
    if (r.code != kNoError) {
      ResultCode = r.code;
      return sum;
    }
    if (!AddTerm(&sum, r.value)) {
      ResultCode = kOverflow;
      return sum;
    }
  }
  ResultCode = kNoError;
  return sum;
}

double PartialProduct(const ShortString& formula, std::uint16_t n) {
  double product = 1;
  if (n == 0) return product;
  PreparedFormula prepared = PrepareFormula(formula);
  LoadResultTexts();
  for (int k = 1; k <= n; ++k) {
    TermResult r = PreparedTerm(prepared, static_cast<std::uint16_t>(k));
    if (r.code != kNoError) {
      ResultCode = r.code;
      return product;
    }
    if (!MultiplyTerm(&product, r.value)) {
      ResultCode = kOverflow;
      return product;
    }
  }
  ResultCode = kNoError;
  return product;
}

// Number texts always use "." as the decimal point, so only the result texts
// need loading here.
void EngineStartup() { LoadResultTexts(); }
