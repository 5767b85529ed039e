// Formulas of up to 254 characters whose term texts get long enough at n = 65535
// to be cut at 255 characters, or that hold many long powers: the costliest
// requests there are, each timed as a whole (a_n, S_n and P_n at n = 65535).
#pragma once

#include <string>
#include <vector>

struct LongFormula {
  std::string name;
  std::string text;
};

std::vector<LongFormula> LongFormulas();
