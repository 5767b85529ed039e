// Running a prepared formula's program over blocks of consecutive k.
#include <algorithm>
#include <cmath>

#include "engine/arithmetic.h"
#include "engine/evaluate.h"
#include "engine/exp_log_power.h"
#include "engine/integer_power.h"
#include "engine/power.h"
#include "engine/power_chains.h"
#include "engine/prepared.h"
#include "engine/term_text.h"
#include "engine/text_value.h"
#include "format/number_text.h"

namespace {

constexpr int kLanes = TermBlock::kSize;

// A leaf read from its text.
Result ReadLeaf(const std::vector<LeafPiece>& pieces, std::uint16_t k, const double* lanes, int lane) {
  ShortString text;
  for (const LeafPiece& piece : pieces) {
    if (piece.kind == LeafPiece::kCharacter) {
      text += piece.character;
    } else if (piece.kind == LeafPiece::kIndex) {
      text += IntText(k).view();
    } else {
      text += FormatNumber(lanes[piece.source * kLanes + lane]).view();
    }
  }
  return LeafValue(text.view());
}

// Whether the number text of v is its fixed text (at most 20 characters).
inline bool HasFixedText(double v) {
  double magnitude = std::fabs(v);
  return magnitude == 0 || (magnitude >= 1e-5 && magnitude < (v < 0 ? 1e14 : 1e15));
}

}  // namespace

TermRun::TermRun(const PreparedFormula& prepared) : prepared_(prepared) {
  const Program& p = prepared.program_;
  if (!p.runs) return;
  lanes_.resize(p.initial.size() * kLanes);
  for (std::size_t r = 0; r < p.initial.size(); ++r) {
    for (int l = 0; l < kLanes; ++l) lanes_[r * kLanes + l] = p.initial[r];
  }
  powers_.resize(p.running_powers);
}

// x^k or x^-k for a constant x, as IntegerPowerOf computes it: x^k is the
// running product of x^(k-1) and x, so consecutive terms extend one product by
// a factor each, with the limit test before each factor. An earlier k starts
// the product again.
void TermRun::IndexPower(const Step& step, int k0, int count, TermBlock* out) {
  double* reg = lanes_.data();
  const double x = reg[step.left * kLanes];  // the base is a constant
  double* r = reg + step.target * kLanes;
  const bool negative = step.right == kMinusIndexRegister;
  if (x == 1 || x == -1) {  // every product exact and far from the limit; so is 1 over it
    for (int l = 0; l < count; ++l) r[l] = x < 0 && ((k0 + l) & 1) ? -1.0 : 1.0;
    return;
  }
  RunningPower run = powers_[step.running_power];
  const double limit = PowerLimit(x);
  int l = 0;
  if (!negative && x != 0 && run.reached < 0 && run.steps == k0 - 1) {
    // Consecutive terms from the product carried over, one factor each, until a
    // lane has stopped or the limit stops the product (that lane then goes the
    // general way below).
    for (; l < count && state_[l] == kRunning; ++l) {
      if (!PowerStep(&run.product, x, limit)) break;
      ++run.steps;
      r[l] = run.product;
    }
  }
  for (; l < count; ++l) {
    if (state_[l] != kRunning) continue;
    const std::int32_t m = k0 + l;
    Result p;
    if (m == 0) {
      p = {1, kNoError};  // x^0 is 1, also for x = 0
    } else if (x == 0) {
      p = IntegerPowerOf(x, negative ? -m : m);
    } else {
      if (m < run.steps) run = RunningPower{};
      while (run.reached < 0 && run.steps < m) {
        if (!PowerStep(&run.product, x, limit)) {
          run.reached = run.steps;
          break;
        }
        ++run.steps;
      }
      p = run.reached >= 0 && run.reached < m ? Result{0, kOverflow} : FinishPower(run.product, negative);
    }
    r[l] = p.value;
    if (p.code != kNoError) {
      out->code[l] = p.code;
      state_[l] = kStopped;
    }
  }
  powers_[step.running_power] = run;
}

// The values and codes of the powers computed for the lanes listed; a code
// stops its lane.
void TermRun::TakePowers(int count, const int* lanes, const double* value, const std::int32_t* code, double* r,
                         TermBlock* out) {
  for (int j = 0; j < count; ++j) {
    const int l = lanes[j];
    r[l] = value[j];
    if (code[j] != kNoError) {
      out->code[l] = code[j];
      state_[l] = kStopped;
    }
  }
}

