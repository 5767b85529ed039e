// The value a number takes part with once it has been written as its number text
// and read back, as happens to every group's value spliced into a formula.
#pragma once

// Exactly the value of its number text read back: equal to the value itself where
// the text shows 17 significant digits, rounded (half up, on the exact binary
// value) to the digits the text shows elsewhere. Fast for the usual ranges; the
// rest goes through the number text itself (NumberTextValueSlow).
double NumberTextValueRounded(double value);
double NumberTextValueSlow(double value);
inline double NumberTextValue(double value) {
  const double magnitude = value < 0 ? -value : value;
  if (magnitude >= 0.1 && magnitude < 1e14) return value;  // 17 significant digits, either sign
  return NumberTextValueRounded(value);
}
