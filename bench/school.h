// The textbook sequences of a school course, each timed as a whole term request
// (a_n, S_n and P_n at n = 65535); the first seven also written by hand.
#pragma once

#include "engine/sequence.h"

using HandRequest = Quantities (*)(std::uint16_t n);

struct SchoolFormula {
  const char* text;
  HandRequest hand;  // nullptr: no hand-written counterpart
};

extern const SchoolFormula kSchoolFormulas[];
extern const int kSchoolFormulaCount;
