// Powers of ten, decades and decimal logarithms, the same bits on every platform.
//
// Method:
// - PowerOfTen reads "1E<e>" with ReadNumber, which rounds correctly, once for
//   each e from -324 to 308.
// - Decade starts from the binary exponent of v (floor(b log10 2) in integer
//   arithmetic) and moves to the largest d with PowerOfTen(d) <= v.
// - Log10(v) = d + log10(v / PowerOfTen(d)), with d the decade of v or the one
//   above, whichever is nearer, and the quotient r in [1/sqrt 10, sqrt 10) split
//   into m 2^k with m in [1/sqrt 2, sqrt 2): log10 r = k log10 2 + ln m log10 e,
//   ln m = 2 atanh((m - 1) / (m + 1)) from its series. A subnormal v is first
//   scaled by 2^64 (exactly), its logarithm then lowered by 64 log10 2.
#include "cli/decades.h"

#include <array>
#include <cmath>
#include <string>

#include "format/number_reading.h"

namespace {

constexpr int kLowest = -324;  // 10^-324 rounds to 0
constexpr int kHighest = 308;  // 10^309 is beyond the doubles

constexpr double kLog10Of2 = 0.30102999566398119521;
constexpr double kLog10OfE = 0.43429448190325182765;
constexpr double kSqrtHalf = 0.70710678118654752440;
constexpr double kSqrtTen = 3.16227766016837933200;
constexpr double kSmallestNormal = 2.2250738585072014e-308;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr double kLog10OfTwoTo64 = 19.265919722494796493;  // 64 log10 2

using Powers = std::array<double, kHighest - kLowest + 1>;

const Powers& PowersOfTen() {
  static const Powers powers = [] {
    Powers p{};
    for (int e = kLowest; e <= kHighest; ++e) {
      bool overflow = false;
      ReadNumber("1E" + std::to_string(e), &p[static_cast<std::size_t>(e - kLowest)], &overflow);
    }
    return p;
  }();
  return powers;
}

// 1, 1/3, 1/5 ... 1/25: the coefficients of the series of LogNearOne.
constexpr std::array<double, 13> kOddReciprocals = [] {
  std::array<double, 13> r{};
  for (int i = 0; i < 13; ++i) r[static_cast<std::size_t>(i)] = 1.0 / (2 * i + 1);
  return r;
}();

// ln m for m in [1/sqrt 2, sqrt 2): 2 (s + s^3/3 + s^5/5 + ...), s = (m - 1) / (m + 1),
// |s| < 0.172, so that 13 terms leave less than 2^-60 of the sum.
double LogNearOne(double m) {
  const double s = (m - 1) / (m + 1);
  const double s2 = s * s;
  double sum = kOddReciprocals[12];
  for (int i = 11; i >= 0; --i) sum = kOddReciprocals[static_cast<std::size_t>(i)] + s2 * sum;
  return 2 * s * sum;
}

}  // namespace

double PowerOfTen(int e) {
  if (e < kLowest) return 0;
  if (e > kHighest) return HUGE_VAL;
  return PowersOfTen()[static_cast<std::size_t>(e - kLowest)];
}

int Decade(double v) {
  int b = 0;
  std::frexp(v, &b);  // v = f 2^b, f in [0.5, 1): 2^(b-1) <= v < 2^b
  // floor((b - 1) log10 2), with log10 2 as 78913 / 2^18 (right for |b| < 2000).
  int d = ((b - 1) * 78913) >> 18;
  while (d < kHighest && PowerOfTen(d + 1) <= v) ++d;
  while (d > kLowest && PowerOfTen(d) > v) --d;
  return d;
}

double Log10(double v) {
  if (v < kSmallestNormal) return Log10(v * kTwoTo64) - kLog10OfTwoTo64;
  // From the nearer of the two powers of ten around v, so that a v just below one
  // loses nothing to the cancellation of d + log10 r.
  int d = Decade(v);
  if (d < kHighest && v >= kSqrtTen * PowerOfTen(d)) ++d;
  const double r = v / PowerOfTen(d);
  int k = 0;
  double m = std::frexp(r, &k);  // exact: r = m 2^k, m in [0.5, 1)
  if (m < kSqrtHalf) {
    m *= 2;
    --k;
  }
  return d + (k * kLog10Of2 + LogNearOne(m) * kLog10OfE);
}
