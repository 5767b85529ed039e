#include "engine/prepared.h"

#include <array>
#include <cmath>
#include <string_view>

#include "engine/evaluate.h"
#include "engine/power.h"
#include "engine/sequence.h"
#include "engine/text_value.h"
#include "format/number_text.h"

namespace {

constexpr int kLongestNumberText = 25;  // " 1.0000000000000000E+0036"
constexpr int kMaxGroups = 128;         // a group takes at least two characters
constexpr int kMaxStack = 260;          // one entry per character at most

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsVariable(char c) { return c == 'n' || c == 'N'; }

// What a level of the text is made of once its groups are written back: plain
// characters, the digits of k, and the number texts of the groups that depend on k.
struct Item {
  enum Kind : std::uint8_t { kCharacter, kIndex, kGroup };
  Kind kind;
  char character = 0;
  std::int32_t slot = 0;
};

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
// this many digits: then no text is ever cut.
bool LevelFits(std::string_view s, int digits) {
  int longest = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') {
      std::size_t close = MatchingClose(s, i);
      std::string_view inner = s.substr(i + 1, close - i - 1);
      if (!LevelFits(inner, digits)) return false;
      longest += std::max(kLongestNumberText, 2 + RawLength(inner, digits));
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

struct Code {
  bool constant = false;  // the whole piece is known before k: result holds it
  TermResult result;
  std::vector<Instruction> steps;
};

Code Constant(TermResult r) {
  Code c;
  c.constant = true;
  c.result = r;
  return c;
}

void Append(std::vector<Instruction>* to, const std::vector<Instruction>& from) {
  to->insert(to->end(), from.begin(), from.end());
}

// A piece known before k as program steps: push its value or stop with its code.
std::vector<Instruction> Steps(const Code& c) {
  if (!c.constant) return c.steps;
  if (c.result.code != kNoError) return {Instruction{Instruction::kFail, c.result.code, 0}};
  return {Instruction{Instruction::kPushConstant, 0, c.result.value}};
}

struct Builder {
  PreparedFormula* out;
  int slots = 0;
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

std::string_view PlainText(const Level& level, int lo, int hi, char* buffer) {
  for (int i = lo; i < hi; ++i) buffer[i - lo] = level.items[i].character;
  return {buffer, static_cast<std::size_t>(hi - lo)};
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
// operator of the loosest kind that can split; without one, a leaf.
Code CompileRange(Builder* b, const Level& level, int lo, int hi) {
  if (!HasIndex(level, lo, hi)) {
    // Known before k: exactly what the text evaluation makes of this very text.
    char buffer[ShortString::kCapacity + 1];
    return Constant(EvaluateText(PlainText(level, lo, hi, buffer)));
  }
  for (char op : Operators) {
    for (int i = hi - 1; i > lo; --i) {
      if (!level.splits[i] || level.items[i].character != op) continue;
      Code result;
      Code left = CompileRange(b, level, lo, i);
      if (op == '!') {
        result.steps = Steps(left);
        result.steps.push_back({Instruction::kFactorial, 0, 0});
        return result;
      }
      Code right = CompileRange(b, level, i + 1, hi);
      bool left_value = left.constant && left.result.code == kNoError;
      bool right_value = right.constant && right.result.code == kNoError;
      if (right_value) {
        result.steps = Steps(left);
        Instruction::Kind kind = op == '+'   ? Instruction::kAddConstant
                                 : op == '-' ? Instruction::kSubtractConstant
                                 : op == '*' ? Instruction::kMultiplyConstant
                                 : op == '/' ? Instruction::kDivideConstant
                                             : Instruction::kPowerConstant;
        result.steps.push_back({kind, 0, right.result.value});
      } else if (left_value && op != '^') {
        // A known left operand cannot fail, so the right one may be computed first.
        result.steps = Steps(right);
        Instruction::Kind kind = op == '+'   ? Instruction::kAddConstant
                                 : op == '-' ? Instruction::kConstantSubtract
                                 : op == '*' ? Instruction::kMultiplyConstant
                                             : Instruction::kConstantDivide;
        result.steps.push_back({kind, 0, left.result.value});
      } else {
        result.steps = Steps(left);
        Append(&result.steps, Steps(right));
        result.steps.push_back({BinaryKind(op), 0, 0});
      }
      return result;
    }
  }

  // A leaf: leading minus signs, then k alone, a group alone, or anything else,
  // which is read from its text.
  int minus = 0;
  while (lo + minus < hi && level.items[lo + minus].kind == Item::kCharacter &&
         level.items[lo + minus].character == '-')
    ++minus;
  const double sign = minus % 2 ? -1.0 : 1.0;
  Code result;
  if (hi - lo - minus == 1 && level.items[lo + minus].kind == Item::kIndex) {
    result.steps.push_back({Instruction::kPushIndex, 0, sign});
  } else if (hi - lo - minus == 1 && level.items[lo + minus].kind == Item::kGroup) {
    result.steps.push_back({Instruction::kPushGroup, level.items[lo + minus].slot, sign});
  } else {
    std::vector<LeafPiece> pieces;
    for (int i = lo; i < hi; ++i) {
      const Item& item = level.items[i];
      pieces.push_back({item.kind == Item::kCharacter ? LeafPiece::kCharacter
                        : item.kind == Item::kIndex   ? LeafPiece::kIndex
                                                      : LeafPiece::kGroup,
                        item.character, item.slot});
    }
    b->out->leaves.push_back(std::move(pieces));
    result.steps.push_back({Instruction::kLeaf, static_cast<std::int32_t>(b->out->leaves.size() - 1), 0});
  }
  return result;
}

// One level of the text: its groups first, from left to right, each computed and
// written back as its number text; then its split.
Code CompileLevel(Builder* b, std::string_view s) {
  Code code;
  Level level;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '(') {
      std::size_t close = MatchingClose(s, i);
      Code inner = CompileLevel(b, s.substr(i + 1, close - i - 1));
      if (inner.constant && inner.result.code != kNoError) {
        // The group fails unless a group before it has failed already.
        if (code.steps.empty()) return Constant({0, inner.result.code});
        code.steps.push_back({Instruction::kFail, inner.result.code, 0});
        return code;
      }
      if (inner.constant) {
        const ShortString written = FormatNumber(inner.result.value);
        for (char t : written.view()) level.items.push_back({Item::kCharacter, t, 0});
      } else {
        // The sign of a negative value written after a digit or "!" becomes an
        // operator that can split the text: such terms take the text evaluation.
        bool sign_splits = false;
        if (!level.items.empty()) {
          const Item& before = level.items.back();
          sign_splits = before.kind != Item::kCharacter || IsDigit(before.character) || before.character == '!';
        }
        Append(&code.steps, inner.steps);
        code.steps.push_back({sign_splits ? Instruction::kStoreSigned : Instruction::kStoreGroup,
                              static_cast<std::int32_t>(b->slots), 0});
        level.items.push_back({Item::kGroup, 0, static_cast<std::int32_t>(b->slots)});
        ++b->slots;
      }
      i = close;
    } else if (IsVariable(c)) {
      level.items.push_back({Item::kIndex, 0, 0});
    } else {
      level.items.push_back({Item::kCharacter, c, 0});
    }
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

  Code tree = CompileRange(b, level, 0, count);
  if (code.steps.empty()) return tree;
  Append(&code.steps, Steps(tree));
  return code;
}

int StackDepth(const std::vector<Instruction>& program) {
  int depth = 0;
  int deepest = 0;
  for (const Instruction& in : program) {
    switch (in.kind) {
      case Instruction::kPushConstant:
      case Instruction::kPushIndex:
      case Instruction::kPushGroup:
      case Instruction::kLeaf:
        ++depth;
        break;
      case Instruction::kStoreGroup:
      case Instruction::kStoreSigned:
      case Instruction::kAdd:
      case Instruction::kSubtract:
      case Instruction::kMultiply:
      case Instruction::kDivide:
      case Instruction::kPower:
        --depth;
        break;
      default:
        break;
    }
    deepest = std::max(deepest, depth);
  }
  return deepest;
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

// a^b as the "^" operator computes it; 1 and -1 to an integer power are answered
// at once (their repeated products are exact and never near the limit).
inline PowerResult FastPower(double a, double b) {
  if ((a == 1 || a == -1) && b != 0) {
    double rounded = std::nearbyint(std::fabs(b));
    if (rounded < 2147483648.0 && std::fabs(b) == rounded) {
      bool odd = std::fmod(rounded, 2.0) == 1;
      return {a < 0 && odd ? -1.0 : 1.0, kNoError};
    }
  }
  return Power(a, b);
}

// The operators as the text evaluation combines two operands; 0 or a code.
inline std::int32_t Combine(Instruction::Kind kind, double a, double b, double* r) {
  switch (kind) {
    case Instruction::kAdd:
      *r = a + b;
      return std::isinf(*r) ? kOverflow : kNoError;
    case Instruction::kSubtract:
      *r = a - b;
      return std::isinf(*r) ? kOverflow : kNoError;
    case Instruction::kMultiply:
      *r = a * b;
      return std::isinf(*r) ? kDivisionByZero : kNoError;
    case Instruction::kDivide:
      if (b == 0) return kDivisionByZero;
      *r = a / b;
      return std::isinf(*r) ? kOverflow : kNoError;
    default: {
      PowerResult p = FastPower(a, b);
      *r = p.value;
      return p.code;
    }
  }
}

TermResult ReadLeaf(const PreparedFormula& p, int leaf, std::uint16_t k, const double* groups) {
  ShortString text;
  for (const LeafPiece& piece : p.leaves[leaf]) {
    if (piece.kind == LeafPiece::kCharacter) {
      text += piece.character;
    } else if (piece.kind == LeafPiece::kIndex) {
      text += IntText(k).view();
    } else {
      text += FormatNumber(groups[piece.slot]).view();
    }
  }
  return EvaluateText(text.view());
}

// Runs the program for term k; false when the term must take the text evaluation.
bool Run(const PreparedFormula& p, std::uint16_t k, TermResult* out) {
  double stack[kMaxStack];
  double groups[kMaxGroups];   // the values computed
  double written[kMaxGroups];  // the values their number texts read back as
  int sp = 0;
  const double index = k;
  for (const Instruction& in : p.program) {
    std::int32_t code = kNoError;
    switch (in.kind) {
      case Instruction::kPushConstant:
        stack[sp++] = in.constant;
        break;
      case Instruction::kPushIndex:
        stack[sp++] = in.constant * index;
        break;
      case Instruction::kPushGroup:
        stack[sp++] = in.constant * written[in.index];
        break;
      case Instruction::kLeaf: {
        TermResult r = ReadLeaf(p, in.index, k, groups);
        code = r.code;
        stack[sp++] = r.value;
        break;
      }
      case Instruction::kStoreSigned:
        if (std::signbit(stack[sp - 1])) return false;
        [[fallthrough]];
      case Instruction::kStoreGroup:
        --sp;
        groups[in.index] = stack[sp];
        written[in.index] = NumberTextValue(stack[sp]);
        break;
      case Instruction::kFail:
        code = in.index;
        break;
      case Instruction::kAdd:
      case Instruction::kSubtract:
      case Instruction::kMultiply:
      case Instruction::kDivide:
      case Instruction::kPower:
        --sp;
        code = Combine(in.kind, stack[sp - 1], stack[sp], &stack[sp - 1]);
        break;
      case Instruction::kAddConstant:
        code = Combine(Instruction::kAdd, stack[sp - 1], in.constant, &stack[sp - 1]);
        break;
      case Instruction::kSubtractConstant:
        code = Combine(Instruction::kSubtract, stack[sp - 1], in.constant, &stack[sp - 1]);
        break;
      case Instruction::kConstantSubtract:
        code = Combine(Instruction::kSubtract, in.constant, stack[sp - 1], &stack[sp - 1]);
        break;
      case Instruction::kMultiplyConstant:
        code = Combine(Instruction::kMultiply, stack[sp - 1], in.constant, &stack[sp - 1]);
        break;
      case Instruction::kDivideConstant:
        code = Combine(Instruction::kDivide, stack[sp - 1], in.constant, &stack[sp - 1]);
        break;
      case Instruction::kConstantDivide:
        code = Combine(Instruction::kDivide, in.constant, stack[sp - 1], &stack[sp - 1]);
        break;
      case Instruction::kPowerConstant:
        code = Combine(Instruction::kPower, stack[sp - 1], in.constant, &stack[sp - 1]);
        break;
      case Instruction::kFactorial: {
        double a = stack[sp - 1];
        if (a < 0 || a > kMaxFactorial) {
          code = kFactorialRange;
        } else {
          stack[sp - 1] = Factorials()[static_cast<int>(std::nearbyint(a))];
        }
        break;
      }
    }
    if (code != kNoError) {
      *out = {0, code};
      return true;
    }
  }
  *out = {stack[0], kNoError};
  return true;
}

}  // namespace

PreparedFormula PrepareFormula(const ShortString& formula) {
  PreparedFormula p;
  p.formula = formula;
  if (!ParenthesesInOrder(formula.view())) return p;
  int digits = 5;
  while (digits > 0 && !LevelFits(formula.view(), digits)) --digits;
  if (digits == 0) return p;
  p.index_limit = 1;
  for (int i = 0; i < digits; ++i) p.index_limit *= 10;

  const std::int32_t saved = ResultCode;
  Builder b{&p};
  Code code = CompileLevel(&b, formula.view());
  ResultCode = saved;
  p.program = Steps(code);
  p.groups = b.slots;
  p.stack_depth = StackDepth(p.program);
  p.prepared = p.groups <= kMaxGroups && p.stack_depth <= kMaxStack;
  return p;
}

bool IsPreparedTerm(const PreparedFormula& prepared, std::uint16_t k) {
  TermResult r;
  return prepared.prepared && k < prepared.index_limit && Run(prepared, k, &r);
}

TermResult TextTerm(const ShortString& formula, std::uint16_t k) {
  double v = Evaluate(TermText(formula, k));
  return {v, ResultCode};
}

TermResult PreparedTerm(const PreparedFormula& prepared, std::uint16_t k) {
  TermResult r;
  if (prepared.prepared && k < prepared.index_limit && Run(prepared, k, &r)) return r;
  return TextTerm(prepared.formula, k);
}
