// The text evaluator: groups written back as number texts, then a split at the loosest operator's last place.
#include "engine/evaluate.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "engine/arithmetic.h"
#include "engine/groups.h"
#include "engine/power.h"
#include "engine/text_value.h"
#include "format/number_reading.h"
#include "format/number_text.h"
#include "format/text.h"

namespace {

// Each leading minus of a leaf is a factor -1 on the rest.
double WithMinusSigns(double value, std::size_t minus) {
  for (std::size_t i = 0; i < minus; ++i) value = -1 * value;
  return value;
}

}  // namespace

// A leading minus binds tighter than every operator: each one is a factor -1 on
// the rest, which (splitting nowhere either) is a number or counts as 0.
Result LeafValue(std::string_view text) {
  std::size_t minus = 0;
  while (minus < text.size() && text[minus] == '-') ++minus;
  double value = 0;
  bool overflow = false;
  ReadNumber(text.substr(minus), &value, &overflow);  // not a number: value 0
  if (overflow) return {0, kOverflow};
  return {WithMinusSigns(value, minus), kNoError};
}

namespace {

Result Combine(char op, double a, double b, PowerNotes* notes) {
  switch (op) {
    case '+': {
      const double r = a + b;
      return {r, SumCode(r)};
    }
    case '-': {
      const double r = a - b;
      return {r, SumCode(r)};
    }
    case '*': {
      const double r = a * b;
      return {r, ProductCode(r)};
    }
    case '/': {
      const double r = b == 0 ? 0 : a / b;
      return {r, QuotientCode(b, r)};
    }
    case '^':
      return Power(a, b, notes);
    default:  // '!'
      return FactorialOf(a);
  }
}

// A failed step gives the value 0 with its code.
Result Checked(Result r) { return r.code != kNoError ? Result{0, r.code} : r; }

// A group's number text as it stands in its level's text, and the value it reads back as.
struct Written {
  std::uint8_t start;
  std::uint8_t length;
  double value;
};

Result EvaluateLevel(std::string_view text, const std::uint8_t* distance, PowerNotes* notes);

Result EvaluatePiece(std::string_view text, PowerNotes* notes) {
  const GroupMatches matches(text);
  return EvaluateLevel(text, matches.distance, notes);
}

// Which of "+", "-", "*", "/", "^", "!" a character is (its index in Operators), or -1.
constexpr struct OperatorTable {
  std::int8_t index[256];
  constexpr OperatorTable() : index() {
    for (int c = 0; c < 256; ++c) index[c] = -1;
    for (int op = 0; op < 6; ++op) index[static_cast<unsigned char>(Operators[op])] = static_cast<std::int8_t>(op);
  }
} kOperatorIndex;

// The splitting of one level's text, once its groups are written back. Where
// each operator can split is marked once for the whole text (a place that can
// split the text can split every piece of it that holds the character before
// it), so that the operands of a long chain are found without rescanning.
class Level {
 public:
  Level(std::string_view s, const Written* written, int written_count, PowerNotes* notes)
      : s_(s), written_(written), written_count_(written_count), notes_(notes) {
    const int size = static_cast<int>(s.size());
    for (int op = 0; op <= kAny; ++op)
      for (int w = 0; w <= size >> 6; ++w) marks_[op][w] = 0;
    for (int i = 1; i < size; ++i) {
      const int op = kOperatorIndex.index[static_cast<unsigned char>(s[i])];
      if (op >= 0 && SplitsAfter(s[i - 1])) {
        marks_[op][i >> 6] |= std::uint64_t{1} << (i & 63);
        marks_[kAny][i >> 6] |= std::uint64_t{1} << (i & 63);
      }
    }
    const std::size_t open = s.rfind('(');
    last_open_ = open == std::string_view::npos ? -1 : static_cast<int>(open);
  }

  Result Whole() { return Range(0, static_cast<int>(s_.size()), true); }

 private:
  // The last place in [from, end) where op can split, or -1.
  int LastMark(int op, int from, int end) const {
    if (end <= from) return -1;
    int word = (end - 1) >> 6;
    std::uint64_t bits = marks_[op][word] & (~std::uint64_t{0} >> (63 - ((end - 1) & 63)));
    for (;;) {
      if (bits != 0) {
        const int at = word * 64 + 63 - std::countl_zero(bits);
        return at >= from ? at : -1;
      }
      if (--word < 0 || word * 64 + 63 < from) return -1;
      bits = marks_[op][word];
    }
  }

