#include "engine/prepared.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "engine/evaluate.h"
#include "engine/power.h"
#include "engine/sequence.h"
#include "engine/text_value.h"
#include "format/number_text.h"
#include "format/text.h"

namespace {

constexpr int kLongestNumberText = 25;            // " 1.0000000000000000E+0036"
constexpr int kLongestFixedText = 20;             // "-0.12345678901234567"
constexpr std::uint16_t kIndexRegister = 0;       // k
constexpr std::uint16_t kMinusIndexRegister = 1;  // -1 x k
constexpr int kLongestInlinePower = 64;           // longer integer powers call RepeatedPower
constexpr int kLanes = 64;                        // terms computed together

bool IsVariable(char c) { return c == 'n' || c == 'N'; }

// Every ")" closes an earlier "(" and none stays open, so that the text's groups
// are found the same way at every stage of its evaluation.
bool ParenthesesInOrder(std::string_view s) {
  int depth = 0;
  for (char c : s) {
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  return depth == 0;
}

std::size_t MatchingClose(std::string_view s, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < s.size(); ++i) {
    if (s[i] == '(') ++depth;
    if (s[i] == ')' && --depth == 0) return i;
  }
  return s.size();
}

int RawLength(std::string_view s, int digits) {
  int length = 0;
  for (char c : s) length += IsVariable(c) ? digits : 1;
  return length;
}

// Whether no text of this level (the term text itself, or a group's text at any
// stage of writing back its inner groups) can pass 255 characters when k has
// this many digits and no number text of a group is longer than group_text:
// then no text is ever cut.
bool LevelFits(std::string_view s, int digits, int group_text) {
  int longest = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') {
      std::size_t close = MatchingClose(s, i);
      std::string_view inner = s.substr(i + 1, close - i - 1);
      if (!LevelFits(inner, digits, group_text)) return false;
      longest += std::max(group_text, 2 + RawLength(inner, digits));
      i = close;
    } else {
      longest += IsVariable(s[i]) ? digits : 1;
    }
  }
  return longest <= static_cast<int>(ShortString::kCapacity);
}

TermResult EvaluateText(std::string_view text) {
  double v = Evaluate(ShortString(text));
  return {v, ResultCode};
}

// What a piece of the text gives: known before k (a value or a code), or the
// register that holds its value once the steps before have run.
struct Operand {
  bool known = false;
  TermResult result;
  std::uint16_t reg = 0;
};

Operand Known(TermResult r) { return {true, r, 0}; }
Operand InRegister(std::uint16_t reg) { return {false, {}, reg}; }

std::uint16_t NewRegister(PreparedFormula* p, double initial = 0) {
  p->registers.push_back(initial);
  return static_cast<std::uint16_t>(p->registers.size() - 1);
}

std::uint16_t RegisterOf(PreparedFormula* p, const Operand& o) {
  return o.known ? NewRegister(p, o.result.value) : o.reg;
}

// A step that always stops the term with a code (something known to fail, met
// after steps that may fail first).
Operand Fails(PreparedFormula* p, std::int32_t code) {
  p->program.push_back({Instruction::kFail, 0, 0, 0, code});
  return InRegister(kIndexRegister);
}

// What a level of the text is made of once its groups are written back: plain
// characters, the digits of k, and the number texts of groups that depend on k.
struct Item {
  enum Kind : std::uint8_t { kCharacter, kIndex, kGroup };
  Kind kind;
  char character = 0;
  std::uint16_t written = 0;  // kGroup: the value as its text reads back
  std::uint16_t value = 0;    // kGroup: the value itself
};

struct Level {
  std::vector<Item> items;
  std::vector<bool> splits;  // the item is an operator that can split the text
};

bool HasIndex(const Level& level, int lo, int hi) {
  for (int i = lo; i < hi; ++i)
    if (level.items[i].kind != Item::kCharacter) return true;
  return false;
}

