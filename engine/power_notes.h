// The long literal powers of a block's text terms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "engine/result.h"

// How many powers of at least this many factors the text terms of a block
// ask for decides whether noting them first pays.
constexpr std::uint32_t kRecordedPowerSteps = 64;

// Long literal powers asked for by several term texts, computed side by side
// instead of one long chain after another. A term text is evaluated with the
// notes of its block: while counting (the start), every power is IntegerPowerOf
// and the long ones are counted; while noting, each power of at least
// kRecordedPowerSteps factors (up to kLiteralPowerSteps) is noted and answered
// with 1 (that pass's values are thrown away); ComputeNoted then computes the
// noted powers together, and from then on they are answered from there (the
// very values IntegerPowerOf gives) and any other is computed as usual.
class PowerNotes {
 public:
  // x^e as IntegerPowerOf gives it, by the notes' state.
  Result IntegerPower(double x, std::int32_t e);
  void StartNoting();
  void ComputeNoted();
  // Back to counting; the notes are dropped.
  void Stop();
  // How many powers of at least kRecordedPowerSteps factors the notes were asked for.
  std::uint64_t long_powers() const { return long_powers_; }

 private:
  struct Key {
    std::uint64_t base;
    std::int32_t exponent;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  enum class State : std::uint8_t { kCounting, kNoting, kAnswering };
  State state_ = State::kCounting;
  std::uint64_t long_powers_ = 0;
  std::unordered_map<Key, Result, KeyHash> powers_;
};
