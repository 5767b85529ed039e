#include "tests/engine/reference_evaluate.h"

#include "engine/arithmetic.h"
#include "engine/evaluate.h"
#include "engine/groups.h"
#include "engine/power.h"
#include "format/number_text.h"
#include "format/text.h"

namespace {

int SplitPosition(const ShortString& s, char op) {
  for (int p = LastPos(op, s.view()); p != 0; p = LastPos(op, s.view().substr(0, p - 1))) {
    if (p >= 2 && SplitsAfter(s[p - 2])) return p;
  }
  return 0;
}

Result Combine(char op, const Result& a, const Result& b) {
  switch (op) {
    case '+':
      return {a.value + b.value, SumCode(a.value + b.value)};
    case '-':
      return {a.value - b.value, SumCode(a.value - b.value)};
    case '*':
      return {a.value * b.value, ProductCode(a.value * b.value)};
    case '/': {
      const double r = b.value == 0 ? 0 : a.value / b.value;
      return {r, QuotientCode(b.value, r)};
    }
    case '^':
      return Power(a.value, b.value);
    default:
      return FactorialOf(a.value);
  }
}

Result Level(const ShortString& text) {
  ShortString s = text;
  for (Group g = FirstGroup(s); g.open != 0; g = FirstGroup(s)) {
    const Result v = Level(s.Sub(g.open, g.close - g.open - 1));
    if (v.code != kNoError) return {0, v.code};
    s = s.Sub(0, g.open - 1) + ExactNumberText(v.value).view() + s.Sub(g.close).view();
  }
  for (char op : Operators) {
    const int p = SplitPosition(s, op);
    if (p == 0) continue;
    const Result a = Level(s.Sub(0, p - 1));
    if (a.code != kNoError) return {0, a.code};
    Result b;
    if (op != '!') b = Level(s.Sub(p));
    if (b.code != kNoError) return {0, b.code};
    const Result r = Combine(op, a, b);
    return r.code != kNoError ? Result{0, r.code} : r;
  }
  const Result leaf = LeafValue(s.view());
  return leaf.code != kNoError ? Result{0, leaf.code} : leaf;
}

}  // namespace

Result ReferenceEvaluate(const ShortString& text) { return Level(text); }
