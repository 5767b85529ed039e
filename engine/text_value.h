// The value a number takes part with once it has been written as its number text
// and read back, as happens to every group's value spliced into a formula.
#pragma once

// Exactly the value of its number text read back: equal to the value itself where
// the text shows 17 significant digits, rounded (half up, on the exact binary
// value) to the digits the text shows elsewhere. Fast for the usual ranges; the
// rest goes through the number text itself.
double NumberTextValue(double value);

// The same through the number text itself, always (the reference).
double NumberTextValueSlow(double value);
