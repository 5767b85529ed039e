// Many integer powers side by side, each with exactly the value and code
// IntegerPowerOf gives it.
//
// Method and special cases:
// - Bases 1 and -1: every product exact and far from the limit.
// - Exponent 0, beyond kLiteralPowerSteps, or base 0: IntegerPowerOf.
// - Up to kShortestChain factors: one by one.
// - The rest: x^(m-1) in chains of vectors, 32 lanes at a time (fewer than four
//   left over: IntegerPowerOf), then the limit test on x^(m-1) and the last
//   factor. For |x| > 1 the product never falls, so the test before each factor
//   fails first on the last one; for |x| < 1 it never reaches the limit.
// - The chains run in the widest vector instructions the processor has (AVX2
//   where there is one), chosen once at start, or in the plain ones when the
//   caller asks; every product is one IEEE multiplication either way.
#include "engine/power_chains.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/integer_power.h"

namespace {

// Many literal powers side by side: for each lane, steps[l] factors base[l]
// multiplied into r[l] (which starts at 1), independent chains interleaved
// across vectors of four lanes. The compiler keeps the vectors in registers and
// uses the widest instructions the function is built for; every product is one
// IEEE multiplication either way.
typedef double V4 __attribute__((vector_size(32)));
typedef long long M4 __attribute__((vector_size(32)));
constexpr int kChainVectors = 8;  // enough independent products to keep the multipliers busy
constexpr int kChainLanes = 4 * kChainVectors;
constexpr std::uint32_t kShortestChain = 8;
constexpr int kMostLanes = 64;  // ConstantIntegerPowers takes at most this many

// Lanes whose count of steps has run out take the factor 1, which keeps them.
#define VANTEL_ACTIVE(base, steps) \
  reinterpret_cast<V4>((reinterpret_cast<M4>(base) & (vi < (steps))) | (reinterpret_cast<M4>(one) & ~(vi < (steps))))

__attribute__((always_inline)) inline void ChainBody(const double* base, const double* steps, double* r) {
  V4 b[kChainVectors], s[kChainVectors], p[kChainVectors];
  const V4 one = {1, 1, 1, 1};
  for (int v = 0; v < kChainVectors; ++v) {
    std::memcpy(&b[v], base + 4 * v, sizeof b[v]);
    std::memcpy(&s[v], steps + 4 * v, sizeof s[v]);
    p[v] = one;
  }
  double fewest = steps[0], most = steps[0];
  for (int l = 1; l < kChainLanes; ++l) {
    fewest = std::min(fewest, steps[l]);
    most = std::max(most, steps[l]);
  }
  const long common = static_cast<long>(fewest);
  const long all = static_cast<long>(most);
  for (long i = 0; i < common; ++i) {
#pragma GCC unroll 8
    for (int v = 0; v < kChainVectors; ++v) p[v] *= b[v];
  }
  for (long i = common; i < all; ++i) {
    const double d = static_cast<double>(i);
    const V4 vi = {d, d, d, d};
#pragma GCC unroll 8
    for (int v = 0; v < kChainVectors; ++v) p[v] *= VANTEL_ACTIVE(b[v], s[v]);
  }
  for (int v = 0; v < kChainVectors; ++v) std::memcpy(r + 4 * v, &p[v], sizeof p[v]);
}
#undef VANTEL_ACTIVE

using ChainsFunction = void (*)(const double* base, const double* steps, double* r);

void ChainsPlain(const double* base, const double* steps, double* r) { ChainBody(base, steps, r); }

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("avx2"))) void ChainsAvx2(const double* base, const double* steps, double* r) {
  ChainBody(base, steps, r);
}

ChainsFunction PickWidestChains() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? ChainsAvx2 : ChainsPlain;
}
#else
ChainsFunction PickWidestChains() { return ChainsPlain; }
#endif

// The processor's choice, made once at start.
const ChainsFunction kWidestChains = PickWidestChains();

}  // namespace

