#include "engine/power.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <vector>

#include "engine/arithmetic.h"

namespace {

bool NegativePower(double x, std::uint32_t m) { return std::signbit(x) && (m & 1); }

// The number of factors of x^e: |e|, also for the most negative e.
std::uint32_t Factors(std::int32_t e) {
  return e < 0 ? 0u - static_cast<std::uint32_t>(e) : static_cast<std::uint32_t>(e);
}

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
// every platform computes the same bits. T is a double, or a vector of doubles
// computed lane by lane with the same operations. (Only inlined functions of
// this file take and give such vectors: the warning that their passing differs
// on processors without wide vectors does not apply.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
template <class T>
struct Pair {
  T hi;
  T lo;
};
using DD = Pair<double>;

template <class T>
[[gnu::always_inline]] inline Pair<T> TwoSum(T a, T b) {
  T s = a + b;
  T v = s - a;
  T e = (a - (s - v)) + (b - v);
  return {s, e};
}

template <class T>
[[gnu::always_inline]] inline Pair<T> QuickTwoSum(T a, T b) {
  T s = a + b;
  return {s, b - (s - a)};
}

template <class T>
[[gnu::always_inline]] inline void Split(T a, T* hi, T* lo) {
  T t = 134217729.0 * a;  // 2^27 + 1
  *hi = t - (t - a);
  *lo = a - *hi;
}

template <class T>
[[gnu::always_inline]] inline Pair<T> TwoProduct(T a, T b) {
  T p = a * b;
  T ah, al, bh, bl;
  Split(a, &ah, &al);
  Split(b, &bh, &bl);
  T e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
  return {p, e};
}

template <class T>
[[gnu::always_inline]] inline Pair<T> Add(Pair<T> a, Pair<T> b) {
  Pair<T> s = TwoSum(a.hi, b.hi);
  Pair<T> t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

template <class T>
[[gnu::always_inline]] inline Pair<T> Mul(Pair<T> a, Pair<T> b) {
  Pair<T> p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

template <class T>
[[gnu::always_inline]] inline Pair<T> MulDouble(Pair<T> a, T b) {
  Pair<T> p = TwoProduct(a.hi, b);
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

// Many literal powers side by side: for each lane, steps[l] factors base[l]
// multiplied into r[l] (which starts at 1), independent chains interleaved
// across vectors of four lanes. The compiler keeps the vectors in registers and
// uses the widest instructions the function is built for; every product is one
// IEEE multiplication either way.
typedef double V4 __attribute__((vector_size(32)));
typedef long long M4 __attribute__((vector_size(32)));
constexpr int kChainVectors = 8;  // enough independent products to keep the multipliers busy
constexpr int kChainLanes = 4 * kChainVectors;
constexpr std::uint32_t kShortestChain = 8;
constexpr int TermLanes = 64;

// Lanes whose count of steps has run out take the factor 1, which keeps them.
#define VANTEL_ACTIVE(base, steps) \
  reinterpret_cast<V4>((reinterpret_cast<M4>(base) & (vi < (steps))) | (reinterpret_cast<M4>(one) & ~(vi < (steps))))

__attribute__((always_inline)) inline void ChainBody(const double* base, const double* steps, double* r) {
  V4 b[kChainVectors], s[kChainVectors], p[kChainVectors];
  const V4 one = {1, 1, 1, 1};
  for (int v = 0; v < kChainVectors; ++v) {
    std::memcpy(&b[v], base + 4 * v, sizeof b[v]);
    std::memcpy(&s[v], steps + 4 * v, sizeof s[v]);
    p[v] = one;
  }
  double fewest = steps[0], most = steps[0];
  for (int l = 1; l < kChainLanes; ++l) {
    fewest = std::min(fewest, steps[l]);
    most = std::max(most, steps[l]);
  }
  const long common = static_cast<long>(fewest);
  const long all = static_cast<long>(most);
  for (long i = 0; i < common; ++i) {
#pragma GCC unroll 8
    for (int v = 0; v < kChainVectors; ++v) p[v] *= b[v];
  }
  for (long i = common; i < all; ++i) {
    const double d = static_cast<double>(i);
    const V4 vi = {d, d, d, d};
#pragma GCC unroll 8
    for (int v = 0; v < kChainVectors; ++v) p[v] *= VANTEL_ACTIVE(b[v], s[v]);
  }
  for (int v = 0; v < kChainVectors; ++v) std::memcpy(r + 4 * v, &p[v], sizeof p[v]);
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
ChainsFunction Chains = PickChains();
#else
auto Chains = ChainsPlain;
#endif

}  // namespace

void UseWidestVectors(bool widest) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  Chains = widest ? PickChains() : ChainsPlain;
#else
  (void)widest;
#endif
}

std::size_t PowerNotes::KeyHash::operator()(const Key& k) const {
  return std::hash<std::uint64_t>()(k.base ^
                                    (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.exponent)) << 20));
}

void PowerNotes::StartNoting() {
  powers_.clear();
  state_ = State::kNoting;
}

void PowerNotes::ComputeNoted() {
  std::vector<Key> keys;
  keys.reserve(powers_.size());
  for (const auto& entry : powers_) keys.push_back(entry.first);
  // Chains of about the same length side by side: a vector takes as many steps as its longest.
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return Factors(a.exponent) != Factors(b.exponent) ? Factors(a.exponent) < Factors(b.exponent) : a.base < b.base;
  });
  const int count = static_cast<int>(keys.size());
  std::vector<double> x(count);
  std::vector<std::int32_t> e(count);
  std::vector<double> value(count);
  std::vector<std::int32_t> code(count);
  for (int l = 0; l < count; ++l) {
    x[l] = std::bit_cast<double>(keys[l].base);
    e[l] = keys[l].exponent;
  }
  IntegerPowers(count, x.data(), e.data(), value.data(), code.data());
  for (int l = 0; l < count; ++l) powers_[keys[l]] = {value[l], code[l]};
  state_ = State::kAnswering;
}