// A constant exponent that "^" rounds to a short integer power: 0 (the value is
// 1), or an integer of magnitude up to kLongestInlinePower.
bool ShortIntegerExponent(double b, std::int32_t* e) {
  double rounded = std::nearbyint(std::fabs(b));
  if (std::fabs(b) != rounded || rounded > kLongestInlinePower) return false;
  *e = static_cast<std::int32_t>(b < 0 ? -rounded : rounded);
  return true;
}

Instruction::Kind BinaryKind(char op) {
  switch (op) {
    case '+':
      return Instruction::kAdd;
    case '-':
      return Instruction::kSubtract;
    case '*':
      return Instruction::kMultiply;
    case '/':
      return Instruction::kDivide;
    default:
      return Instruction::kPower;
  }
}

// The split of the items [lo, hi) as the text evaluation finds it: the last
// operator of the loosest kind that can split; without one, a leaf. Steps are
// added in the order the text evaluation computes: left operand, right operand,
// then the operator.
Operand CompileRange(PreparedFormula* p, const Level& level, int lo, int hi) {
  if (!HasIndex(level, lo, hi)) {
    // Known before k: exactly what the text evaluation makes of this very text.
    char text[ShortString::kCapacity + 1];
    bool plain = true;  // no operator and no parenthesis: the text is a leaf
    for (int i = lo; i < hi; ++i) {
      char c = level.items[i].character;
      text[i - lo] = c;
      plain = plain && c != '(' && c != ')' && std::string_view(Operators, 6).find(c) == std::string_view::npos;
    }
    if (plain) {  // a number, or 0 when it does not read as one
      double value = 0;
      bool overflow = false;
      ReadNumber(std::string_view(text, hi - lo), &value, &overflow);
      return Known(overflow ? TermResult{0, kOverflow} : TermResult{value, kNoError});
    }
    return Known(EvaluateText(std::string_view(text, hi - lo)));
  }
  for (char op : Operators) {
    for (int i = hi - 1; i > lo; --i) {
      if (!level.splits[i] || level.items[i].character != op) continue;
      Operand left = CompileRange(p, level, lo, i);
      if (left.known && left.result.code != kNoError) return left;
      if (op == '!') {  // the operand after "!" is not evaluated
        std::uint16_t a = RegisterOf(p, left);
        std::uint16_t target = NewRegister(p);
        p->program.push_back({Instruction::kFactorial, target, a, 0, 0});
        return InRegister(target);
      }
      Operand right = CompileRange(p, level, i + 1, hi);
      if (right.known && right.result.code != kNoError) return Fails(p, right.result.code);
      Instruction step{BinaryKind(op), 0, RegisterOf(p, left), 0, 0};
      if (op == '^' && right.known && ShortIntegerExponent(right.result.value, &step.exponent)) {
        step.kind = Instruction::kIntegerPower;
      } else if (op == '^' && left.known && !right.known &&
                 (right.reg == kIndexRegister || right.reg == kMinusIndexRegister)) {
        step.kind = Instruction::kIndexPower;
        step.b = right.reg;
        step.exponent = static_cast<std::int32_t>(p->powers.size());
        p->powers.emplace_back();
      } else {
        step.b = RegisterOf(p, right);
      }
      step.target = NewRegister(p);
      p->program.push_back(step);
      return InRegister(step.target);
    }
  }

  // A leaf: leading minus signs (each one a factor -1), then k alone, a group
  // alone, or anything else, which is read from its text as the text
  // evaluation reads it.
  int minus = 0;
  while (lo + minus < hi && level.items[lo + minus].kind == Item::kCharacter &&
         level.items[lo + minus].character == '-')
    ++minus;
  const Item& first = level.items[lo + minus];
  if (hi - lo - minus == 1 && first.kind == Item::kIndex) {
    return InRegister(minus % 2 ? kMinusIndexRegister : kIndexRegister);
  }
  if (hi - lo - minus == 1 && first.kind == Item::kGroup) {
    if (minus % 2 == 0) return InRegister(first.written);
    std::uint16_t target = NewRegister(p);
    p->program.push_back({Instruction::kNegate, target, first.written, 0, 0});
    return InRegister(target);
  }
  std::vector<LeafPiece> pieces;
  for (int i = lo; i < hi; ++i) {
    const Item& item = level.items[i];
    if (item.kind == Item::kCharacter) {
      pieces.push_back({LeafPiece::kCharacter, item.character, 0});
    } else if (item.kind == Item::kIndex) {
      pieces.push_back({LeafPiece::kIndex, 0, 0});
    } else {
      pieces.push_back({LeafPiece::kValue, 0, item.value});
    }
  }
  p->leaves.push_back(std::move(pieces));
  std::uint16_t target = NewRegister(p);
  p->program.push_back({Instruction::kLeaf, target, 0, 0, static_cast<std::int32_t>(p->leaves.size() - 1)});
  return InRegister(target);
}

