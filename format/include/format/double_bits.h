// The bits of an IEEE 754 double and the powers of ten that the number texts
// and the number reading work with exactly.
#pragma once

#include <array>
#include <cstdint>

#include "format/bit_cast.h"

// A double is a sign bit, 11 bits of biased exponent and 52 bits of mantissa;
// a normal double has an implicit leading 1 above the mantissa.
constexpr int kMantissaBits = 52;
constexpr std::uint64_t kMantissaMask = (std::uint64_t{1} << kMantissaBits) - 1;
constexpr std::uint64_t kImplicitBit = std::uint64_t{1} << kMantissaBits;
constexpr int kExponentBias = 1023;
// |v| = Significand x 2^(ExponentField - kSignificandShift) for a normal v.
constexpr int kSignificandShift = kExponentBias + kMantissaBits;

inline std::uint64_t BitsOf(double v) { return BitCast<std::uint64_t>(v); }
// The biased exponent field: 0 for zero and subnormals, 2047 for infinities and NaNs.
inline int ExponentField(std::uint64_t bits) { return static_cast<int>((bits >> kMantissaBits) & 0x7FF); }
// The integer significand of a normal double: mantissa and implicit bit (53 bits).
inline std::uint64_t Significand(std::uint64_t bits) { return (bits & kMantissaMask) | kImplicitBit; }

// 2^e for e from -1022 to 1023, exactly.
inline double TwoTo(int e) { return BitCast<double>(static_cast<std::uint64_t>(e + kExponentBias) << kMantissaBits); }

// 10^0 ... 10^(N-1) in T, each from the one before times 10: exact as long as
// T holds the powers exactly.
template <class T, int N>
constexpr std::array<T, N> PowersOfTen() {
  std::array<T, N> p{};
  p[0] = 1;
  for (int i = 1; i < N; ++i) p[i] = p[i - 1] * 10;
  return p;
}

// The powers of ten a double holds exactly (10^22 = 2^22 5^22, and 5^22 < 2^53).
inline constexpr std::array<double, 23> kExactPowersOfTen = PowersOfTen<double, 23>();
// The powers of ten a 64-bit unsigned integer holds.
inline constexpr std::array<std::uint64_t, 20> kPowersOfTen = PowersOfTen<std::uint64_t, 20>();
