// Compiling a formula into its prepared program, level by level, in the order the text evaluation computes.
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "engine/arithmetic.h"
#include "engine/evaluate.h"
#include "engine/groups.h"
#include "engine/power.h"
#include "engine/prepared.h"
#include "engine/term_text.h"
#include "format/number_text.h"

namespace {

constexpr int kLongestNumberText = 25;  // " 1.0000000000000000E+0036"
constexpr int kLongestFixedText = 20;   // "-0.12345678901234567"

int RawLength(std::string_view s, int digits) {
  int length = 0;
  for (char c : s) length += IsVariable(c) ? digits : 1;
  return length;
}

// Whether no text of this level (the term text itself, or a group's text at any
// stage of writing back its inner groups) can pass 255 characters when k has
// this many digits and no number text of a group is longer than group_text:
// then no text is ever cut. distance[i] is the distance to the ")" closing a "("
// at i (every one has one).
bool LevelFits(std::string_view s, const std::uint8_t* distance, int digits, int group_text) {
  int longest = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') {
      const std::size_t close = i + distance[i];
      std::string_view inner = s.substr(i + 1, close - i - 1);
      if (!LevelFits(inner, distance + i + 1, digits, group_text)) return false;
      longest += std::max(group_text, 2 + RawLength(inner, digits));
      i = close;
    } else {
      longest += IsVariable(s[i]) ? digits : 1;
    }
  }
  return longest <= static_cast<int>(ShortString::kCapacity);
}

// What a piece of the text gives: known before k (a value or a code), or the
// register that holds its value once the steps before have run.
struct Operand {
  bool known = false;
  Result result;
  std::uint16_t reg = 0;
};

Operand Known(Result r) { return {true, r, 0}; }
Operand InRegister(std::uint16_t reg) { return {false, {}, reg}; }

std::uint16_t NewRegister(Program* p, double initial = 0) {
  p->initial.push_back(initial);
  return static_cast<std::uint16_t>(p->initial.size() - 1);
}

std::uint16_t RegisterOf(Program* p, const Operand& o) { return o.known ? NewRegister(p, o.result.value) : o.reg; }

// A step that always stops the term with a code (something known to fail, met
// after steps that may fail first).
Operand Fails(Program* p, std::int32_t code) {
  Step step{Step::kFail};
  step.code = code;
  p->steps.push_back(step);
  return InRegister(kIndexRegister);
}