// left ^ right (or ^ a constant integer) in every running lane: the integer
// powers side by side, the other exponents side by side as well. Lanes that
// have stopped may be computed as well; their values are not used.
void TermRun::Powers(const Step& step, int count, TermBlock* out) {
  double* reg = lanes_.data();
  const double* a = reg + step.left * kLanes;
  const double* b = reg + step.right * kLanes;
  double* r = reg + step.target * kLanes;
  double value[kLanes];
  std::int32_t code[kLanes];
  if (step.kind == Step::kIntegerPower) {
    ConstantIntegerPowers(count, a, step.exponent, r, code);
    Mark(count, out, [&](int l) { return code[l]; });
    return;
  }
  double base[kLanes] = {}, fraction_base[kLanes] = {}, fraction_exponent[kLanes] = {};
  std::int32_t exponent[kLanes] = {};
  int lane[kLanes] = {}, fraction_lane[kLanes] = {};
  int held = 0, fractions = 0;
  for (int l = 0; l < count; ++l) {
    if (state_[l] != kRunning) continue;
    std::int32_t e = 0;
    switch (ReadExponent(b[l], &e)) {
      case Exponent::kZero:
        r[l] = 1;
        break;
      case Exponent::kFault:
        out->code[l] = kDivisionByZero;
        state_[l] = kStopped;
        break;
      case Exponent::kInteger:
        base[held] = a[l];
        exponent[held] = e;
        lane[held++] = l;
        break;
      case Exponent::kFraction:
        fraction_base[fractions] = a[l];
        fraction_exponent[fractions] = b[l];
        fraction_lane[fractions++] = l;
        break;
    }
  }
  IntegerPowers(held, base, exponent, value, code);
  TakePowers(held, lane, value, code, r, out);
  FractionPowers(fractions, fraction_base, fraction_exponent, value, code);
  TakePowers(fractions, fraction_lane, value, code, r, out);
}

namespace {

// r = a op b in every lane, as "+", "-", "*" and "/" compute it; true when some
// lane may have failed (an infinity, or a divisor 0).
template <Step::Kind kKind>
[[gnu::always_inline]] inline bool Arithmetic(int count, const double* a, const double* b, double* r) {
  bool stop = false;
  for (int l = 0; l < count; ++l) {
    if constexpr (kKind == Step::kAdd) r[l] = a[l] + b[l];
    if constexpr (kKind == Step::kSubtract) r[l] = a[l] - b[l];
    if constexpr (kKind == Step::kMultiply) r[l] = a[l] * b[l];
    if constexpr (kKind == Step::kDivide) {
      r[l] = a[l] / b[l];
      stop |= b[l] == 0;
    }
    stop |= std::fabs(r[l]) == HUGE_VAL;
  }
  return stop;
}

}  // namespace

// After a step that may have failed somewhere in the block: the code of each
// lane still running.
template <class CodeOf>
void TermRun::Mark(int count, TermBlock* out, CodeOf code_of) {
  for (int l = 0; l < count; ++l) {
    if (state_[l] != kRunning) continue;
    const std::int32_t code = code_of(l);
    if (code != kNoError) {
      out->code[l] = code;
      state_[l] = kStopped;
    }
  }
}

// A group's value as its number text reads back; a lane whose text the program
// cannot follow goes to the text evaluation.
[[gnu::always_inline]] inline void TermRun::GroupValues(const Step& step, int count) {
  const Program& p = prepared_.program_;
  const double* a = lanes_.data() + step.left * kLanes;
  double* r = lanes_.data() + step.target * kLanes;
  if (step.kind == Step::kSignedGroup) {
    for (int l = 0; l < count; ++l) {
      if (state_[l] == kRunning && std::signbit(a[l])) state_[l] = kToText;
    }
  }
  if (p.fixed_group_texts) {
    for (int l = 0; l < count; ++l) {
      if (state_[l] == kRunning && !HasFixedText(a[l])) state_[l] = kToText;
    }
  }
  for (int l = 0; l < count; ++l) r[l] = state_[l] == kRunning ? NumberTextValue(a[l]) : 0;
}

