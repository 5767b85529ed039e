// a^b = e^(b ln a) for a positive a and an exponent that is not an integer,
// correctly rounded but for the rarest ties, the same bits on every platform.
//
// Method and special cases:
// - The careful way defines the value: ln a from the series of atanh in
//   double-double, times b, and e^y from its series at y / 256 squared eight
//   times. Above e^710 the value is an infinity, below e^-746 it is 0.
// - The fast way, four powers side by side: table-driven logarithm and
//   exponential in double-double, good to about 2^-75. Its value is taken only
//   where it lies so far from the midpoint between two doubles that the careful
//   value rounds to the same double; subnormal or infinite bases, and products
//   b ln a beyond +-700, always take the careful way.
// - FractionPower: an infinity is code 1; a = 0 gives 0; a < 0 is code 3.
#include "engine/exp_log_power.h"

#include <algorithm>
#include <cmath>

#include "engine/arithmetic.h"
#include "engine/double_double.h"
#include "format/double_bits.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

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
  const LaneMask exponent = reinterpret_cast<LaneMask>(bits >> kMantissaBits) - kExponentBias;
  const LaneBits mantissa = (bits & kMantissaMask) | (std::uint64_t{kExponentBias} << kMantissaBits);
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
    const std::uint64_t bits = BitsOf(d[l]);
    const std::uint64_t mantissa = bits & kMantissaMask;
    const int power = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
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
