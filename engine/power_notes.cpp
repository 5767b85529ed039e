// The long literal powers of a block's text terms: counted, noted in a first
// pass, computed side by side, then answered from there.
#include "engine/power_notes.h"

#include <algorithm>
#include <vector>

#include "engine/integer_power.h"
#include "engine/power_chains.h"
#include "format/bit_cast.h"

std::size_t PowerNotes::KeyHash::operator()(const Key& k) const {
  return std::hash<std::uint64_t>()(k.base ^
                                    (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.exponent)) << 20));
}

void PowerNotes::StartNoting() {
  powers_.clear();
  state_ = State::kNoting;
}

void PowerNotes::ComputeNoted() {
  std::vector<Key> keys;
  keys.reserve(powers_.size());
  for (const auto& entry : powers_) keys.push_back(entry.first);
  // Chains of about the same length side by side: a vector takes as many steps as its longest.
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return FactorCount(a.exponent) != FactorCount(b.exponent) ? FactorCount(a.exponent) < FactorCount(b.exponent)
                                                              : a.base < b.base;
  });
  const int count = static_cast<int>(keys.size());
  std::vector<double> x(count);
  std::vector<std::int32_t> e(count);
  std::vector<double> value(count);
  std::vector<std::int32_t> code(count);
  for (int l = 0; l < count; ++l) {
    x[l] = BitCast<double>(keys[l].base);
    e[l] = keys[l].exponent;
  }
  IntegerPowers(count, x.data(), e.data(), value.data(), code.data());
  for (int l = 0; l < count; ++l) powers_[keys[l]] = {value[l], code[l]};
  state_ = State::kAnswering;
}

void PowerNotes::Stop() {
  state_ = State::kCounting;
  powers_.clear();
}

Result PowerNotes::IntegerPower(double x, std::int32_t e) {
  if (x == 0 || e == 0) return IntegerPowerOf(x, e);
  const std::uint32_t m = FactorCount(e);
  const bool long_literal = m >= kRecordedPowerSteps && m <= kLiteralPowerSteps;
  long_powers_ += long_literal;
  if (state_ != State::kCounting && long_literal) {
    const Key key{BitCast<std::uint64_t>(x), e};
    if (state_ == State::kNoting) {
      powers_.emplace(key, Result{1, kNoError});
      return {1, kNoError};
    }
    if (const auto found = powers_.find(key); found != powers_.end()) return found->second;
  }
  return IntegerPowerOf(x, e);
}