void PowerNotes::Stop() {
  state_ = State::kCounting;
  powers_.clear();
}

Result PowerNotes::IntegerPower(double x, std::int32_t e) {
  if (x == 0 || e == 0) return IntegerPowerOf(x, e);
  const std::uint32_t m = Factors(e);
  const bool long_literal = m >= kRecordedPowerSteps && m <= kLiteralPowerSteps;
  long_powers_ += long_literal;
  if (state_ != State::kCounting && long_literal) {
    const Key key{std::bit_cast<std::uint64_t>(x), e};
    if (state_ == State::kNoting) {
      powers_.emplace(key, Result{1, kNoError});
      return {1, kNoError};
    }
    if (const auto found = powers_.find(key); found != powers_.end()) return found->second;
  }
  return IntegerPowerOf(x, e);
}

Result IntegerPowerOf(double x, std::int32_t e) {
  if (x == 0) return {0, e < 0 ? kDivisionByZero : kNoError};
  if (e == 0) return {1, kNoError};
  const Result r = PositivePower(x, Factors(e));
  if (r.code != kNoError) return r;
  return FinishPower(r.value, e < 0);
}

void ConstantIntegerPowers(int count, const double* x, std::int32_t e, double* value, std::int32_t* code) {
  const std::uint32_t m = Factors(e);
  if (m < 2 || m > kShortestChain) {
    std::int32_t exponents[TermLanes];
    for (int l = 0; l < count; ++l) exponents[l] = e;
    IntegerPowers(count, x, exponents, value, code);
    return;
  }
  // Short products one lane after the other, the limit test on the last
  // product before the final factor as in IntegerPowers.
  for (int l = 0; l < count; ++l) {
    const double b = x[l];
    double before_last = b;
    for (std::uint32_t i = 2; i < m; ++i) before_last *= b;
    const double last = before_last * b;
    if (std::fabs(last) < kSurelyBelowLimit && last != 0 && e > 0) {
      value[l] = last;
      code[l] = kNoError;
      continue;
    }
    const Result p = b == 0                                                        ? IntegerPowerOf(b, e)
                     : std::fabs(b) > 1 && std::fabs(before_last) >= PowerLimit(b) ? Result{0, kOverflow}
                                                                                   : FinishPower(last, e < 0);
    value[l] = p.value;
    code[l] = p.code;
  }
}