// One level of the text: its groups first, from left to right, each computed and
// written back as its number text; then its split.
Operand CompileLevel(PreparedFormula* p, std::string_view s) {
  const std::size_t start = p->program.size();
  Level level;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '(') {
      std::size_t close = MatchingClose(s, i);
      Operand inner = CompileLevel(p, s.substr(i + 1, close - i - 1));
      if (inner.known && inner.result.code != kNoError) {
        // The group fails unless a group before it has failed already.
        if (p->program.size() == start) return inner;
        return Fails(p, inner.result.code);
      }
      if (inner.known) {
        const ShortString written = FormatNumber(inner.result.value);
        // The lengths were bounded for fixed texts only: a longer one could be cut.
        if (p->fixed_group_texts && written.size() > kLongestFixedText) p->index_limit = 0;
        for (char t : written.view()) level.items.push_back({Item::kCharacter, t, 0, 0});
      } else {
        // The sign of a negative value written after a digit or "!" becomes an
        // operator that can split the text: such terms take the text evaluation.
        bool sign_splits = false;
        if (!level.items.empty()) {
          const Item& before = level.items.back();
          sign_splits = before.kind != Item::kCharacter || IsDigit(before.character) || before.character == '!';
        }
        std::uint16_t written = NewRegister(p);
        p->program.push_back({sign_splits ? Instruction::kSignedGroup : Instruction::kGroup, written, inner.reg, 0, 0});
        level.items.push_back({Item::kGroup, 0, written, inner.reg});
      }
      i = close;
    } else if (IsVariable(c)) {
      level.items.push_back({Item::kIndex, 0, 0, 0});
    } else {
      level.items.push_back({Item::kCharacter, c, 0, 0});
    }
  }

  // A level longer than a text can be is never compiled (the formula is then left
  // to the text evaluation).
  if (p->index_limit == 0 || level.items.size() > ShortString::kCapacity) {
    p->index_limit = 0;
    return Known({0, kNoError});
  }

  // An operator splits only at position 2 or later, after a digit or "!"; the
  // digits of k and a number text always end in a digit.
  const int count = static_cast<int>(level.items.size());
  level.splits.assign(count, false);
  for (int i = 1; i < count; ++i) {
    const Item& item = level.items[i];
    const Item& before = level.items[i - 1];
    if (item.kind != Item::kCharacter) continue;
    bool op = false;
    for (char o : Operators) op = op || item.character == o;
    level.splits[i] = op && (before.kind != Item::kCharacter || IsDigit(before.character) || before.character == '!');
  }
  return CompileRange(p, level, 0, count);
}

// m! for m from 0 to 170, accumulated as 2 x 3 x ... x m in a double.
const std::array<double, kMaxFactorial + 1>& Factorials() {
  static const std::array<double, kMaxFactorial + 1> table = [] {
    std::array<double, kMaxFactorial + 1> t{};
    double f = 1;
    t[0] = 1;
    for (int m = 1; m <= kMaxFactorial; ++m) {
      if (m >= 2) f *= m;
      t[m] = f;
    }
    return t;
  }();
  return table;
}

