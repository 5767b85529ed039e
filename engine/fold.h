// The steps of S_n and P_n, and the one loop that folds terms 1 ... n into them.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>

#include "engine/result.h"

// One step of S_n: adds v unless the sum would leave [-1e308, 1e308].
inline bool AddTerm(double* sum, double v) {
  if (*sum > kOverflowLimit - v || *sum < -kOverflowLimit - v) return false;
  *sum += v;
  return true;
}

// One step of P_n: multiplies by v unless the product's magnitude would pass 1e308.
inline bool MultiplyTerm(double* product, double v) {
  const double p = *product * v;
  if (std::fabs(p) < kSurelyBelowLimit) {
    *product = p;
    return true;
  }
  if (v != 0 && std::fabs(*product) > kOverflowLimit / std::fabs(v)) return false;
  *product *= v;
  return true;
}

// The terms of consecutive k, a block at a time.
struct TermBlock {
  static constexpr int kSize = 64;
  double value[kSize];
  std::int32_t code[kSize];
};

// Fills terms k0 ... k0 + count - 1 (count at most TermBlock::kSize).
using TermSource = std::function<void(int k0, int count, TermBlock* out)>;

// S and P so far: each stops at the first term that fails (with that term's
// code) or that would pass its limit (code 4), keeping the value reached.
struct Fold {
  Result sum{0, kNoError};
  Result product{1, kNoError};
  bool with_sum = true;  // false: S is not computed
  bool with_product = true;

  // Every quantity computed has stopped.
  bool Stopped() const { return (!with_sum || sum.code != kNoError) && (!with_product || product.code != kNoError); }

  // Terms in order; the same as Take on each, with the running values kept in
  // registers.
  void TakeAll(const double* values, const std::int32_t* codes, int count) {
    bool sums = with_sum && sum.code == kNoError;
    bool products = with_product && product.code == kNoError;
    double s = sum.value;
    double p = product.value;
    for (int l = 0; l < count && (sums || products); ++l) {
      const double v = values[l];
      const std::int32_t code = codes[l];
      if (sums) {
        if (code != kNoError || !AddTerm(&s, v)) {
          sum.code = code != kNoError ? code : kOverflow;
          sums = false;
        }
      }
      if (products) {
        if (code != kNoError || !MultiplyTerm(&p, v)) {
          product.code = code != kNoError ? code : kOverflow;
          products = false;
        }
      }
    }
    sum.value = s;
    product.value = p;
  }

  void Take(Result term) {
    if (with_sum && sum.code == kNoError) {
      if (term.code != kNoError)
        sum.code = term.code;
      else if (!AddTerm(&sum.value, term.value))
        sum.code = kOverflow;
    }
    if (with_product && product.code == kNoError) {
      if (term.code != kNoError)
        product.code = term.code;
      else if (!MultiplyTerm(&product.value, term.value))
        product.code = kOverflow;
    }
  }
};

// Terms 1 ... n from the source, block by block (blocks of at most block_size
// terms), folded into S and P as far as want asks for them (kWantSum, kWantProduct). each, when given, sees every term
// and the fold after it; otherwise the loop ends once the wanted quantities have stopped.
Fold FoldTerms(std::uint16_t n, unsigned want, int block_size, const TermSource& source,
               const std::function<void(std::uint16_t k, Result term, const Fold& fold)>* each = nullptr);
