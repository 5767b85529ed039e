// The dialog's process-wide language, result code and result texts, and the calls that leave results in them.
#include "engine/dialog_state.h"

#include "engine/arithmetic.h"
#include "engine/evaluate.h"
#include "engine/integer_power.h"

Language LanguageIndex = kCatalan;
std::int32_t ResultCode = kNoError;
ShortString ResultTexts[kResultCodeCount];

namespace {

// The result as the callers read it: the value, and the code in ResultCode
// (the one place that sets it).
double Leave(Result r) {
  ResultCode = r.code;
  return r.value;
}

// The same with the result texts of the language loaded first, as every
// evaluation does.
double LeaveWithTexts(Result r) {
  LoadResultTexts();
  return Leave(r);
}

}  // namespace

void LoadResultTexts() {
  for (int code = 0; code < kResultCodeCount; ++code) ResultTexts[code] = ResultText(LanguageIndex, code);
}

void EngineStartup() { LoadResultTexts(); }

double Evaluate(const ShortString& text) { return LeaveWithTexts(EvaluateText(text.view())); }

double IntegerPower(double x, std::int32_t e) {
  const Result r = IntegerPowerOf(x, e);
  return Leave({r.code != kNoError ? 0 : r.value, r.code});
}

double Factorial(std::uint16_t m) {
  return Leave(m > kMaxFactorial ? Result{0, kFactorialRange} : Result{FactorialValue(m), kNoError});
}

double TermValue(const ShortString& formula, std::uint16_t n) {
  return LeaveWithTexts(ComputeQuantities(formula, n, kWantTerm, ResultCode).term);
}

double PartialSum(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 0;
  return LeaveWithTexts(ComputeQuantities(formula, n, kWantSum, ResultCode).sum);
}

double PartialProduct(const ShortString& formula, std::uint16_t n) {
  if (n == 0) return 1;
  return LeaveWithTexts(ComputeQuantities(formula, n, kWantProduct, ResultCode).product);
}