// The lanes that need a literal product of two or more factors go through the
// chains: x^(m-1) with m - 1 factors, then the limit test on it (for |x| > 1 the
// product never falls, so the test before each factor fails first on the last
// one), then the last factor. For |x| < 1 the product never reaches the limit.
// The rest take IntegerPowerOf.
void IntegerPowers(int count, const double* x, const std::int32_t* e, double* value, std::int32_t* code) {
  // From x^(m-1) on: the limit test, then the last factor. A last product
  // surely below the limit decides the test without a division.
  auto Finish = [&](int l, double b, double before_last) {
    const double last = before_last * b;
    if (std::fabs(last) >= kSurelyBelowLimit && std::fabs(b) > 1 && std::fabs(before_last) >= PowerLimit(b)) {
      value[l] = 0;
      code[l] = kOverflow;
      return;
    }
    const Result f = FinishPower(last, e[l] < 0);
    value[l] = f.value;
    code[l] = f.code;
  };
  double base[kChainLanes];
  double steps[kChainLanes];
  double r[kChainLanes];
  int lane[kChainLanes];
  int held = 0;
  auto flush = [&] {
    if (held < 4) {  // too few to fill a vector: one by one, stopping early where they can
      for (int j = 0; j < held; ++j) {
        const Result p = IntegerPowerOf(base[j], e[lane[j]]);
        value[lane[j]] = p.value;
        code[lane[j]] = p.code;
      }
      held = 0;
      return;
    }
    for (int j = held; j < kChainLanes; ++j) {
      base[j] = 1;
      steps[j] = 0;
    }
    Chains(base, steps, r);
    for (int j = 0; j < held; ++j) Finish(lane[j], base[j], r[j]);
    held = 0;
  };
  for (int l = 0; l < count; ++l) {
    const std::uint32_t m = Factors(e[l]);
    if ((x[l] == 1 || x[l] == -1) && m != 0) {  // every product exact, far from the limit; so is 1 over it
      value[l] = x[l] < 0 && (m & 1) ? -1.0 : 1.0;
      code[l] = kNoError;
      continue;
    }
    if (m == 0 || m > kLiteralPowerSteps || x[l] == 0) {
      const Result p = IntegerPowerOf(x[l], e[l]);
      value[l] = p.value;
      code[l] = p.code;
      continue;
    }
    if (m <= kShortestChain) {  // short products are as quick one by one
      double before_last = 1;
      for (std::uint32_t i = 1; i < m; ++i) before_last *= x[l];
      Finish(l, x[l], before_last);
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

// e^y = e^r x 2^k: y = k ln 2 + r, e^r from its series at r / 256, squared
// eight times (the unevaluated sum; *k receives k).
DD ExpSeries(DD y, double* k) {
  *k = std::nearbyint(y.hi / kLn2.hi);
  DD r = Add(y, MulDouble(kLn2, -*k));
  r = MulDouble(r, 1.0 / 256);
  DD term = {1, 0};
  DD sum = {1, 0};
  for (int j = 1; j <= 14; ++j) {
    term = Div(Mul(term, r), DD{static_cast<double>(j), 0});
    sum = Add(sum, term);
  }
  for (int i = 0; i < 8; ++i) sum = Mul(sum, sum);
  return sum;
}

double Exp(DD y) {
  if (y.hi > 710) return HUGE_VAL;
  if (y.hi < -746) return 0;
  double k = 0;
  const DD sum = ExpSeries(y, &k);
  return std::ldexp(sum.hi + sum.lo, static_cast<int>(k));
}

double CarefulPower(double a, double b) { return Exp(MulDouble(Log(a), b)); }

// The fast way to the same value: table-driven logarithm and exponential in
// double-double, good to about 2^-75 of the result. Its value is taken only
// when it lies so far from the midpoint between two doubles that the careful
// value, no further from the true power, rounds to the same double.
constexpr int kLogSteps = 1024;  // table steps per unit of the mantissa m in [0.75, 1.5)
constexpr int kLogEntries = 768;
constexpr int kExpEntries = 1024;  // 2^(j/1024)

struct Tables {
  double inverse[kLogEntries];  // c near 1/m: m c - 1 is small
  DD minus_log[kLogEntries];    // -ln c
  DD exp2[kExpEntries];         // 2^(j/1024)
};

const Tables& FastTables() {
  static const Tables tables = [] {
    Tables t{};
    for (int i = 0; i < kLogEntries; ++i) {
      // Next to 1 the factor is 1 itself, so that ln m loses nothing to cancellation.
      const bool next_to_one = i == kLogSteps / 4 - 1 || i == kLogSteps / 4;
      t.inverse[i] = next_to_one ? 1.0 : 1.0 / (0.75 + (i + 0.5) / kLogSteps);
      const DD l = next_to_one ? DD{0, 0} : Log(t.inverse[i]);
      t.minus_log[i] = {-l.hi, -l.lo};
    }
    for (int j = 0; j < kExpEntries; ++j) {
      double k = 0;
      const DD sum = ExpSeries(MulDouble(kLn2, static_cast<double>(j) / kExpEntries), &k);
      const double scale = TwoTo(static_cast<int>(k));
      t.exp2[j] = {sum.hi * scale, sum.lo * scale};
    }
    return t;
  }();
  return tables;
}

// a + b where the two do not nearly cancel.
template <class T>
[[gnu::always_inline]] inline Pair<T> AddNear(Pair<T> a, Pair<T> b) {
  Pair<T> s = TwoSum(a.hi, b.hi);
  s.lo += a.lo + b.lo;
  return QuickTwoSum(s.hi, s.lo);
}

// r + h r^2 + r^3 w for a small r, h = 1/2 or -1/2 and a w in double: r^2
// exactly, r^3 w in double, within |r|^3 2^-50 for a |w| below 0.34 that is
// itself within 2^-53.
template <class T>
[[gnu::always_inline]] inline Pair<T> PlusSquareCube(Pair<T> r, double h, T w) {
  const T x = r.hi;
  Pair<T> square = TwoProduct(x, x);
  square.lo += 2 * x * r.lo;
  return AddNear(r, Pair<T>{h * square.hi, h * square.lo + ((x * x) * x) * w});
}

// The fast way computes several powers side by side, each lane with the same
// operations as alone: independent chains of dependent steps keep the
// processor busier than one.
constexpr int kFastLanes = 4;
typedef double Lanes __attribute__((vector_size(8 * kFastLanes)));
typedef long long LaneMask __attribute__((vector_size(8 * kFastLanes)));
typedef unsigned long long LaneBits __attribute__((vector_size(8 * kFastLanes)));

[[gnu::always_inline]] inline Lanes Broadcast(double x) {
  Lanes v;
  for (int l = 0; l < kFastLanes; ++l) v[l] = x;
  return v;
}
[[gnu::always_inline]] inline Pair<Lanes> Broadcast(DD x) { return {Broadcast(x.hi), Broadcast(x.lo)}; }
[[gnu::always_inline]] inline Pair<Lanes> Entries(const DD* table, const int* i) {
  Pair<Lanes> v;
  for (int l = 0; l < kFastLanes; ++l) {
    v.hi[l] = table[i[l]].hi;
    v.lo[l] = table[i[l]].lo;
  }
  return v;
}

// ln a for a > 0 normal: a = m 2^k, m in [0.75, 1.5); ln m = -ln c + ln(1 + r)
// with r = m c - 1 exact in double-double and |r| at most 2^-10. *cube
// receives |r.hi|^3: the series' last part moves the logarithm by |r|^3 2^-50
// at most.
[[gnu::always_inline]] inline Pair<Lanes> FastLog(Lanes a, const Tables& t, Lanes* cube) {
  const LaneBits bits = reinterpret_cast<LaneBits>(a);
  const LaneMask exponent = reinterpret_cast<LaneMask>(bits >> 52) - 1023;
  const LaneBits mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1023} << 52);
  Lanes m = reinterpret_cast<Lanes>(mantissa);
  const LaneMask high = m >= 1.5;  // all bits set where true
  m = high ? m * 0.5 : m;
  const LaneMask k = exponent - high;
  const Lanes steps = (m - 0.75) * kLogSteps;
  int i[kFastLanes];
  Lanes c;
  for (int l = 0; l < kFastLanes; ++l) {
    i[l] = static_cast<int>(steps[l]);
    c[l] = t.inverse[i[l]];
  }
  const Pair<Lanes> p = TwoProduct(m, c);
  const Pair<Lanes> r = TwoSum(p.hi - 1, p.lo);
  // ln(1 + r) = r - r^2/2 + r^3 (1/3 - r/4 + r^2/5 - r^3/6 + r^4/7 - r^5/8).
  const Lanes x = r.hi;
  const Lanes x2 = x * x;
  const Lanes magnitude = x < 0 ? -x : x;
  *cube = x2 * magnitude;
  const Lanes w = (1.0 / 3 - x * 0.25) + x2 * ((0.2 - x * (1.0 / 6)) + x2 * (1.0 / 7 - x * 0.125));
  const Pair<Lanes> log1p = PlusSquareCube(r, -0.5, w);
  const Pair<Lanes> log_m = AddNear(Entries(t.minus_log, i), log1p);
  // |k ln 2| is at least twice |ln m| where k is not 0: no cancellation either;
  // for k = 0 the sum is log_m itself.
  Lanes kd;
  for (int l = 0; l < kFastLanes; ++l) kd[l] = static_cast<double>(k[l]);
  return AddNear(MulDouble(Broadcast(kLn2), kd), log_m);
}

// e^y for |y| below 700: y = (1024 q + j) ln 2 / 1024 + r, |r| at most ln 2 / 2048.
[[gnu::always_inline]] inline Pair<Lanes> FastExp(Pair<Lanes> y, const Tables& t, int* q) {
  const Lanes scaled = y.hi * (kExpEntries / kLn2.hi);
  Lanes n;
  int j[kFastLanes];
  for (int l = 0; l < kFastLanes; ++l) {
    n[l] = NearestInteger(scaled[l]);
    const int whole = static_cast<int>(n[l]);
    j[l] = whole & (kExpEntries - 1);
    q[l] = (whole - j[l]) / kExpEntries;
  }
  const DD step = {kLn2.hi / kExpEntries, kLn2.lo / kExpEntries};
  const Pair<Lanes> r = Add(y, MulDouble(Broadcast(step), -n));
  // e^r = 1 + r + r^2/2 + r^3 (1/6 + r/24 + r^2/120 + r^3/720).
  const Lanes x = r.hi;
  const Lanes x2 = x * x;
  const Lanes w = (1.0 / 6 + x * (1.0 / 24)) + x2 * (1.0 / 120 + x * (1.0 / 720));
  const Pair<Lanes> u = AddNear(Pair<Lanes>{Broadcast(1.0), Broadcast(0.0)}, PlusSquareCube(r, 0.5, w));
  return Mul(Entries(t.exp2, j), u);
}

// The fast values of a[l]^b[l] in v[l] for the kFastLanes lanes; bit l of the
// result is set where lane l's value is decided (its last bit sure).
[[gnu::always_inline]] inline unsigned FastPowers(const double* a, const double* b, double* v) {
  const Tables& t = FastTables();
  bool usable[kFastLanes];
  Lanes base, exponent;
  for (int l = 0; l < kFastLanes; ++l) {
    exponent[l] = b[l];
    usable[l] = a[l] >= 0x1p-1022 && a[l] < HUGE_VAL;
    base[l] = usable[l] ? a[l] : 1.0;  // a lane left out computes 1^b
  }
  Lanes cube;
  const Pair<Lanes> product = MulDouble(FastLog(base, t, &cube), exponent);
  const LaneMask inside = (product.hi < 700) & (product.hi > -700);
  const Pair<Lanes> y = {inside ? product.hi : 0, inside ? product.lo : 0};
  int q[kFastLanes];
  const Pair<Lanes> e = FastExp(y, t, q);
  const Lanes d = e.hi + e.lo;
  const Lanes off = (e.hi - d) + e.lo;  // from d to the double-double
  // The error bound of both ways with room to spare: relative 2^-70 (1 + |y|)
  // from the tables, the series and the double-double steps, and b times the
  // logarithm's error |r|^3 2^-50 (taken four times over).
  const Lanes magnitude_y = y.hi < 0 ? -y.hi : y.hi;
  const Lanes magnitude_b = exponent < 0 ? -exponent : exponent;
  const Lanes bound = d * 0x1p-70 * (1 + magnitude_y) + d * ((magnitude_b * cube) * 0x1p-48);
  unsigned decided = 0;
  for (int l = 0; l < kFastLanes; ++l) {
    // Half the gap to the next double away from d, the gap below a power of
    // two being half as wide.
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(d[l]);
    const std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    const int power = static_cast<int>(bits >> 52) - 1023;
    const double half_gap = TwoTo(power - 53) * (mantissa == 0 ? 0.5 : 1.0);
    if (usable[l] && inside[l] && std::fabs(off[l]) + bound[l] < half_gap) {
      v[l] = d[l] * TwoTo(q[l]);
      decided |= 1u << l;
    }
  }
  return decided;
}

#pragma GCC diagnostic pop

}  // namespace

