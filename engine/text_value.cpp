// The value a number reads back as from its number text: by 128-bit integers where they can, else the text.
#include "engine/text_value.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "format/double_bits.h"
#include "format/number_reading.h"
#include "format/number_text.h"

double NumberTextValueSlow(double value) {
  double read = 0;
  bool overflow = false;
  ReadNumber(FormatNumber(value).view(), &read, &overflow);
  return read;
}

#ifdef __SIZEOF_INT128__

namespace {

using U128 = unsigned __int128;

constexpr std::array<U128, 39> kPowers = PowersOfTen<U128, 39>();

U128 Pow10(int t) { return kPowers[t]; }

constexpr std::uint64_t kTwo53 = std::uint64_t{1} << 53;

// |value| = m x 2^e with m an integer below 2^53 (value normal and not zero).
void Decompose(double magnitude, std::uint64_t* m, int* e) {
  const std::uint64_t bits = BitsOf(magnitude);
  *m = Significand(bits);
  *e = ExponentField(bits) - kSignificandShift;
}

// num / den rounded half up, num + den / 2 kept below 2^128 by the callers.
U128 RoundHalfUp(U128 num, U128 den) { return (num + den / 2) / den; }

// 15 significant digits for magnitudes in [1e14, 1e36): D x 10^t with
// 10^14 <= D <= 10^15 and t from 0 to 21. Products stay below 2^121.
bool ShortFormLarge(double magnitude, double* result) {
  std::uint64_t m;
  int e;
  Decompose(magnitude, &m, &e);
  U128 num = m;
  U128 scale = 1;  // den = 10^t x scale
  if (e >= 0) {
    num <<= e;
  } else {
    scale <<= -e;
  }
  int t = static_cast<int>(std::floor(std::log10(magnitude))) - 14;
  if (t < 0) t = 0;
  for (int tries = 0; tries < 3; ++tries) {
    U128 den = Pow10(t) * scale;
    U128 q = num / den;
    if (q >= Pow10(15) && t < 21) {
      ++t;
    } else if (q < Pow10(14) && t > 0) {
      --t;
    } else {
      if (q < Pow10(14) || q >= Pow10(15)) return false;
      U128 d = RoundHalfUp(num, den);
      *result = static_cast<double>(static_cast<std::uint64_t>(d)) * kExactPowersOfTen[t];
      return true;
    }
  }
  return false;
}

// The fixed text's 17 decimals for magnitudes in [1e-5, 0.1): D / 10^17.
bool FixedDecimals(double magnitude, double* result) {
  std::uint64_t m;
  int e;
  Decompose(magnitude, &m, &e);  // e is between -70 and -56 here
  U128 num = U128{m} * static_cast<U128>(Pow10(17));
  U128 d = RoundHalfUp(num, U128{1} << -e);
  if (d > kTwo53) return false;  // the quotient would not be one rounding
  *result = static_cast<double>(static_cast<std::uint64_t>(d)) / 1e17;
  return true;
}

// 15 significant digits for magnitudes in [1e-24, 1e-5): D / 10^t, t from 20 to
// 38. m x 10^t takes up to 180 bits: it is held as hi x 2^64 + lo, and the
// binary exponent e is below -64, so the low 64 bits never reach the quotient.
bool ShortFormSmall(double magnitude, double* result) {
  std::uint64_t m;
  int e;
  Decompose(magnitude, &m, &e);  // e is between -132 and -69 here
  int t = 14 - static_cast<int>(std::floor(std::log10(magnitude)));
  for (int tries = 0; tries < 3; ++tries) {
    if (t < 20 || t > 38) return false;
    const U128 p = Pow10(t);
    const U128 low = U128{m} * static_cast<std::uint64_t>(p);
    const U128 hi = (low >> 64) + U128{m} * static_cast<std::uint64_t>(p >> 64);
    const int shift = -e - 64;  // from 5 to 68
    U128 q = hi >> shift;
    if (q >= Pow10(15)) {
      --t;
    } else if (q < Pow10(14)) {
      ++t;
    } else {
      const std::uint64_t d = static_cast<std::uint64_t>((hi + (U128{1} << (shift - 1))) >> shift);
      if (t <= 22) {
        *result = static_cast<double>(d) / kExactPowersOfTen[t];
        return true;
      }
      // Beyond the exact powers of ten: the digits read back as a text would be.
      char text[40];
      int n = std::snprintf(text, sizeof text, "%llue-%d", static_cast<unsigned long long>(d), t);
      bool overflow = false;
      return ReadNumber(std::string_view(text, n), result, &overflow) && !overflow;
    }
  }
  return false;
}

}  // namespace

double NumberTextValueRounded(double value) {
  const double magnitude = std::fabs(value);
  const bool negative = std::signbit(value);
  // Zero, and the ranges where the text shows 17 significant digits: the fixed
  // text from 0.1 up to 16 characters before the point, the long form from 1e36.
  if (magnitude == 0) return value;
  if (magnitude >= 0.1) {
    if (magnitude < (negative ? 1e14 : 1e15) || magnitude >= 1e36) return value;
    double r;
    if (magnitude < 9.9999999999999e35 && ShortFormLarge(magnitude, &r)) return negative ? -r : r;
    return NumberTextValueSlow(value);
  }
  double r;
  if (magnitude >= 1e-5) {
    if (FixedDecimals(magnitude, &r)) return negative ? -r : r;
  } else if (magnitude >= 1e-24) {
    if (ShortFormSmall(magnitude, &r)) return negative ? -r : r;
  }
  return NumberTextValueSlow(value);
}

#else

// Without 128-bit integers only the ranges where the text is exact are fast.
double NumberTextValueRounded(double value) {
  const double magnitude = std::fabs(value);
  if (magnitude == 0) return value;
  if (magnitude >= 0.1 && (magnitude < (std::signbit(value) ? 1e14 : 1e15) || magnitude >= 1e36)) return value;
  return NumberTextValueSlow(value);
}

#endif
