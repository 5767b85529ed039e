#include "engine/power.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

// 2^e for e from -1022 to 1023, exactly.
double TwoTo(int e) { return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52); }

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

// x^m for m beyond kLiteralPowerSteps (x not 0) in a bounded number of steps.
// Every rounding of the literal product moves it by a factor within 1 +- 2^-53,
// so after i factors it lies within (1 +- 2^-53)^i of |x|^i; up is a bound above
// |x| (1 + 2^-53).
Result LongPower(double x, std::uint32_t m) {
  const double ax = std::fabs(x);
  const bool negative = NegativePower(x, m);
  if (ax == 1) return {negative ? -1.0 : 1.0, kNoError};
  const double up = ax * (1 + 0x1p-51);
  if (ax > 1) {
    // The product grows: the limit stops it exactly when the last product
    // before the final factor, at most up^(m-1), reaches the limit. Where that
    // bound reaches it the literal product may, and the code is 4.
    const Wide bound = WidePower(up, m - 1);
    const Wide limit = WideOf(PowerLimit(ax));
    if (bound.e > limit.e || (bound.e == limit.e && bound.f.hi >= limit.f.hi)) return {0, kOverflow};
    const double v = WideValue(WidePower(ax, m));
    return {negative ? -v : v, kNoError};
  }
  // The product falls, by at most the factor up while it is normal; then, in
  // units of 2^-1074, from M to M ax + 1/2 at most. up^(m-3) below 2^-1074 leaves
  // enough factors to reach the subnormal range, to come within one unit of the
  // fixed point and to take the last unit: the value is the fixed point itself.
  const double fixed = FixedPoint(ax);
  double v = fixed;
  if (up >= 1 || WidePower(up, m - 3).e > -1074) v = std::max(WideValue(WidePower(ax, m)), fixed);
  return {negative ? -v : v, kNoError};
}

Result PositivePower(double x, std::uint32_t m) {
  return m <= kLiteralPowerSteps ? LiteralPower(x, m) : LongPower(x, m);
}

// Many literal powers side by side: for each lane, steps[l] factors base[l]
// multiplied into r[l] (which starts at 1), independent chains interleaved
// across vectors of four lanes. The compiler keeps the vectors in registers and
// uses the widest instructions the function is built for; every product is one
// IEEE multiplication either way.
typedef double V4 __attribute__((vector_size(32)));
typedef long long M4 __attribute__((vector_size(32)));
constexpr int kChainLanes = 16;

// Lanes whose count of steps has run out take the factor 1, which keeps them.
#define VANTEL_ACTIVE(base, steps) \
  reinterpret_cast<V4>((reinterpret_cast<M4>(base) & (vi < (steps))) | (reinterpret_cast<M4>(one) & ~(vi < (steps))))

__attribute__((always_inline)) inline void ChainBody(const double* base, const double* steps, double* r) {
  V4 b0, b1, b2, b3, s0, s1, s2, s3;
  std::memcpy(&b0, base, sizeof b0);
  std::memcpy(&b1, base + 4, sizeof b1);
  std::memcpy(&b2, base + 8, sizeof b2);
  std::memcpy(&b3, base + 12, sizeof b3);
  std::memcpy(&s0, steps, sizeof s0);
  std::memcpy(&s1, steps + 4, sizeof s1);
  std::memcpy(&s2, steps + 8, sizeof s2);
  std::memcpy(&s3, steps + 12, sizeof s3);
  const V4 one = {1, 1, 1, 1};
  V4 r0 = one, r1 = one, r2 = one, r3 = one;
  double fewest = steps[0], most = steps[0];
  for (int l = 1; l < kChainLanes; ++l) {
    fewest = std::min(fewest, steps[l]);
    most = std::max(most, steps[l]);
  }
  const long common = static_cast<long>(fewest);
  const long all = static_cast<long>(most);
  for (long i = 0; i < common; ++i) {
    r0 *= b0;
    r1 *= b1;
    r2 *= b2;
    r3 *= b3;
  }
  for (long i = common; i < all; ++i) {
    const double d = static_cast<double>(i);
    const V4 vi = {d, d, d, d};
    r0 *= VANTEL_ACTIVE(b0, s0);
    r1 *= VANTEL_ACTIVE(b1, s1);
    r2 *= VANTEL_ACTIVE(b2, s2);
    r3 *= VANTEL_ACTIVE(b3, s3);
  }
  std::memcpy(r, &r0, sizeof r0);
  std::memcpy(r + 4, &r1, sizeof r1);
  std::memcpy(r + 8, &r2, sizeof r2);
  std::memcpy(r + 12, &r3, sizeof r3);
}
#undef VANTEL_ACTIVE