double CarefulExpLogPower(double a, double b) { return CarefulPower(a, b); }

double ExpLogPower(double a, double b) {
  double pa[kFastLanes], pb[kFastLanes], v[kFastLanes] = {};
  for (int l = 0; l < kFastLanes; ++l) {
    pa[l] = a;
    pb[l] = b;
  }
  if (FastPowers(pa, pb, v) & 1) return v[0];
  return CarefulPower(a, b);
}

Exponent ReadExponent(double b, std::int32_t* e) {
  if (b == 0) return Exponent::kZero;
  const double magnitude = std::fabs(b);
  if (magnitude >= 2147483648.0) return Exponent::kFault;
  const double rounded = NearestInteger(magnitude);
  if (rounded >= 2147483648.0) return Exponent::kFault;
  if (magnitude != rounded) return Exponent::kFraction;
  const std::int32_t whole = static_cast<std::int32_t>(rounded);
  *e = b < 0 ? -whole : whole;
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

void FractionPowers(int count, const double* a, const double* b, double* value, std::int32_t* code) {
  for (int l = 0; l < count; l += kFastLanes) {
    double pa[kFastLanes], pb[kFastLanes], v[kFastLanes] = {};
    for (int j = 0; j < kFastLanes; ++j) {  // lanes past the end repeat the last pair
      const int from = std::min(l + j, count - 1);
      pa[j] = a[from];
      pb[j] = b[from];
    }
    const unsigned decided = FastPowers(pa, pb, v);
    for (int j = 0; j < kFastLanes && l + j < count; ++j) {
      if (decided >> j & 1) {
        value[l + j] = v[j];
        code[l + j] = kNoError;
      } else {
        const Result r = FractionPower(a[l + j], b[l + j]);
        value[l + j] = r.value;
        code[l + j] = r.code;
      }
    }
  }
}

Result Power(double a, double b) { return Power(a, b, nullptr); }

Result Power(double a, double b, PowerNotes* notes) {
  std::int32_t e = 0;
  switch (ReadExponent(b, &e)) {
    case Exponent::kZero:
      return {1, kNoError};
    case Exponent::kFault:
      return {0, kDivisionByZero};
    case Exponent::kInteger:
      return notes ? notes->IntegerPower(a, e) : IntegerPowerOf(a, e);
    default:
      return FractionPower(a, b);
  }
}