// x^e for a short integer e, as RepeatedPower computes it: the limit test before
// each factor, 0 for a zero base (code 1 with a negative exponent), and 1 divided
// by the power for a negative exponent (code 1 when that power is 0 or its
// reciprocal overflows). Once the running product is 0 further factors keep it 0
// with the sign of the whole power, as RepeatedPower's early answer has.
inline std::int32_t ShortIntegerPower(double x, std::int32_t e, double* r) {
  if (e == 0) {
    *r = 1;
    return kNoError;
  }
  if (x == 0) {
    *r = 0;
    return e < 0 ? kDivisionByZero : kNoError;
  }
  const std::int32_t m = e < 0 ? -e : e;
  const double limit = kOverflowLimit / std::fabs(x);
  double power = 1;
  for (std::int32_t i = 0; i < m; ++i) {
    if (std::fabs(power) >= limit) return kOverflow;
    power *= x;
  }
  if (e > 0) {
    *r = power;
    return kNoError;
  }
  if (power == 0) return kDivisionByZero;
  *r = 1 / power;
  return std::isinf(*r) ? kDivisionByZero : kNoError;
}

// x^m (or x^-m) for the exponents m of consecutive terms, as RepeatedPower
// computes it: the limit test before each factor, the same roundings, since x^m is
// the running product of x^(m-1) and x. An earlier m starts the product again.
inline std::int32_t IndexPower(PreparedFormula::RunningPower* run, double x, double limit, std::int32_t m,
                               bool negative, double* r) {
  if (m == 0) {
    *r = 1;
    return kNoError;
  }
  if (x == 0) {
    *r = 0;
    return negative ? kDivisionByZero : kNoError;
  }
  if (m < run->steps) *run = PreparedFormula::RunningPower{};
  if (run->reached < 0) {
    double product = run->product;
    std::int32_t steps = run->steps;
    for (; steps < m && product != 0; ++steps) {
      if (std::fabs(product) >= limit) {
        run->reached = steps;
        break;
      }
      product *= x;
    }
    run->product = product;
    run->steps = steps;
  }
  if (run->reached >= 0 && run->reached < m) return kOverflow;
  // Once the product is 0 every further factor keeps it 0, with the sign of x^m.
  const double power = run->product != 0 ? run->product : std::signbit(x) && (m & 1) ? -0.0 : 0.0;
  if (!negative) {
    *r = power;
    return kNoError;
  }
  if (power == 0) return kDivisionByZero;
  *r = 1 / power;
  return std::isinf(*r) ? kDivisionByZero : kNoError;
}

// a^b as the "^" operator computes it; 1 and -1 to an integer power are answered
// at once (their repeated products are exact and never near the limit). An
// exponent below 2^31 - 1 in magnitude rounds to a 32-bit integer without fault,
// and is an integer exactly when its truncation is.
inline std::int32_t AnyPower(double a, double b, double* r) {
  if ((a == 1 || a == -1) && b != 0 && std::fabs(b) < 2147483647.0) {
    const std::int64_t e = static_cast<std::int64_t>(b);
    if (static_cast<double>(e) == b) {
      *r = a < 0 && (e & 1) ? -1.0 : 1.0;
      return kNoError;
    }
  }
  PowerResult power = Power(a, b);
  *r = power.value;
  return power.code;
}

// a rounded to the nearest integer, ties to even, for a from 0 to 170.
inline int RoundFactorialArgument(double a) {
  int i = static_cast<int>(a);
  double fraction = a - i;  // exact
  if (fraction > 0.5 || (fraction == 0.5 && (i & 1))) ++i;
  return i;
}

