// The factorials 0! to 170!, computed once into a table.
#include "engine/arithmetic.h"

#include <array>

double FactorialValue(int m) {
  static const std::array<double, kMaxFactorial + 1> table = [] {
    std::array<double, kMaxFactorial + 1> t{};
    double f = 1;
    t[0] = 1;
    for (int i = 1; i <= kMaxFactorial; ++i) {
      if (i >= 2) f *= i;
      t[i] = f;
    }
    return t;
  }();
  return table[m];
}
