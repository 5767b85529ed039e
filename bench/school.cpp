#include "bench/school.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/exp_log_power.h"
#include "engine/power.h"
#include "engine/text_value.h"

namespace {

constexpr double kLimit = 1e308;

// S_n and P_n with their limits, and a_n, from the terms in order.
struct HandFold {
  Quantities q;
  bool sum_open = true;
  bool product_open = true;

  void Take(std::uint16_t k, std::uint16_t n, double value, std::int32_t code) {
    if (k == n) q.term = {value, code};
    if (sum_open) {
      if (code != 0) {
        q.sum.code = code;
        sum_open = false;
      } else if (q.sum.value > kLimit - value || q.sum.value < -kLimit - value) {
        q.sum.code = 4;
        sum_open = false;
      } else {
        q.sum.value += value;
      }
    }
    if (product_open) {
      if (code != 0) {
        q.product.code = code;
        product_open = false;
      } else if (value != 0 && std::fabs(q.product.value) > kLimit / std::fabs(value)) {
        q.product.code = 4;
        product_open = false;
      } else {
        q.product.value *= value;
      }
    }
  }
};

typedef double V4 __attribute__((vector_size(32)));
typedef long long M4 __attribute__((vector_size(32)));

// base[l]^steps[l] (steps up to 65536) for 16 lanes, four vectors of chains;
// r[l] receives base^(steps - 1), the product the limit is tested on.
__attribute__((target_clones("avx2", "default"))) void Chains16(const double* base, const double* steps, double* r) {
  V4 b[4], s[4], p[4];
  std::memcpy(b, base, sizeof b);
  std::memcpy(s, steps, sizeof s);
  const V4 one = {1, 1, 1, 1};
  for (V4& v : p) v = one;
  const double fewest = *std::min_element(steps, steps + 16) - 1;
  const double most = *std::max_element(steps, steps + 16) - 1;
  long i = 0;
  for (; i < static_cast<long>(fewest); ++i) {
    p[0] *= b[0];
    p[1] *= b[1];
    p[2] *= b[2];
    p[3] *= b[3];
  }
  for (; i < static_cast<long>(most); ++i) {
    const double d = static_cast<double>(i) + 1;
    const V4 vi = {d, d, d, d};
    for (int j = 0; j < 4; ++j) {
      const M4 on = vi < s[j];
      p[j] *= reinterpret_cast<V4>((reinterpret_cast<M4>(b[j]) & on) | (reinterpret_cast<M4>(one) & ~on));
    }
  }
  std::memcpy(r, p, sizeof p);
}

// A request for base(k)^exponent(k) with 0 < exponent <= 65536 and bases whose
// group texts show them exactly: 16 terms side by side, the limit test on the
// last product before the final factor (the product never falls for |base| > 1).
template <typename Base, typename Exponent>
Quantities IndexPowers(std::uint16_t n, Base base, Exponent exponent) {
  HandFold fold;
  double b[16], s[16], r[16];
  for (int k0 = 1; k0 <= n; k0 += 16) {
    const int count = std::min(16, n - k0 + 1);
    for (int l = 0; l < 16; ++l) {
      const int k = k0 + std::min(l, count - 1);
      b[l] = base(k);
      s[l] = exponent(k);
    }
    Chains16(b, s, r);
    for (int l = 0; l < count; ++l) {
      const bool over = std::fabs(b[l]) > 1 && std::fabs(r[l]) >= kLimit / std::fabs(b[l]);
      fold.Take(static_cast<std::uint16_t>(k0 + l), n, over ? 0 : r[l] * b[l], over ? 4 : 0);
    }
  }
  return fold.q;
}

// (n/(n+1))^n: the groups show their values exactly (17 digits).
Quantities RatioPower(std::uint16_t n) {
  return IndexPowers(
      n, [](int k) { return k / (k + 1.0); }, [](int k) { return static_cast<double>(k); });
}

// (1+1/n)^n and (1+1/n)^(n+1).
Quantities CompoundPower(std::uint16_t n) {
  return IndexPowers(
      n, [](int k) { return 1 + 1.0 / k; }, [](int k) { return static_cast<double>(k); });
}

Quantities CompoundPowerNext(std::uint16_t n) {
  return IndexPowers(
      n, [](int k) { return 1 + 1.0 / k; }, [](int k) { return k + 1.0; });
}

// Terms one by one into the fold.
template <typename Term>
Quantities Terms(std::uint16_t n, Term term) {
  HandFold fold;
  for (int k = 1; k <= n; ++k) {
    const Result t = term(k);
    fold.Take(static_cast<std::uint16_t>(k), n, t.value, t.code);
  }
  return fold.q;
}

Result Reciprocal(Result p) {
  if (p.code != 0) return p;
  if (p.value == 0) return {0, 1};
  return {1 / p.value, 0};
}

// 1/n^1.5, n^(1/n), n^0.5: the non-integer power of the engine.
Quantities ReciprocalPowerOneAndAHalf(std::uint16_t n) {
  return Terms(n, [](int k) { return Reciprocal(FractionPower(k, 1.5)); });
}

Quantities RootOfN(std::uint16_t n) {
  return Terms(n, [](int k) {
    const double b = NumberTextValue(1.0 / k);  // the group (1/n) takes part with its text's digits
    return Power(k, b);
  });
}

Quantities SquareRoot(std::uint16_t n) {
  return Terms(n, [](int k) { return FractionPower(k, 0.5); });
}

// 1/n^2: the limit test before the one multiplication.
Quantities ReciprocalSquare(std::uint16_t n) {
  return Terms(n, [](int k) {
    const double x = k;
    if (x >= kLimit / x) return Result{0, 4};
    return Reciprocal({x * x, 0});
  });
}

}  // namespace

const SchoolFormula kSchoolFormulas[] = {
    {"(n/(n+1))^n", RatioPower},
    {"(1+1/n)^n", CompoundPower},
    {"(1+1/n)^(n+1)", CompoundPowerNext},
    {"1/n^1.5", ReciprocalPowerOneAndAHalf},
    {"n^(1/n)", RootOfN},
    {"n^0.5", SquareRoot},
    {"1/n^2", ReciprocalSquare},
    {"(-1)^(n+1)/n", nullptr},
    {"2^n/n!", nullptr},
    {"1/(n*(n+1))", nullptr},
    {"n!/n^n", nullptr},
    {"1/2^n", nullptr},
    {"(1-1/n)^n", nullptr},
    {"(n^2+1)/(2*n^2-3)", nullptr},
    {"(2*n)!/(n!)^2/4^n", nullptr},
    {"n^3/3^n", nullptr},
    {"(1+1/n^2)^n", nullptr},
    {"1/n^0.5", nullptr},
    {"n^n", nullptr},
    {"(n+1)^n/n^n", nullptr},
    {"0.9^n", nullptr},
    {"1/n", nullptr},
    {"n/(n+1)", nullptr},
    {"(1+2/n)^n", nullptr},
};
const int kSchoolFormulaCount = static_cast<int>(std::size(kSchoolFormulas));
