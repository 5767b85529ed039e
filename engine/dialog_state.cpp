#include "engine/dialog_state.h"

#include "engine/arithmetic.h"
#include "engine/evaluate.h"
#include "engine/integer_power.h"

std::int32_t ResultCode = kNoError;
Language LanguageIndex = kCatalan;
ShortString ResultTexts[kResultCodeCount];

namespace {

// The result as the callers read it: the value, the code in ResultCode and the
// result texts of the language.
double Leave(Result r) {
  LoadResultTexts();
  ResultCode = r.code;
  return r.value;
}

}  // namespace

void LoadResultTexts() {
  for (int code = 0; code < kResultCodeCount; ++code) ResultTexts[code] = ResultText(LanguageIndex, code);
}

double Evaluate(const ShortString& text) { return Leave(EvaluateText(text.view())); }

double IntegerPower(double x, std::int32_t e) {
  const Result r = IntegerPowerOf(x, e);
  ResultCode = r.code;
  return r.code != kNoError ? 0 : r.value;
}

double Factorial(std::uint16_t m) {
  if (m > kMaxFactorial) {
    ResultCode = kFactorialRange;
    return 0;
  }
  ResultCode = kNoError;
  return FactorialValue(m);
}

double TermValue(const ShortString& formula, std::uint16_t n) {
  return Leave(ComputeQuantities(formula, n, kWantTerm, ResultCode).term);
}

double PartialSum(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 0;
  return Leave(ComputeQuantities(formula, n, kWantSum, ResultCode).sum);
}

double PartialProduct(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 1;
  return Leave(ComputeQuantities(formula, n, kWantProduct, ResultCode).product);
}

void EngineStartup() { LoadResultTexts(); }
