// The bottom of the engine: result codes, limits and the {value, code} record
// that every step hands to the next.
#pragma once

#include <cstdint>

// Result codes left by the evaluator and the sequence quantities.
enum : std::int32_t {
  kNoError = 0,
  kDivisionByZero = 1,  // also every arithmetic fault caught by a guard
  kFactorialRange = 2,
  kNegativeBase = 3,
  kOverflow = 4,
};

constexpr double kOverflowLimit = 1e308;  // powers, sums and products stop before this
constexpr int kMaxFactorial = 170;        // 171! is beyond a double

// A product |p| x |v| that rounds below this leaves |p| below 1e308 / |v| rounded:
// the limit tests that divide are decided without dividing.
constexpr double kSurelyBelowLimit = kOverflowLimit * (1 - 0x1p-50);

// Which of the quantities a_n, S_n and P_n a computation wants (or'ed together).
enum Want : unsigned { kWantTerm = 1, kWantSum = 2, kWantProduct = 4 };

// A value and its code; the value is used only when the code is 0.
struct Result {
  double value = 0;
  std::int32_t code = kNoError;
};
