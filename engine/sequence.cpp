#include "engine/sequence.h"

#include <cmath>

#include "engine/evaluate.h"
#include "engine/messages.h"
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

double TermValue(const ShortString& formula, std::uint16_t n) { return Evaluate(TermText(formula, n)); }

// Stops with code 4 before the sum would leave [-1e308, 1e308].
double PartialSum(const ShortString& formula, std::uint16_t n) {
  double sum = 0;
  for (int k = 1; k <= n; ++k) {
    double v = Evaluate(TermText(formula, static_cast<std::uint16_t>(k)));
    if (ResultCode != kNoError) return sum;
    if (sum > kOverflowLimit - v || sum < -kOverflowLimit - v) {
      ResultCode = kOverflow;
      return sum;
    }
    sum += v;
  }
  return sum;
}

// Stops with code 4 before the product's magnitude would pass 1e308.
double PartialProduct(const ShortString& formula, std::uint16_t n) {
  double product = 1;
  for (int k = 1; k <= n; ++k) {
    double v = Evaluate(TermText(formula, static_cast<std::uint16_t>(k)));
    if (ResultCode != kNoError) return product;
    if (v != 0 && std::fabs(product) > kOverflowLimit / std::fabs(v)) {
      ResultCode = kOverflow;
      return product;
    }
    product *= v;
  }
  return product;
}

// Number texts always use "." as the decimal point, so only the result texts
// need loading here.
void EngineStartup() { LoadResultTexts(); }