  // A leaf: read from its text, unless it is a number text written back whole,
  // after minus signs (each a factor -1), whose value is known.
  Result Leaf(int lo, int hi) const {
    int first = 0;
    int last = written_count_;
    while (first < last) {  // the first number text ending at hi or later
      const int middle = (first + last) / 2;
      if (written_[middle].start + written_[middle].length < hi) {
        first = middle + 1;
      } else {
        last = middle;
      }
    }
    if (first < written_count_ && written_[first].start + written_[first].length == hi && written_[first].start >= lo) {
      const Written& w = written_[first];
      int signs = lo;
      while (signs < w.start && s_[signs] == '-') ++signs;
      if (signs == w.start) return {WithMinusSigns(w.value, w.start - lo), kNoError};
    }
    return Checked(LeafValue(s_.substr(lo, hi - lo)));
  }

  // The text [lo, hi) evaluated as a whole. A piece known to hold no complete
  // group (every beginning of a text without one) is split at once; any other
  // piece that holds one is evaluated from its text.
  Result Range(int lo, int hi, bool without_groups) {
    if (!without_groups && last_open_ >= lo) {
      const std::string_view piece = s_.substr(lo, hi - lo);
      if (FirstGroup(piece).open != 0) return EvaluatePiece(piece, notes_);
    }
    if (LastMark(kAny, lo + 1, hi) < 0) return Leaf(lo, hi);
    for (int op = 0; op < 6; ++op) {
      const int at = LastMark(op, lo + 1, hi);
      if (at < 0) continue;
      const Result a = Range(lo, at, true);
      if (a.code != kNoError) return a;
      if (Operators[op] == '!') return Checked(FactorialOf(a.value));  // the right side is not evaluated
      const Result b = Range(at + 1, hi, at + 1 > last_open_);
      if (b.code != kNoError) return b;
      return Checked(Combine(Operators[op], a.value, b.value, notes_));
    }
    return Leaf(lo, hi);
  }

  std::string_view s_;
  const Written* written_;
  int written_count_;
  PowerNotes* notes_;
  static constexpr int kAny = 6;  // the places where any operator can split
  std::uint64_t marks_[7][4];
  int last_open_;
};

// Every complete group at depth 0 is evaluated and written back as its number
// text, from left to right (the text cut at 255 characters each time); then the
// text is split at the last place of the loosest operator that has one.
// distance[i] is the distance to the ")" matching a "(" at i of the text.
Result EvaluateLevel(std::string_view text, const std::uint8_t* distance, PowerNotes* notes) {
  char rewritten[ShortString::kCapacity];  // the text once a group is written back
  std::string_view s = text;
  Written written[ShortString::kCapacity / 2 + 1];
  int written_count = 0;
  // The scan for groups goes on after each number text written back: the text
  // before a group held none at depth 0 and ended at depth 0, and a number text
  // holds no parenthesis, so scanning again from the start would find the same.
  // A "(" at depth 0 is the group's start, and the ")" it is matched with its end;
  // the depth is never above 0 elsewhere. Past the last number text written back,
  // the text is that of the level moved by shift characters.
  int shift = 0;
  int depth = 0;
  for (int i = 0; i < static_cast<int>(s.size()); ++i) {
    if (s[i] == ')') {
      --depth;
      continue;
    }
    if (s[i] != '(') continue;
    if (depth != 0) {
      ++depth;
      continue;
    }
    const int d = distance[i - shift];
    if (d == 0 || i + d >= static_cast<int>(s.size())) break;  // never closed: no complete group follows
    const Result inner = EvaluateLevel(s.substr(i + 1, d - 1), distance + (i - shift) + 1, notes);
    if (inner.code != kNoError) return inner;
    const ShortString number = FormatNumber(inner.value);
    if (s.data() != rewritten) std::memcpy(rewritten, s.data(), s.size());
    s = std::string_view(rewritten, ShortString::Replace(rewritten, s.size(), i, d + 1, number.view()));
    const int length = std::min(static_cast<int>(number.size()), static_cast<int>(s.size()) - i);
    if (length == static_cast<int>(number.size())) {
      written[written_count++] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(length),
                                  NumberTextValue(inner.value)};
    }
    shift += length - (d + 1);
    i += length - 1;
  }
  // A level that is one number text written back whole (a group in parentheses
  // of its own) is its value: as Level would find it, without marking the text.
  if (written_count == 1 && written[0].start == 0 && written[0].length == s.size()) return {written[0].value, kNoError};
  return Level(s, written, written_count, notes).Whole();
}

}  // namespace

Result EvaluateText(std::string_view text, PowerNotes* notes) {
  return EvaluatePiece(text.substr(0, ShortString::kCapacity), notes);
}
