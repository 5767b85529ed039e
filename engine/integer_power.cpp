// x^e for an integer e, as the repeated multiplication x x x x ... x with the
// limit test before each factor gives it.
//
// Method and special cases:
// - x = 0: 0, code 1 for e < 0; e = 0: 1 (also for x = 0).
// - |e| up to kLiteralPowerSteps: the literal product, factor by factor; it
//   stops with code 4 once the product's magnitude reaches 1e308 / |x|, and
//   stops early where a factor leaves the magnitude as it is (0, or a fixed
//   point of the subnormal range).
// - |e| beyond it: |x|^(|e|-1) and |x|^|e| in double-double with an unbounded
//   exponent (about 100 bits), a bound on the drift of the literal product's
//   roundings deciding code 4, and the subnormal fixed point the literal
//   product descends to where it falls that far.
// - e < 0: 1 over the power; code 1 when that power is 0 or the quotient overflows.
#include "engine/integer_power.h"

#include <algorithm>
#include <cmath>

#include "engine/double_double.h"
#include "format/double_bits.h"

namespace {

bool NegativePower(double x, std::uint32_t m) { return std::signbit(x) && (m & 1); }

// x^m for 1 <= m <= kLiteralPowerSteps: the repeated multiplication, the limit
// test before each factor. Once a factor leaves the product's magnitude as it
// was (0, or a fixed point of the subnormal range), every further factor does
// too: the value is that magnitude with the sign of x^m.
Result LiteralPower(double x, std::uint32_t m) {
  const double limit = PowerLimit(x);
  double r = 1;
  for (std::uint32_t i = 0; i < m; ++i) {
    if (std::fabs(r) >= limit) return {0, kOverflow};
    const double next = r * x;
    if (std::fabs(next) == std::fabs(r)) {
      const double magnitude = std::fabs(r);
      return {NegativePower(x, m) ? -magnitude : magnitude, kNoError};
    }
    r = next;
  }
  return {r, kNoError};
}

// A double-double with an unbounded binary exponent: (f.hi + f.lo) x 2^e with
// f.hi in [0.5, 1). Powers of it carry about 100 bits, far more than the
// roundings of a literal product can move it.
struct Wide {
  DD f;
  long long e;
};

Wide WideOf(double a) {  // a > 0, normal
  int k = 0;
  double m = std::frexp(a, &k);  // exact
  return {{m, 0}, k};
}

Wide WideMul(Wide a, Wide b) {
  Wide r{Mul(a.f, b.f), a.e + b.e};  // f in [0.25, 1]
  if (r.f.hi < 0.5) {
    r.f = {r.f.hi * 2, r.f.lo * 2};
    --r.e;
  } else if (r.f.hi >= 1) {
    r.f = {r.f.hi / 2, r.f.lo / 2};
    ++r.e;
  }
  return r;
}

Wide WidePower(double a, std::uint32_t m) {
  Wide result{{0.5, 0}, 1};
  Wide base = WideOf(a);
  for (; m; m >>= 1) {
    if (m & 1) result = WideMul(result, base);
    if (m > 1) base = WideMul(base, base);
  }
  return result;
}

// The nearest double (rounded once more where it is subnormal); no overflow here.
double WideValue(Wide w) {
  const double f = w.f.hi + w.f.lo;  // in [0.5, 1]
  if (w.e > -1022) return f * TwoTo(static_cast<int>(w.e));
  if (w.e < -1100) return 0;
  return (f * TwoTo(static_cast<int>(w.e) + 100)) * TwoTo(-100);
}

// The largest subnormal multiple M x 2^-1074 (M up to 2^52) that a factor a in
// (0, 1) leaves as it is: M x a rounds back to M exactly when M (1 - a) is below
// 1/2, or 1/2 with M even. Every smaller M is kept as well, and every larger one
// falls, but not below it: the literal product of such factors descends to it.
double FixedPoint(double a) {
  const double unit = 0x1p-1074;
  auto kept = [&](double m) { return (m * unit) * a == m * unit; };
  if (a <= 0.5) return 0;
  double m = std::min(std::floor(0.5 / (1 - a)), 0x1p52);
  while (m < 0x1p52 && kept(m + 1)) ++m;
  while (m > 0 && !kept(m)) --m;
  return m * unit;
}

[[gnu::always_inline]] inline bool Below(Wide a, Wide b) { return a.e != b.e ? a.e < b.e : a.f.hi < b.f.hi; }

// x^m for m beyond kLiteralPowerSteps (x not 0) in a bounded number of steps.
// Every rounding of the literal product moves it by a factor within 1 +- 2^-53,
// so after i factors it lies within (1 +- 2^-53)^i of |x|^i, and (1 + 2^-53)^i
// is below drift = 1 + m 2^-51 for every i below m (m 2^-53 is tiny).
Result LongPower(double x, std::uint32_t m) {
  const double ax = std::fabs(x);
  const bool negative = NegativePower(x, m);
  if (ax == 1) return {negative ? -1.0 : 1.0, kNoError};
  const Wide before_last = WidePower(ax, m - 1);
  const Wide drift = WideOf(1 + m * 0x1p-51);
  const Wide all = WideMul(before_last, WideOf(ax));
  if (ax > 1) {
    // The product grows: the limit stops it exactly when the last product
    // before the final factor, below |x|^(m-1) drift, reaches the limit. Where
    // that bound reaches it the literal product may, and the code is 4.
    if (!Below(WideMul(before_last, drift), WideOf(PowerLimit(ax)))) return {0, kOverflow};
    const double v = WideValue(all);
    return {negative ? -v : v, kNoError};
  }
  // The product falls. Far above the subnormal range the value is the power.
  if (all.e > -1000) {
    const double v = WideValue(all);
    return {negative ? -v : v, kNoError};
  }
  // While normal, the literal product stays below |x|^i drift; then, in units of
  // 2^-1074, it goes from M to M |x| + 1/2 at most. |x|^(m-3) drift below
  // 2^-1074 leaves enough factors to reach the subnormal range, to come within
  // one unit of the fixed point and to take the last unit: the value is the
  // fixed point itself. Otherwise the power, but never below the fixed point,
  // under which the literal product never goes.
  const double fixed = FixedPoint(ax);
  double v = fixed;
  const double square = ax * ax;
  Wide tiny = WideOf(square >= 0x1p-1022 ? square : 0x1p-1022);
  tiny.e -= 1074;
  if (square < 0x1p-1022 || !Below(WideMul(before_last, drift), tiny)) v = std::max(WideValue(all), fixed);
  return {negative ? -v : v, kNoError};
}

Result PositivePower(double x, std::uint32_t m) {
  return m <= kLiteralPowerSteps ? LiteralPower(x, m) : LongPower(x, m);
}

}  // namespace

Result IntegerPowerOf(double x, std::int32_t e) {
  if (x == 0) return ZeroPower(e);
  if (e == 0) return {1, kNoError};
  const Result r = PositivePower(x, FactorCount(e));
  if (r.code != kNoError) return r;
  return FinishPower(r.value, e < 0);
}