TermResult ReadLeaf(const PreparedFormula& p, int leaf, std::uint16_t k, const double* lanes, int lane) {
  ShortString text;
  for (const LeafPiece& piece : p.leaves[leaf]) {
    if (piece.kind == LeafPiece::kCharacter) {
      text += piece.character;
    } else if (piece.kind == LeafPiece::kIndex) {
      text += IntText(k).view();
    } else {
      text += FormatNumber(lanes[piece.value * kLanes + lane]).view();
    }
  }
  // A leaf's text has no operator that can split it: each leading minus is a
  // factor -1 on the rest, and the rest is a number, or 0 when it is not one.
  std::size_t minus = 0;
  while (minus < text.size() && text[minus] == '-') ++minus;
  double value = 0;
  bool overflow = false;
  ReadNumber(text.view().substr(minus), &value, &overflow);
  if (overflow) return {0, kOverflow};
  for (std::size_t i = 0; i < minus; ++i) value = -1 * value;
  return {value, kNoError};
}

// Whether the number text of v is its fixed text (at most 20 characters).
inline bool HasFixedText(double v) {
  double magnitude = std::fabs(v);
  return magnitude == 0 || (magnitude >= 1e-5 && magnitude < (v < 0 ? 1e14 : 1e15));
}

constexpr std::int32_t kTakeText = -1;

// The values and codes of a block of consecutive terms.
struct Block {
  double value[kLanes];
  std::int32_t code[kLanes];
};  // a lane's code: the term takes the text evaluation

// After a step that may have failed somewhere in the block: the first code of
// each lane whose term has not stopped yet.
template <typename Failed>
void MarkFailures(int count, std::int32_t* codes, Failed failed) {
  for (int l = 0; l < count; ++l) {
    if (codes[l] == kNoError) codes[l] = failed(l);
  }
}