void ChainsPlain(const double* base, const double* steps, double* r) { ChainBody(base, steps, r); }

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("avx2"))) void ChainsAvx2(const double* base, const double* steps, double* r) {
  ChainBody(base, steps, r);
}

using ChainsFunction = void (*)(const double*, const double*, double*);
ChainsFunction PickChains() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? ChainsAvx2 : ChainsPlain;
}
const ChainsFunction Chains = PickChains();
#else
constexpr auto Chains = ChainsPlain;
#endif

}  // namespace

Result IntegerPowerOf(double x, std::int32_t e) {
  if (x == 0) return {0, e < 0 ? kDivisionByZero : kNoError};
  if (e == 0) return {1, kNoError};
  const std::uint32_t m = e < 0 ? 0u - static_cast<std::uint32_t>(e) : static_cast<std::uint32_t>(e);
  const Result r = PositivePower(x, m);
  if (r.code != kNoError) return r;
  return FinishPower(r.value, e < 0);
}

// The lanes that need a literal product of two or more factors go through the
// chains: x^(m-1) with m - 1 factors, then the limit test on it (for |x| > 1 the
// product never falls, so the test before each factor fails first on the last
// one), then the last factor. For |x| < 1 the product never reaches the limit.
// The rest take IntegerPowerOf.
void IntegerPowers(int count, const double* x, const std::int32_t* e, double* value, std::int32_t* code) {
  double base[kChainLanes];
  double steps[kChainLanes];
  double r[kChainLanes];
  int lane[kChainLanes];
  int held = 0;
  auto flush = [&] {
    for (int j = held; j < kChainLanes; ++j) {
      base[j] = 1;
      steps[j] = 0;
    }
    Chains(base, steps, r);
    for (int j = 0; j < held; ++j) {
      const int l = lane[j];
      const double b = base[j];
      if (std::fabs(b) > 1 && std::fabs(r[j]) >= PowerLimit(b)) {
        value[l] = 0;
        code[l] = kOverflow;
        continue;
      }
      const Result f = FinishPower(r[j] * b, e[l] < 0);
      value[l] = f.value;
      code[l] = f.code;
    }
    held = 0;
  };
  for (int l = 0; l < count; ++l) {
    const std::uint32_t m = e[l] < 0 ? 0u - static_cast<std::uint32_t>(e[l]) : static_cast<std::uint32_t>(e[l]);
    if (x[l] == 0 || m < 2 || m > kLiteralPowerSteps || std::fabs(x[l]) == 1) {
      const Result p = IntegerPowerOf(x[l], e[l]);
      value[l] = p.value;
      code[l] = p.code;
      continue;
    }
    base[held] = x[l];
    steps[held] = m - 1;
    lane[held] = l;
    if (++held == kChainLanes) flush();
  }
  if (held) flush();
}

namespace {

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

Exponent ReadExponent(double b, std::int32_t* e) {
  if (b == 0) return Exponent::kZero;
  const double rounded = std::nearbyint(std::fabs(b));
  if (rounded >= 2147483648.0) return Exponent::kFault;
  if (std::fabs(b) != rounded) return Exponent::kFraction;
  const std::int32_t magnitude = static_cast<std::int32_t>(rounded);
  *e = b < 0 ? -magnitude : magnitude;
  return Exponent::kInteger;
}

Result FractionPower(double a, double b) {
  if (a > 0) {
    const double v = ExpLogPower(a, b);
    if (std::isinf(v)) return {0, kDivisionByZero};
    return {v, kNoError};
  }
  if (a == 0) return {0, kNoError};
  return {0, kNegativeBase};
}

Result Power(double a, double b) {
  std::int32_t e = 0;
  switch (ReadExponent(b, &e)) {
    case Exponent::kZero:
      return {1, kNoError};
    case Exponent::kFault:
      return {0, kDivisionByZero};
    case Exponent::kInteger:
      return IntegerPowerOf(a, e);
    default:
      return FractionPower(a, b);
  }
}
