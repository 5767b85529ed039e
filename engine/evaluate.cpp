#include "engine/evaluate.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "engine/arithmetic.h"
#include "engine/messages.h"
#include "engine/power.h"
#include "format/number_text.h"
#include "format/text.h"

std::int32_t ResultCode = kNoError;

namespace {


// The last occurrence of the operator that can split the text.
int SplitPosition(const ShortString& s, int op) {
  int p = OperatorPosition(s, op);
  while (p != 0) {
    if (p >= 2 && SplitsAfter(s[p - 2])) return p;
    p = LastPos(Operators[op], s.view().substr(0, p - 1));
  }
  return 0;
}

double Fail(std::int32_t code) {
  ResultCode = code;
  return 0;
}

double Take(Result r) { return r.code != kNoError ? Fail(r.code) : r.value; }

}  // namespace

bool ReadNumber(std::string_view text, double* value, bool* overflow) {
  *value = 0;
  *overflow = false;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  int digits = 0;
  bool nonzero = false;
  int integer_digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (IsDigit(c)) {
      if (c != '0') nonzero = true;
      ++digits;
      if (!point) ++integer_digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negative_exponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative_exponent = text[i++] == '-';
    std::size_t exponent_start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == exponent_start) return false;
    if (negative_exponent) exponent = -exponent;
  }
  if (i != text.size()) return false;
  if (!nonzero) {
    *value = negative ? -0.0 : 0.0;
    return true;
  }

  // Correctly rounded to the nearest double.
  double magnitude = 0;
  auto [end, error] =
      std::from_chars(text.data() + start, text.data() + text.size(), magnitude, std::chars_format::general);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Beyond the range of a double: above it is an overflow, below it the number
    // underflows to 0. With at most 255 digits, the exponent and the count of
    // integer digits tell the two apart (they lie over 600 powers of ten apart).
    if (exponent + integer_digits > 0) {
      *overflow = true;
      return true;
    }
    magnitude = 0;
  } else if (error != std::errc()) {
    return false;
  }
  *value = negative ? -magnitude : magnitude;
  return true;
}

// A leading minus binds tighter than every operator: each one is a factor -1 on
// the rest, which (splitting nowhere either) is a number or counts as 0.
Result LeafValue(std::string_view text) {
  std::size_t minus = 0;
  while (minus < text.size() && text[minus] == '-') ++minus;
  double value = 0;
  bool overflow = false;
  ReadNumber(text.substr(minus), &value, &overflow);  // not a number: value 0
  if (overflow) return {0, kOverflow};
  for (std::size_t i = 0; i < minus; ++i) value = -1 * value;
  return {value, kNoError};
}

// Positions of the "(" and matching ")" of the first complete group at depth 0.
Group FirstGroup(const ShortString& text) {
  int depth = 0;
  int open = 0;
  for (int i = 1; i <= static_cast<int>(text.size()); ++i) {
    char c = text[i - 1];
    if (c == '(') {
      if (depth == 0 && open == 0) open = i;
      ++depth;
    } else if (c == ')') {
      --depth;
      if (depth == 0 && open != 0) return {open, i};
    }
  }
  return {};
}

int OperatorPosition(const ShortString& text, int op) { return LastPos(Operators[op], text.view()); }

double IntegerPower(double x, std::int32_t e) {
  ResultCode = kNoError;
  return Take(IntegerPowerOf(x, e));
}

double Factorial(std::uint16_t m) {
  if (m > kMaxFactorial) return Fail(kFactorialRange);
  ResultCode = kNoError;
  return FactorialValue(m);
}

namespace {

double Combine(char op, double a, double b) {
  switch (op) {
    case '+': {
      const double r = a + b;
      return Take({r, SumCode(r)});
    }
    case '-': {
      const double r = a - b;
      return Take({r, SumCode(r)});
    }
    case '*': {
      const double r = a * b;
      return Take({r, ProductCode(r)});
    }
    case '/': {
      const double r = b == 0 ? 0 : a / b;
      return Take({r, QuotientCode(b, r)});
    }
    case '^':
      return Take(Power(a, b));
    default:  // '!'
      return Take(FactorialOf(a));
  }
}

}  // namespace

namespace {

// Evaluate without reloading the result texts: nothing can change them or the
// language while one evaluation runs, so loading them once for the outermost
// call is the same as loading them at every recursive one.
double EvaluateLevel(const ShortString& text) {
  ResultCode = kNoError;
  ShortString s = text;

  // Every complete group is evaluated and written back as its number text.
  for (Group g = FirstGroup(s); g.open != 0; g = FirstGroup(s)) {
    double v = EvaluateLevel(s.Sub(g.open, g.close - g.open - 1));
    if (ResultCode != kNoError) return 0;
    s = s.Sub(0, g.open - 1) + FormatNumber(v).view() + s.Sub(g.close).view();
  }

  for (int op = 0; op < 6; ++op) {
    int p = SplitPosition(s, op);
    if (p == 0) continue;
    double a = EvaluateLevel(s.Sub(0, p - 1));
    if (ResultCode != kNoError) return 0;
    double b = 0;
    if (Operators[op] != '!') {
      b = EvaluateLevel(s.Sub(p));
      if (ResultCode != kNoError) return 0;
    }
    return Combine(Operators[op], a, b);
  }

  return Take(LeafValue(s.view()));
}

}  // namespace

double Evaluate(const ShortString& text) {
  LoadResultTexts();
  return EvaluateLevel(text);
}