// Runs the program for the terms k0 ... k0 + count - 1 (count <= kLanes): each
// lane's code is that of the first step that stops its term, or kTakeText.
// True when some lane takes the text evaluation.
// Steps go on computing in lanes that have stopped; their values are not used.
bool RunBlock(const PreparedFormula& p, int k0, int count, Block* out) {
  double* reg = p.lanes.data();
  std::int32_t* codes = out->code;
  for (int l = 0; l < count; ++l) {
    reg[kIndexRegister * kLanes + l] = k0 + l;
    reg[kMinusIndexRegister * kLanes + l] = -1.0 * (k0 + l);
    codes[l] = k0 + l < static_cast<int>(p.index_limit) ? kNoError : kTakeText;
  }
  for (const Instruction& in : p.program) {
    const double* a = reg + in.a * kLanes;
    const double* b = reg + in.b * kLanes;
    double* r = reg + in.target * kLanes;
    bool stop = false;
    switch (in.kind) {
      case Instruction::kAdd:
        for (int l = 0; l < count; ++l) {
          r[l] = a[l] + b[l];
          stop |= std::fabs(r[l]) == HUGE_VAL;
        }
        if (stop) MarkFailures(count, codes, [&](int l) { return std::isinf(r[l]) ? kOverflow : kNoError; });
        break;
      case Instruction::kSubtract:
        for (int l = 0; l < count; ++l) {
          r[l] = a[l] - b[l];
          stop |= std::fabs(r[l]) == HUGE_VAL;
        }
        if (stop) MarkFailures(count, codes, [&](int l) { return std::isinf(r[l]) ? kOverflow : kNoError; });
        break;
      case Instruction::kMultiply:
        for (int l = 0; l < count; ++l) {
          r[l] = a[l] * b[l];
          stop |= std::fabs(r[l]) == HUGE_VAL;
        }
        if (stop) MarkFailures(count, codes, [&](int l) { return std::isinf(r[l]) ? kDivisionByZero : kNoError; });
        break;
      case Instruction::kDivide:
        for (int l = 0; l < count; ++l) {
          r[l] = a[l] / b[l];
          stop |= (b[l] == 0) | (std::fabs(r[l]) == HUGE_VAL);
        }
        if (stop) {
          MarkFailures(count, codes, [&](int l) {
            return b[l] == 0 ? kDivisionByZero : std::isinf(r[l]) ? kOverflow : kNoError;
          });
        }
        break;
      case Instruction::kPower:
        for (int l = 0; l < count; ++l) {
          if (codes[l] == kNoError) codes[l] = AnyPower(a[l], b[l], &r[l]);
        }
        break;
      case Instruction::kIndexPower: {
        PreparedFormula::RunningPower* run = &p.powers[in.exponent];
        const bool negative = in.b == kMinusIndexRegister;
        const double x = a[0];  // the base is a constant
        if (x == 1 || x == -1) {
          // Products of 1 and -1 are exact and far from the limit; so is 1 over them.
          for (int l = 0; l < count; ++l) r[l] = x < 0 && ((k0 + l) & 1) ? -1.0 : 1.0;
          break;
        }
        const double limit = kOverflowLimit / std::fabs(x);
        int l = 0;
        if (!negative && x != 0 && run->reached < 0 && run->steps == k0 - 1) {
          // Consecutive terms, each one more factor, while the product is neither
          // 0 nor near the limit (steps stays k0 + l - 1 as l advances).
          double product = run->product;
          std::int32_t steps = run->steps;
          for (; l < count && codes[l] == kNoError && product != 0; ++l) {
            if (std::fabs(product) >= limit) break;
            product *= x;
            ++steps;
            r[l] = product;
          }
          run->product = product;
          run->steps = steps;
        }
        for (; l < count; ++l) {
          if (codes[l] == kNoError) codes[l] = IndexPower(run, x, limit, k0 + l, negative, &r[l]);
        }
        break;
      }
      case Instruction::kIntegerPower:
        for (int l = 0; l < count; ++l) {
          if (codes[l] == kNoError) codes[l] = ShortIntegerPower(a[l], in.exponent, &r[l]);
        }
        break;
      case Instruction::kFactorial:
        for (int l = 0; l < count; ++l) {
          if (codes[l] != kNoError) continue;
          if (a[l] < 0 || a[l] > kMaxFactorial) {
            codes[l] = kFactorialRange;
          } else {
            r[l] = Factorials()[RoundFactorialArgument(a[l])];
          }
        }
        break;
      case Instruction::kNegate:
        for (int l = 0; l < count; ++l) r[l] = -1 * a[l];
        break;
      case Instruction::kSignedGroup:
        for (int l = 0; l < count; ++l) {
          if (codes[l] == kNoError && std::signbit(a[l])) codes[l] = kTakeText;
        }
        [[fallthrough]];
      case Instruction::kGroup:
        if (p.fixed_group_texts) {
          for (int l = 0; l < count; ++l) {
            if (codes[l] == kNoError && !HasFixedText(a[l])) codes[l] = kTakeText;
          }
        }
        for (int l = 0; l < count; ++l) r[l] = codes[l] == kNoError ? NumberTextValue(a[l]) : 0;
        break;
      case Instruction::kLeaf:
        for (int l = 0; l < count; ++l) {
          if (codes[l] != kNoError) continue;
          TermResult leaf = ReadLeaf(p, in.exponent, static_cast<std::uint16_t>(k0 + l), reg, l);
          codes[l] = leaf.code;
          r[l] = leaf.value;
        }
        break;
      case Instruction::kFail:
        for (int l = 0; l < count; ++l) {
          if (codes[l] == kNoError) codes[l] = in.exponent;
        }
        break;
    }
  }
  const double* result = reg + p.result * kLanes;
  bool text = false;
  for (int l = 0; l < count; ++l) {
    out->value[l] = codes[l] == kNoError ? result[l] : 0;
    text |= codes[l] == kTakeText;
  }
  return text;
}

// The terms k0 ... k0 + count - 1, those the program cannot give through the text.
void Terms(const PreparedFormula& p, int k0, int count, Block* out) {
  if (p.prepared && !RunBlock(p, k0, count, out)) return;
  for (int l = 0; l < count; ++l) {
    if (!p.prepared || out->code[l] == kTakeText) {
      TermResult t = TextTerm(p.formula, static_cast<std::uint16_t>(k0 + l));
      out->value[l] = t.value;
      out->code[l] = t.code;
    }
  }
}

}  // namespace