// What a level of the text is made of once its groups are written back: plain
// characters, the digits of k, and the number texts of groups that depend on k.
struct Item {
  enum Kind : std::uint8_t { kCharacter, kIndex, kGroup };
  Kind kind;
  char character = 0;
  std::uint16_t written_register = 0;  // kGroup: the value as its text reads back
  std::uint16_t value_register = 0;    // kGroup: the value itself
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

Step::Kind BinaryKind(char op) {
  switch (op) {
    case '+':
      return Step::kAdd;
    case '-':
      return Step::kSubtract;
    case '*':
      return Step::kMultiply;
    case '/':
      return Step::kDivide;
    default:
      return Step::kPower;
  }
}

// Items that do not depend on k: exactly what the text evaluation makes of
// their very text.
Operand CompileKnown(const Level& level, int lo, int hi) {
  char text[ShortString::kCapacity + 1];
  bool plain = true;  // no operator and no parenthesis: the text is a leaf
  for (int i = lo; i < hi; ++i) {
    char c = level.items[i].character;
    text[i - lo] = c;
    plain = plain && c != '(' && c != ')' && std::string_view(Operators, 6).find(c) == std::string_view::npos;
  }
  if (plain) return Known(LeafValue(std::string_view(text, hi - lo)));
  return Known(EvaluateText(std::string_view(text, hi - lo)));
}

Operand AddStep(Program* p, Step step) {
  step.target = NewRegister(p);
  p->steps.push_back(step);
  return InRegister(step.target);
}

Operand CompileRange(Program* p, const Level& level, int lo, int hi);

// The operator op at i splits [lo, hi): the left operand, the right one (none
// for "!"), then the operator.
Operand CompileSplit(Program* p, const Level& level, int lo, int i, int hi) {
  const char op = level.items[i].character;
  Operand left = CompileRange(p, level, lo, i);
  if (left.known && left.result.code != kNoError) return left;
  if (op == '!') {  // the operand after "!" is not evaluated
    Step step{Step::kFactorial};
    step.left = RegisterOf(p, left);
    return AddStep(p, step);
  }
  Operand right = CompileRange(p, level, i + 1, hi);
  if (right.known && right.result.code != kNoError) return Fails(p, right.result.code);
  Step step{BinaryKind(op)};
  step.left = RegisterOf(p, left);
  if (op == '^' && right.known && ReadExponent(right.result.value, &step.exponent) == Exponent::kInteger) {
    step.kind = Step::kIntegerPower;
  } else if (op == '^' && left.known && !right.known &&
             (right.reg == kIndexRegister || right.reg == kMinusIndexRegister)) {
    step.kind = Step::kIndexPower;
    step.right = right.reg;
    step.running_power = p->running_powers++;
  } else {
    step.right = RegisterOf(p, right);
  }
  return AddStep(p, step);
}

// A leaf: leading minus signs (each one a factor -1), then k alone, a group
// alone, or anything else, which is read from its text as the text evaluation
// reads it.
Operand CompileLeaf(Program* p, const Level& level, int lo, int hi) {
  int minus = 0;
  while (lo + minus < hi && level.items[lo + minus].kind == Item::kCharacter &&
         level.items[lo + minus].character == '-')
    ++minus;
  const Item& first = level.items[lo + minus];
  if (hi - lo - minus == 1 && first.kind == Item::kIndex) {
    return InRegister(minus % 2 ? kMinusIndexRegister : kIndexRegister);
  }
  if (hi - lo - minus == 1 && first.kind == Item::kGroup) {
    if (minus % 2 == 0) return InRegister(first.written_register);
    Step step{Step::kNegate};
    step.left = first.written_register;
    return AddStep(p, step);
  }
  std::vector<LeafPiece> pieces;
  for (int i = lo; i < hi; ++i) {
    const Item& item = level.items[i];
    if (item.kind == Item::kCharacter) {
      pieces.push_back({LeafPiece::kCharacter, item.character, 0});
    } else if (item.kind == Item::kIndex) {
      pieces.push_back({LeafPiece::kIndex, 0, 0});
    } else {
      pieces.push_back({LeafPiece::kRegisterText, 0, item.value_register});
    }
  }
  p->leaves.push_back(std::move(pieces));
  Step step{Step::kLeaf};
  step.leaf = static_cast<std::uint16_t>(p->leaves.size() - 1);
  return AddStep(p, step);
}

// The split of the items [lo, hi) as the text evaluation finds it: the last
// operator of the loosest kind that can split; without one, a leaf. Steps are
// added in the order the text evaluation computes: left operand, right operand,
// then the operator.
Operand CompileRange(Program* p, const Level& level, int lo, int hi) {
  if (!HasIndex(level, lo, hi)) return CompileKnown(level, lo, hi);
  for (char op : Operators) {
    for (int i = hi - 1; i > lo; --i) {
      if (level.splits[i] && level.items[i].character == op) return CompileSplit(p, level, lo, i, hi);
    }
  }
  return CompileLeaf(p, level, lo, hi);
}

Operand CompileLevel(Program* p, std::string_view s, const std::uint8_t* distance);

// A group of the level, computed and written back: as the characters of its
// number text when its value is known, else as the register of the value its
// text reads back as. False when the level ends there with *failed (the group
// fails, unless a group before it has failed already).
bool CompileGroup(Program* p, Level* level, std::string_view inner, const std::uint8_t* distance, std::size_t start,
                  Operand* failed) {
  Operand value = CompileLevel(p, inner, distance);
  if (value.known && value.result.code != kNoError) {
    *failed = p->steps.size() == start ? value : Fails(p, value.result.code);
    return false;
  }
  if (value.known) {
    const ShortString written = FormatNumber(value.result.value);
    // The lengths were bounded for fixed texts only: a longer one could be cut.
    if (p->fixed_group_texts && written.size() > kLongestFixedText) p->index_limit = 0;
    for (char t : written.view()) level->items.push_back({Item::kCharacter, t, 0, 0});
    return true;
  }
  // The sign of a negative value written after a digit or "!" becomes an
  // operator that can split the text: such terms take the text evaluation.
  bool sign_splits = false;
  if (!level->items.empty()) {
    const Item& before = level->items.back();
    sign_splits = before.kind != Item::kCharacter || SplitsAfter(before.character);
  }
  Step step{sign_splits ? Step::kSignedGroup : Step::kGroup};
  step.left = value.reg;
  step.target = NewRegister(p);
  p->steps.push_back(step);
  level->items.push_back({Item::kGroup, 0, step.target, value.reg});
  return true;
}

// An operator splits only at position 2 or later, after a digit or "!"; the
// digits of k and a number text always end in a digit.
void MarkSplits(Level* level) {
  const int count = static_cast<int>(level->items.size());
  level->splits.assign(count, false);
  for (int i = 1; i < count; ++i) {
    const Item& item = level->items[i];
    const Item& before = level->items[i - 1];
    if (item.kind != Item::kCharacter) continue;
    bool op = false;
    for (char o : Operators) op = op || item.character == o;
    level->splits[i] = op && (before.kind != Item::kCharacter || SplitsAfter(before.character));
  }
}

// One level of the text: its groups first, from left to right, each computed and
// written back as its number text; then its split. distance[i] is the distance
// to the ")" closing a "(" at i.
Operand CompileLevel(Program* p, std::string_view s, const std::uint8_t* distance) {
  const std::size_t start = p->steps.size();
  Level level;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '(') {
      const std::size_t close = i + distance[i];
      Operand failed;
      if (!CompileGroup(p, &level, s.substr(i + 1, close - i - 1), distance + i + 1, start, &failed)) return failed;
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
  MarkSplits(&level);
  return CompileRange(p, level, 0, static_cast<int>(level.items.size()));
}

}  // namespace

