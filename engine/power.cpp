#include "engine/power.h"

#include <cmath>

#include "engine/evaluate.h"

namespace {

// Exponents up to this are computed by literal repeated multiplication, so the
// value has exactly the roundings of that loop; longer ones finish by squaring.
constexpr std::uint32_t kLiteralSteps = 65536;

bool NegativePower(double x, std::uint32_t m) { return std::signbit(x) && (m & 1); }

// A double with an unbounded binary exponent: value = f x 2^e, f in [0.5, 1).
struct Wide {
  double f;
  long e;
};

Wide Normalize(double f, long e) {
  int k = 0;
  double g = std::frexp(f, &k);
  return {g, e + k};
}

Wide Multiply(Wide a, Wide b) { return Normalize(a.f * b.f, a.e + b.e); }

Wide WidePower(double x, std::uint32_t m) {
  Wide result{0.5, 1};
  Wide base = Normalize(x, 0);
  for (; m; m >>= 1) {
    if (m & 1) result = Multiply(result, base);
    base = Multiply(base, base);
  }
  return result;
}

bool AtLeast(Wide a, Wide b) { return a.e != b.e ? a.e > b.e : a.f >= b.f; }

// |x|^m for |x| <= 1 by squaring: it cannot overflow, and underflows quietly.
double SquaringPower(double x, std::uint32_t m) {
  double result = 1;
  for (double base = x; m; m >>= 1) {
    if (m & 1) result *= base;
    base *= base;
  }
  return result;
}

// x^m for m >= 1, with code 4 whenever the running product of the repeated
// multiplication would reach 1e308 before a factor is applied.
PowerResult PositivePower(double x, std::uint32_t m) {
  const double ax = std::fabs(x);
  const double limit = kOverflowLimit / ax;  // an infinite limit is never reached
  double r = 1;
  const std::uint32_t steps = m < kLiteralSteps ? m : kLiteralSteps;
  for (std::uint32_t i = 0; i < steps; ++i) {
    if (std::fabs(r) >= limit) return {0, kOverflow};
    r *= x;
    // Once 0, every further factor keeps it 0; only its sign still alternates.
    if (r == 0) return {NegativePower(x, m) ? -0.0 : 0.0, kNoError};
  }
  if (m == steps) return {r, kNoError};

  // The rest of a very long product (exponents beyond the literal steps).
  const std::uint32_t rest = m - steps;
  if (ax <= 1) return {r * SquaringPower(x, rest), kNoError};
  // The product grows, so the last running product before the final factor is
  // the largest: compare |r| x |x|^(rest - 1) with the limit without overflowing.
  Wide last = Multiply(Normalize(std::fabs(r), 0), WidePower(ax, rest - 1));
  if (AtLeast(last, Normalize(limit, 0))) return {0, kOverflow};
  Wide all = Multiply(last, Normalize(ax, 0));
  double magnitude = std::ldexp(all.f, static_cast<int>(all.e));
  return {std::signbit(r) != NegativePower(x, rest) ? -magnitude : magnitude, kNoError};
}

// Double-double arithmetic: an unevaluated sum hi + lo with |lo| <= ulp(hi)/2.
// Only IEEE additions and multiplications are used (no fused multiply-add), so
// every platform computes the same bits.
struct DD {
  double hi;
  double lo;
};

DD TwoSum(double a, double b) {
  double s = a + b;
  double v = s - a;
  double e = (a - (s - v)) + (b - v);
  return {s, e};
}

DD QuickTwoSum(double a, double b) {
  double s = a + b;
  return {s, b - (s - a)};
}

void Split(double a, double* hi, double* lo) {
  double t = 134217729.0 * a;  // 2^27 + 1
  *hi = t - (t - a);
  *lo = a - *hi;
}

DD TwoProduct(double a, double b) {
  double p = a * b;
  double ah, al, bh, bl;
  Split(a, &ah, &al);
  Split(b, &bh, &bl);
  double e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
  return {p, e};
}

DD Add(DD a, DD b) {
  DD s = TwoSum(a.hi, b.hi);
  DD t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

DD Mul(DD a, DD b) {
  DD p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

DD MulDouble(DD a, double b) {
  DD p = TwoProduct(a.hi, b);
  p.lo += a.lo * b;
  return QuickTwoSum(p.hi, p.lo);
}

DD Div(DD a, DD b) {
  double q1 = a.hi / b.hi;
  DD r = Add(a, MulDouble(b, -q1));
  double q2 = r.hi / b.hi;
  r = Add(r, MulDouble(b, -q2));
  double q3 = r.hi / b.hi;
  return Add(QuickTwoSum(q1, q2), DD{q3, 0});
}

const DD kLn2 = {6.931471805599452862e-01, 2.319046813846299558e-17};

// ln a for a > 0: a = m x 2^k with m near 1, ln m = 2 atanh((m - 1) / (m + 1)).
DD Log(double a) {
  int k = 0;
  double m = std::frexp(a, &k);  // exact; m in [0.5, 1)
  if (m < 0.70710678118654752) {
    m *= 2;
    --k;
  }
  DD s = Div(TwoSum(m, -1.0), TwoSum(m, 1.0));
  DD s2 = Mul(s, s);
  DD term = s;
  DD sum = s;
  for (int j = 3; j <= 61; j += 2) {
    term = Mul(term, s2);
    sum = Add(sum, Div(term, DD{static_cast<double>(j), 0}));
  }
  return Add(MulDouble(sum, 2.0), MulDouble(kLn2, static_cast<double>(k)));
}

// e^y: y = k ln 2 + r, e^r from its series at r / 256, squared eight times.
double Exp(DD y) {
  if (y.hi > 710) return HUGE_VAL;
  if (y.hi < -746) return 0;
  double k = std::nearbyint(y.hi / kLn2.hi);
  DD r = Add(y, MulDouble(kLn2, -k));
  r = MulDouble(r, 1.0 / 256);
  DD term = {1, 0};
  DD sum = {1, 0};
  for (int j = 1; j <= 14; ++j) {
    term = Div(Mul(term, r), DD{static_cast<double>(j), 0});
    sum = Add(sum, term);
  }
  for (int i = 0; i < 8; ++i) sum = Mul(sum, sum);
  return std::ldexp(sum.hi + sum.lo, static_cast<int>(k));
}

}  // namespace

double ExpLogPower(double a, double b) {
  DD l = Log(a);
  return Exp(MulDouble(l, b));
}

PowerResult RepeatedPower(double x, std::int32_t e) {
  if (x == 0) return {0, e < 0 ? kDivisionByZero : kNoError};
  if (e == 0) return {1, kNoError};
  if (e > 0) return PositivePower(x, static_cast<std::uint32_t>(e));
  PowerResult r = PositivePower(x, 0u - static_cast<std::uint32_t>(e));
  if (r.code != kNoError) return r;
  // 1 / 0 and an overflowing quotient are faults of the power.
  if (r.value == 0) return {0, kDivisionByZero};
  double q = 1 / r.value;
  if (std::isinf(q)) return {0, kDivisionByZero};
  return {q, kNoError};
}

PowerResult Power(double a, double b) {
  if (b == 0) return {1, kNoError};
  // The exponent is rounded to a 32-bit integer (ties to even); one whose
  // magnitude rounds to 2^31 or more is a fault.
  double rounded = std::nearbyint(std::fabs(b));
  if (rounded >= 2147483648.0) return {0, kDivisionByZero};
  if (std::fabs(b) == rounded) {
    std::int32_t e = static_cast<std::int32_t>(rounded);
    return RepeatedPower(a, b < 0 ? -e : e);
  }
  if (a > 0) {
    double v = ExpLogPower(a, b);
    if (std::isinf(v)) return {0, kDivisionByZero};
    return {v, kNoError};
  }
  if (a == 0) return {0, kNoError};
  return {0, kNegativeBase};
}
