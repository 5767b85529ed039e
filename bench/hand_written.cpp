#include "bench/hand_written.h"

#include <array>
#include <cmath>

#include "engine/text_value.h"

namespace {

constexpr double kLimit = 1e308;

Result Fail(std::int32_t code) { return {0, code}; }

// "1/n^2": the power's limit test before its one multiplication.
Result ReciprocalSquare(std::uint16_t k) {
  double x = k;
  if (x >= kLimit / x) return Fail(4);
  double square = x * x;
  if (square == 0) return Fail(1);
  double r = 1 / square;
  if (std::isinf(r)) return Fail(4);
  return {r, 0};
}

// "2*n+3/n-1", read as 2*n + (3/n - 1).
Result Polynomial(std::uint16_t k) {
  double x = k;
  double a = 2 * x;
  if (std::isinf(a)) return Fail(1);
  if (x == 0) return Fail(1);
  double b = 3 / x;
  if (std::isinf(b)) return Fail(4);
  double c = b - 1;
  if (std::isinf(c)) return Fail(4);
  double r = a + c;
  if (std::isinf(r)) return Fail(4);
  return {r, 0};
}

// "(-1)^n/n": the sign alternates.
Result Alternating(std::uint16_t k) {
  double x = k;
  double sign = k & 1 ? -1.0 : 1.0;
  if (x == 0) return Fail(1);
  double r = sign / x;
  if (std::isinf(r)) return Fail(4);
  return {r, 0};
}

// "1/(n*(n+1))": both groups are integers below 1e15, whose texts are exact.
Result Telescoping(std::uint16_t k) {
  double x = k;
  double g = x + 1;
  if (std::isinf(g)) return Fail(4);
  double h = x * g;
  if (std::isinf(h)) return Fail(1);
  if (h == 0) return Fail(1);
  double r = 1 / h;
  if (std::isinf(r)) return Fail(4);
  return {r, 0};
}

// "(1/n)^2+(n-1)/(n+1)": 1/n takes part with the digits of its text.
Result Mixed(std::uint16_t k) {
  double x = k;
  if (x == 0) return Fail(1);
  double g = 1 / x;
  if (std::isinf(g)) return Fail(4);
  g = NumberTextValue(g);
  double below = x - 1;
  double above = x + 1;
  if (g != 0 && std::fabs(g) >= kLimit / std::fabs(g)) return Fail(4);
  double square = g * g;
  if (above == 0) return Fail(1);
  double q = below / above;
  if (std::isinf(q)) return Fail(4);
  double r = square + q;
  if (std::isinf(r)) return Fail(4);
  return {r, 0};
}

const std::array<double, 171>& FactorialTable() {
  static const std::array<double, 171> table = [] {
    std::array<double, 171> t{};
    double f = 1;
    for (int m = 0; m <= 170; ++m) {
      if (m >= 2) f *= m;
      t[m] = f;
    }
    return t;
  }();
  return table;
}

// "1/(n/400)!": n/400 takes part with the digits of its text.
Result ReciprocalFactorial(std::uint16_t k) {
  double g = NumberTextValue(static_cast<double>(k) / 400);
  if (g < 0 || g > 170) return Fail(2);
  double f = FactorialTable()[static_cast<int>(std::nearbyint(g))];
  if (f == 0) return Fail(1);
  double r = 1 / f;
  if (std::isinf(r)) return Fail(4);
  return {r, 0};
}

// S_n and P_n by hand: the same loop and limits as the engine's, the term inlined.
template <typename Term>
Result Sum(Term term, std::uint16_t n) {
  double sum = 0;
  for (int k = 1; k <= n; ++k) {
    Result t = term(static_cast<std::uint16_t>(k));
    if (t.code != 0) return {sum, t.code};
    if (sum > 1e308 - t.value || sum < -1e308 - t.value) return {sum, 4};
    sum += t.value;
  }
  return {sum, 0};
}

template <typename Term>
Result Product(Term term, std::uint16_t n) {
  double product = 1;
  for (int k = 1; k <= n; ++k) {
    Result t = term(static_cast<std::uint16_t>(k));
    if (t.code != 0) return {product, t.code};
    if (t.value != 0 && (product < 0 ? -product : product) > 1e308 / (t.value < 0 ? -t.value : t.value))
      return {product, 4};
    product *= t.value;
  }
  return {product, 0};
}

// The three quantities of one hand-written term, the term inlined into the loops.
template <Result (*F)(std::uint16_t)>
Result SumOf(std::uint16_t n) {
  return Sum([](std::uint16_t k) { return F(k); }, n);
}

template <Result (*F)(std::uint16_t)>
Result ProductOf(std::uint16_t n) {
  return Product([](std::uint16_t k) { return F(k); }, n);
}

#define HAND(f) f, SumOf<f>, ProductOf<f>

// "0.9^n": 0.9^k is the running product of k factors, the limit test before each
// factor; a sum or product carries the running product from one term to the next.
constexpr double kRatio = 0.9;

Result GeometricTerm(std::uint16_t n) {
  const double limit = kLimit / kRatio;
  double power = 1;
  for (int i = 0; i < n; ++i) {
    if (std::fabs(power) >= limit) return Fail(4);
    power *= kRatio;
  }
  return {power, 0};
}

Result GeometricSum(std::uint16_t n) {
  const double limit = kLimit / kRatio;
  double power = 1;
  double sum = 0;
  for (int k = 1; k <= n; ++k) {
    if (std::fabs(power) >= limit) return {sum, 4};
    power *= kRatio;
    if (sum > 1e308 - power || sum < -1e308 - power) return {sum, 4};
    sum += power;
  }
  return {sum, 0};
}

Result GeometricProduct(std::uint16_t n) {
  const double limit = kLimit / kRatio;
  double power = 1;
  double product = 1;
  for (int k = 1; k <= n; ++k) {
    if (std::fabs(power) >= limit) return {product, 4};
    power *= kRatio;
    if (power != 0 && std::fabs(product) > 1e308 / std::fabs(power)) return {product, 4};
    product *= power;
  }
  return {product, 0};
}

}  // namespace

const BenchFormula kBenchFormulas[] = {
    {"0.9^n", false, GeometricTerm, GeometricSum, GeometricProduct},
    {"1/n^2", false, HAND(ReciprocalSquare)},
    {"2*n+3/n-1", false, HAND(Polynomial)},
    {"(-1)^n/n", true, HAND(Alternating)},
    {"1/(n*(n+1))", true, HAND(Telescoping)},
    {"(1/n)^2+(n-1)/(n+1)", true, HAND(Mixed)},
    {"1/(n/400)!", true, HAND(ReciprocalFactorial)},
};
const int kBenchFormulaCount = static_cast<int>(std::size(kBenchFormulas));