PreparedFormula PrepareFormula(const ShortString& formula) {
  PreparedFormula prepared;
  prepared.formula_ = formula;
  Program& p = prepared.program_;
  // Parentheses in order: the text's groups are found the same way at every
  // stage of its evaluation.
  const GroupMatches matches(formula.view());
  if (!matches.in_order) return prepared;
  // Any number text fits, or else (with a check on every group's value) any
  // fixed text: more terms are prepared where the texts are long.
  int digits = 5;
  while (digits > 0 && !LevelFits(formula.view(), matches.distance, digits, kLongestNumberText)) --digits;
  int fixed_digits = digits;
  while (fixed_digits < 5 && LevelFits(formula.view(), matches.distance, fixed_digits + 1, kLongestFixedText))
    ++fixed_digits;
  if (fixed_digits > digits) {
    digits = fixed_digits;
    p.fixed_group_texts = true;
  }
  if (digits == 0) return prepared;
  p.index_limit = 1;
  for (int i = 0; i < digits; ++i) p.index_limit *= 10;

  p.initial = {0, 0};
  Operand result = CompileLevel(&p, formula.view(), matches.distance);
  if (result.known && result.result.code != kNoError) {
    Fails(&p, result.result.code);
  } else {
    p.result = RegisterOf(&p, result);
  }
  if (p.index_limit == 0 || p.initial.size() >= 65536) return prepared;
  p.runs = true;
  return prepared;
}