// One step over the lanes of the block.
[[gnu::always_inline]] inline void TermRun::RunStep(const Step& step, int k0, int count, TermBlock* out) {
  double* reg = lanes_.data();
  const double* a = reg + step.left * kLanes;
  const double* b = reg + step.right * kLanes;
  double* r = reg + step.target * kLanes;
  switch (step.kind) {
    case Step::kAdd:
      if (Arithmetic<Step::kAdd>(count, a, b, r)) Mark(count, out, [&](int l) { return SumCode(r[l]); });
      break;
    case Step::kSubtract:
      if (Arithmetic<Step::kSubtract>(count, a, b, r)) Mark(count, out, [&](int l) { return SumCode(r[l]); });
      break;
    case Step::kMultiply:
      if (Arithmetic<Step::kMultiply>(count, a, b, r)) Mark(count, out, [&](int l) { return ProductCode(r[l]); });
      break;
    case Step::kDivide:
      if (Arithmetic<Step::kDivide>(count, a, b, r)) Mark(count, out, [&](int l) { return QuotientCode(b[l], r[l]); });
      break;
    case Step::kPower:
    case Step::kIntegerPower:
      Powers(step, count, out);
      break;
    case Step::kIndexPower:
      IndexPower(step, k0, count, out);
      break;
    case Step::kFactorial:
      Mark(count, out, [&](int l) {
        const Result f = FactorialOf(a[l]);
        r[l] = f.value;
        return f.code;
      });
      break;
    case Step::kNegate:
      for (int l = 0; l < count; ++l) r[l] = -1 * a[l];
      break;
    case Step::kSignedGroup:
    case Step::kGroup:
      GroupValues(step, count);
      break;
    case Step::kLeaf:
      Mark(count, out, [&](int l) {
        const Result leaf = ReadLeaf(prepared_.program_.leaves[step.leaf], static_cast<std::uint16_t>(k0 + l), reg, l);
        r[l] = leaf.value;
        return leaf.code;
      });
      break;
    case Step::kFail:
      Mark(count, out, [&](int) { return step.code; });
      break;
  }
}

// Runs the program for the terms k0 ... k0 + count - 1: each lane's code is that
// of the first step that stops its term; a lane may instead be sent to the text
// evaluation. True when some lane is. Steps go on computing in lanes that have
// stopped; their values are not used.
bool TermRun::RunBlock(int k0, int count, TermBlock* out) {
  const Program& p = prepared_.program_;
  double* reg = lanes_.data();
  for (int l = 0; l < count; ++l) {
    reg[kIndexRegister * kLanes + l] = k0 + l;
    reg[kMinusIndexRegister * kLanes + l] = -1.0 * (k0 + l);
    out->code[l] = kNoError;
    state_[l] = k0 + l < static_cast<int>(p.index_limit) ? kRunning : kToText;
  }
  for (const Step& step : p.steps) RunStep(step, k0, count, out);
  const double* result = reg + p.result * kLanes;
  bool text = false;
  for (int l = 0; l < count; ++l) {
    out->value[l] = state_[l] == kRunning ? result[l] : 0;
    text |= state_[l] == kToText;
  }
  return text;
}

void TermRun::Terms(int k0, int count, TermBlock* out) {
  const bool runs = prepared_.program_.runs;
  if (runs && !RunBlock(k0, count, out)) return;
  auto to_text = [&](int l) { return !runs || state_[l] == kToText; };
  // Several terms with powers in them: their long literal powers are first
  // noted (a pass whose values are thrown away), then computed side by side.
  int texts = 0;
  for (int l = 0; l < count; ++l) texts += to_text(l);
  const bool record = texts > 1 && long_powers_ && prepared_.formula_.view().find('^') != std::string_view::npos;
  if (record) {
    notes_.StartNoting();
    for (int l = 0; l < count; ++l) {
      if (to_text(l)) TextTerm(prepared_.formula_, static_cast<std::uint16_t>(k0 + l), &notes_);
    }
    notes_.ComputeNoted();
  }
  const std::uint64_t long_powers_before = notes_.long_powers();
  for (int l = 0; l < count; ++l) {
    if (to_text(l)) {
      const Result t = TextTerm(prepared_.formula_, static_cast<std::uint16_t>(k0 + l), &notes_);
      out->value[l] = t.value;
      out->code[l] = t.code;
    }
  }
  if (record) notes_.Stop();
  if (texts > 0) long_powers_ = notes_.long_powers() - long_powers_before >= 2;
}

bool TermRun::RunsProgram(std::uint16_t k) {
  if (!prepared_.program_.runs) return false;
  TermBlock block;
  RunBlock(k, 1, &block);
  return state_[0] != kToText;
}

Result PreparedTerm(const PreparedFormula& prepared, std::uint16_t k) {
  TermRun run(prepared);
  TermBlock block;
  run.Terms(k, 1, &block);
  return {block.value[0], block.code[0]};
}