PreparedFormula PrepareFormula(const ShortString& formula) {
  PreparedFormula p;
  p.formula = formula;
  if (!ParenthesesInOrder(formula.view())) return p;
  // Any number text fits, or else (with a check on every group's value) any
  // fixed text: more terms are prepared where the texts are long.
  int digits = 5;
  while (digits > 0 && !LevelFits(formula.view(), digits, kLongestNumberText)) --digits;
  int fixed_digits = digits;
  while (fixed_digits < 5 && LevelFits(formula.view(), fixed_digits + 1, kLongestFixedText)) ++fixed_digits;
  if (fixed_digits > digits) {
    digits = fixed_digits;
    p.fixed_group_texts = true;
  }
  if (digits == 0) return p;
  p.index_limit = 1;
  for (int i = 0; i < digits; ++i) p.index_limit *= 10;

  const std::int32_t saved = ResultCode;
  p.registers = {0, 0};
  Operand result = CompileLevel(&p, formula.view());
  ResultCode = saved;
  if (result.known && result.result.code != kNoError) {
    Fails(&p, result.result.code);
  } else {
    p.result = RegisterOf(&p, result);
  }
  if (p.index_limit == 0 || p.registers.size() >= 65536) return p;
  p.lanes.resize(p.registers.size() * kLanes);
  for (std::size_t r = 0; r < p.registers.size(); ++r) {
    for (int l = 0; l < kLanes; ++l) p.lanes[r * kLanes + l] = p.registers[r];
  }
  p.prepared = true;
  return p;
}

bool IsPreparedTerm(const PreparedFormula& prepared, std::uint16_t k) {
  if (!prepared.prepared) return false;
  Block block;
  RunBlock(prepared, k, 1, &block);
  return block.code[0] != kTakeText;
}

TermResult TextTerm(const ShortString& formula, std::uint16_t k) {
  double v = Evaluate(TermText(formula, k));
  return {v, ResultCode};
}

TermResult PreparedTerm(const PreparedFormula& prepared, std::uint16_t k) {
  Block block;
  Terms(prepared, k, 1, &block);
  return {block.value[0], block.code[0]};
}

void PreparedTerms(const PreparedFormula& prepared, std::uint16_t first, int count,
                   const std::function<void(std::uint16_t k, TermResult term)>& each) {
  Block block;
  for (int k0 = first; k0 < first + count; k0 += kLanes) {
    int size = std::min(kLanes, first + count - k0);
    Terms(prepared, k0, size, &block);
    for (int l = 0; l < size; ++l) each(static_cast<std::uint16_t>(k0 + l), {block.value[l], block.code[l]});
  }
}

TermResult PreparedPartialSum(const PreparedFormula& prepared, std::uint16_t n) {
  Block block;
  double sum = 0;
  for (int k0 = 1; k0 <= n; k0 += kLanes) {
    int size = std::min(kLanes, n - k0 + 1);
    Terms(prepared, k0, size, &block);
    for (int l = 0; l < size; ++l) {
      if (block.code[l] != kNoError) return {sum, block.code[l]};
      if (!AddTerm(&sum, block.value[l])) return {sum, kOverflow};
    }
  }
  return {sum, kNoError};
}

TermResult PreparedPartialProduct(const PreparedFormula& prepared, std::uint16_t n) {
  Block block;
  double product = 1;
  for (int k0 = 1; k0 <= n; k0 += kLanes) {
    int size = std::min(kLanes, n - k0 + 1);
    Terms(prepared, k0, size, &block);
    for (int l = 0; l < size; ++l) {
      if (block.code[l] != kNoError) return {product, block.code[l]};
      if (!MultiplyTerm(&product, block.value[l])) return {product, kOverflow};
    }
  }
  return {product, kNoError};
}
