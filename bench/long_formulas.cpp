#include "bench/long_formulas.h"

#include <functional>

namespace {

constexpr std::size_t kLongest = 254;

// unit(1) sep unit(2) sep ... as long as it fits, then sep "1" as long as it fits
// (so that a cut at 255 characters falls in the ones and leaves the terms valid).
std::string Joined(const std::function<std::string(int)>& unit, int units, const std::string& sep, bool pad) {
  std::string s;
  for (int i = 1; i <= units; ++i) {
    const std::string next = s.empty() ? unit(i) : s + sep + unit(i);
    if (next.size() > kLongest) break;
    s = next;
  }
  while (pad && s.size() + sep.size() + 1 <= kLongest) s += sep + "1";
  return s;
}

std::string Nested(int depth, int tail) {
  std::string s = std::string(depth, '(') + "n" + std::string(depth, ')');
  for (int i = 0; i < tail; ++i) s += "+n";
  return s;
}

}  // namespace

std::vector<LongFormula> LongFormulas() {
  auto ratio = [](int i) { return "(n/(n+" + std::to_string(i) + "))^n"; };
  auto compound = [](int i) { return "(1-1/(n+" + std::to_string(i) + "))^n"; };
  return {
      {"ten (n/(n+i))^n", Joined(ratio, 10, "+", false)},
      {"ten (n/(n+1))^n", Joined([](int) { return std::string("(n/(n+1))^n"); }, 10, "+", false)},
      {"ten (1-1/(n+i))^n, ones", Joined(compound, 10, "+", true)},
      {"eight (n/(n+i))^(n+i), ones",
       Joined([](int i) { return "(n/(n+" + std::to_string(i) + "))^(n+" + std::to_string(i) + ")"; }, 8, "+", true)},
      {"sum of n", Joined([](int) { return std::string("n"); }, 200, "+", false)},
      {"(n/7) times", Joined([](int) { return std::string("(n/7)"); }, 200, "*", false)},
      {"n)*(n+1+...", Joined([](int i) { return std::string(i == 1 ? "n)*(n" : "1"); }, 200, "+", false)},
      {"nested 80 and n", Nested(80, 40)},
      {"nested 120 and n", Nested(120, 6)},
      {"n^0.5 sum", Joined([](int) { return std::string("n^0.5"); }, 200, "+", false)},
      {"1.0001^n quotients", Joined([](int) { return std::string("1.0001^n"); }, 200, "/", false)},
      {"ten 0.9999999^(2147483647-n)",
       Joined([](int) { return std::string("0.9999999^(2147483647-n)"); }, 10, "+", false)},
  };
}