void ConstantIntegerPowers(int count, const double* x, std::int32_t e, double* value, std::int32_t* code) {
  const std::uint32_t m = FactorCount(e);
  if (m < 2 || m > kShortestChain) {
    std::int32_t exponents[kMostLanes];
    for (int l = 0; l < count; ++l) exponents[l] = e;
    IntegerPowers(count, x, exponents, value, code);
    return;
  }
  // Short products one lane after the other, the limit test on the last
  // product before the final factor as in IntegerPowers.
  for (int l = 0; l < count; ++l) {
    const double b = x[l];
    double before_last = b;
    for (std::uint32_t i = 2; i < m; ++i) before_last *= b;
    const double last = before_last * b;
    if (std::fabs(last) < kSurelyBelowLimit && last != 0 && e > 0) {
      value[l] = last;
      code[l] = kNoError;
      continue;
    }
    const Result p = b == 0                                                        ? ZeroPower(e)
                     : std::fabs(b) > 1 && std::fabs(before_last) >= PowerLimit(b) ? Result{0, kOverflow}
                                                                                   : FinishPower(last, e < 0);
    value[l] = p.value;
    code[l] = p.code;
  }
}

namespace {

// The powers of IntegerPowers: value[l], code[l] for x[l]^e[l].
struct PowerLanes {
  const double* x;
  const std::int32_t* e;
  double* value;
  std::int32_t* code;

  void Set(int l, Result r) {
    value[l] = r.value;
    code[l] = r.code;
  }

  // From x^(m-1) on: the limit test, then the last factor. A last product
  // surely below the limit decides the test without a division.
  void Finish(int l, double b, double before_last) {
    const double last = before_last * b;
    if (std::fabs(last) >= kSurelyBelowLimit && std::fabs(b) > 1 && std::fabs(before_last) >= PowerLimit(b)) {
      Set(l, {0, kOverflow});
      return;
    }
    Set(l, FinishPower(last, e[l] < 0));
  }
};

// The lanes held for the chains, x^(m-1) computed for all of them at once.
struct HeldChains {
  ChainsFunction multiply;  // in the vector instructions asked for
  double base[kChainLanes];
  double steps[kChainLanes];
  double r[kChainLanes];
  int lane[kChainLanes];
  int held = 0;

  void Flush(PowerLanes* out) {
    if (held < 4) {  // too few to fill a vector: one by one, stopping early where they can
      for (int j = 0; j < held; ++j) out->Set(lane[j], IntegerPowerOf(base[j], out->e[lane[j]]));
      held = 0;
      return;
    }
    for (int j = held; j < kChainLanes; ++j) {
      base[j] = 1;
      steps[j] = 0;
    }
    multiply(base, steps, r);
    for (int j = 0; j < held; ++j) out->Finish(lane[j], base[j], r[j]);
    held = 0;
  }
};

}  // namespace

// The lanes that need a literal product of two or more factors go through the
// chains: x^(m-1) with m - 1 factors, then the limit test on it (for |x| > 1 the
// product never falls, so the test before each factor fails first on the last
// one), then the last factor. For |x| < 1 the product never reaches the limit.
// The rest take IntegerPowerOf.
void IntegerPowers(int count, const double* x, const std::int32_t* e, double* value, std::int32_t* code,
                   Vectors vectors) {
  PowerLanes out{x, e, value, code};
  HeldChains chains;
  chains.multiply = vectors == Vectors::kWidest ? kWidestChains : ChainsPlain;
  for (int l = 0; l < count; ++l) {
    const std::uint32_t m = FactorCount(e[l]);
    if ((x[l] == 1 || x[l] == -1) && m != 0) {  // every product exact, far from the limit; so is 1 over it
      out.Set(l, {x[l] < 0 && (m & 1) ? -1.0 : 1.0, kNoError});
    } else if (m == 0 || m > kLiteralPowerSteps || x[l] == 0) {
      out.Set(l, IntegerPowerOf(x[l], e[l]));
    } else if (m <= kShortestChain) {  // short products are as quick one by one
      double before_last = 1;
      for (std::uint32_t i = 1; i < m; ++i) before_last *= x[l];
      out.Finish(l, x[l], before_last);
    } else {
      chains.base[chains.held] = x[l];
      chains.steps[chains.held] = m - 1;
      chains.lane[chains.held] = l;
      if (++chains.held == kChainLanes) chains.Flush(&out);
    }
  }
  if (chains.held) chains.Flush(&out);
}
