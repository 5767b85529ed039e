// Number texts: a quick fixed text with 64-bit integers, else one from the value's exact decimal expansion.
#include "format/number_text.h"

#include <cmath>
#include <cstring>

#include "format/double_bits.h"

namespace {

// The exact decimal expansion of |value|: value = 0.d1 d2 d3 ... x 10^point.
// A double has at most 767 significant decimal digits (the smallest subnormal).
struct Decimal {
  char digits[800];
  int count = 0;  // number of significant digits; 0 for zero
  int point = 0;  // digits before the decimal point (may be negative or past count)
};

// A big integer in base 1e9, least significant limb first.
struct BigInt {
  static constexpr std::uint32_t kBase = 1000000000;
  std::uint32_t limbs[100];
  int size = 0;

  void MultiplySmall(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < size; ++i) {
      std::uint64_t t = std::uint64_t{limbs[i]} * factor + carry;
      limbs[i] = static_cast<std::uint32_t>(t % kBase);
      carry = t / kBase;
    }
    while (carry) {
      limbs[size++] = static_cast<std::uint32_t>(carry % kBase);
      carry /= kBase;
    }
  }
};

Decimal ExactDecimal(double value) {
  Decimal d;
  const std::uint64_t bits = BitsOf(value);
  const int biased = ExponentField(bits);
  std::uint64_t mantissa = biased == 0 ? bits & kMantissaMask : Significand(bits);
  int exponent = biased == 0 ? -1074 : biased - kSignificandShift;
  if (mantissa == 0) return d;
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++exponent;
  }

  // mantissa x 2^exponent = mantissa x 2^exponent (exponent >= 0), or
  // mantissa x 5^-exponent / 10^-exponent (exponent < 0).
  BigInt big;
  big.limbs[0] = static_cast<std::uint32_t>(mantissa % BigInt::kBase);
  big.limbs[1] = static_cast<std::uint32_t>(mantissa / BigInt::kBase % BigInt::kBase);
  big.limbs[2] = static_cast<std::uint32_t>(mantissa / BigInt::kBase / BigInt::kBase);
  big.size = big.limbs[2] ? 3 : big.limbs[1] ? 2 : 1;
  int shift = 0;
  if (exponent >= 0) {
    for (int e = exponent; e > 0; e -= 29) big.MultiplySmall(std::uint32_t{1} << (e < 29 ? e : 29));
  } else {
    static constexpr std::uint32_t kPow5[13] = {1,     5,      25,      125,     625,      3125,     15625,
                                                78125, 390625, 1953125, 9765625, 48828125, 244140625};
    for (int e = -exponent; e > 0; e -= 12) big.MultiplySmall(kPow5[e < 12 ? e : 12]);
    shift = -exponent;
  }

  char* out = d.digits;
  int top = big.size - 1;
  char buffer[12];
  int n = 0;
  for (std::uint32_t v = big.limbs[top]; v; v /= 10) buffer[n++] = static_cast<char>('0' + v % 10);
  while (n) *out++ = buffer[--n];
  for (int i = top - 1; i >= 0; --i) {
    std::uint32_t v = big.limbs[i];
    for (int j = 8; j >= 0; --j) {
      out[j] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    out += 9;
  }
  d.count = static_cast<int>(out - d.digits);
  d.point = d.count - shift;
  while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
  return d;
}

// Keeps the first `keep` digits and rounds half up on the first dropped digit;
// a carry out of the first digit adds a leading "1" and moves the point.
void RoundToDigits(Decimal* d, int keep) {
  if (keep >= d->count) return;
  if (keep < 0) {
    d->count = 0;
    return;
  }
  bool up = d->digits[keep] >= '5';
  d->count = keep;
  if (!up) {
    while (d->count > 0 && d->digits[d->count - 1] == '0') --d->count;
    return;
  }
  int i = keep - 1;
  while (i >= 0 && d->digits[i] == '9') --i;
  if (i < 0) {
    d->digits[0] = '1';
    d->count = 1;
    d->point += 1;
    return;
  }
  d->digits[i] += 1;
  d->count = i + 1;
}

char DigitAt(const Decimal& d, int i) { return i >= 0 && i < d.count ? d.digits[i] : '0'; }

// d.dddddddddddddd E+e with the trailing zeros of the mantissa removed.
ShortString ShortScientific(double value) {
  Decimal d = ExactDecimal(value);
  RoundToDigits(&d, 15);
  ShortString s;
  if (std::signbit(value)) s += '-';
  s += DigitAt(d, 0);
  s += '.';
  for (int i = 1; i < d.count; ++i) s += d.digits[i];
  int e = d.point - 1;
  s += 'E';
  s += e >= 0 ? '+' : '-';
  s += IntText(e >= 0 ? e : -e).view();
  return s;
}

// " d.dddddddddddddddd E+eeee": a blank for a positive value, all 16 decimals,
// a four-digit exponent.
ShortString LongScientific(const Decimal& rounded, bool negative) {
  ShortString s;
  s += negative ? '-' : ' ';
  s += DigitAt(rounded, 0);
  s += '.';
  for (int i = 1; i < 17; ++i) s += DigitAt(rounded, i);
  s += "E+";
  int e = rounded.point - 1;
  char four[5] = {static_cast<char>('0' + e / 1000 % 10), static_cast<char>('0' + e / 100 % 10),
                  static_cast<char>('0' + e / 10 % 10), static_cast<char>('0' + e % 10), '\0'};
  s += four;
  return s;
}

int DecimalDigits(std::uint64_t v) {
  int digits = 1;
  while (digits < 20 && v >= kPowersOfTen[digits]) ++digits;
  return digits;
}

// The fixed text of a value from 1e-5 up to below 1e15 with the integers alone:
// m 2^-s times 10^decimals, rounded half up, fits 64 bits, and the exact
// product m 10^decimals (below 2^110) is held in two halves. False where the
// text would take the scientific form.
bool FixedText(double value, ShortString* text) {
  const bool negative = std::signbit(value);
  const std::uint64_t bits = BitsOf(std::fabs(value));
  const std::uint64_t m = Significand(bits);
  const int s = kSignificandShift - ExponentField(bits);  // |value| = m 2^-s, 3 <= s <= 69 here
  char out[24];
  int first = 24;  // the text is out[first, end)
  int end = 24;
  int integer_digits = 0;
  if (s <= 52 && (m & ((std::uint64_t{1} << s) - 1)) == 0) {  // an integer: its digits alone
    for (std::uint64_t v = m >> s; v != 0; v /= 10) out[--first] = static_cast<char>('0' + v % 10);
    integer_digits = end - first;
  } else {
    const std::uint64_t integer = s < 64 ? m >> s : 0;
    const int decimals = integer == 0 ? 17 : 17 - DecimalDigits(integer);
    // m x 10^decimals as high and low 64 bits.
    const std::uint64_t p = kPowersOfTen[decimals];
    const std::uint64_t m_lo = m & 0xFFFFFFFF, m_hi = m >> 32, p_lo = p & 0xFFFFFFFF, p_hi = p >> 32;
    const std::uint64_t ll = m_lo * p_lo, lh = m_lo * p_hi, hl = m_hi * p_lo, hh = m_hi * p_hi;
    const std::uint64_t middle = (ll >> 32) + (lh & 0xFFFFFFFF) + (hl & 0xFFFFFFFF);
    std::uint64_t lo = (middle << 32) | (ll & 0xFFFFFFFF);
    std::uint64_t hi = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
    // Half up: add 2^(s-1), then shift right by s.
    if (s - 1 < 64) {
      const std::uint64_t half = std::uint64_t{1} << (s - 1);
      lo += half;
      if (lo < half) ++hi;
    } else {
      hi += std::uint64_t{1} << (s - 1 - 64);
    }
    std::uint64_t v = s < 64 ? (hi << (64 - s)) | (lo >> s) : hi >> (s - 64);
    // The decimals from the last, without their trailing zeros; then the integer digits.
    for (int i = 0; i < decimals; ++i, v /= 10) out[--first] = static_cast<char>('0' + v % 10);
    while (end > first && out[end - 1] == '0') --end;
    if (end > first) out[--first] = '.';
    const int point = first;
    do {
      out[--first] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    integer_digits = point - first;
  }
  if (integer_digits + (negative ? 1 : 0) >= 16) return false;
  if (negative) out[--first] = '-';
  *text = ShortString(std::string_view(out + first, end - first));
  return true;
}

}  // namespace

ShortString FormatNumber(double value) {
  const double magnitude = std::fabs(value);
  ShortString text;
  if (magnitude >= 1e-5 && magnitude < 1e15 && FixedText(value, &text)) return text;
  return ExactNumberText(value);
}

ShortString ExactNumberText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  bool negative = std::signbit(value);
  double magnitude = std::fabs(value);

  // Below 1e-5 (an 80-bit bound, which the double nearest to 1e-5 is not below).
  if (magnitude != 0 && magnitude < 1e-5) return ShortScientific(value);

  Decimal exact = ExactDecimal(magnitude);
  Decimal rounded = exact;
  RoundToDigits(&rounded, 17);
  if (rounded.count > 0 && rounded.point - 1 >= 36) return LongScientific(rounded, negative);

  // Fixed text: 17 - k decimals for k integer digits (17 when there are none).
  int k = exact.count > 0 && exact.point > 0 ? exact.point : 0;
  int decimals = k >= 1 ? 17 - k : 17;
  Decimal fixed = exact;
  RoundToDigits(&fixed, fixed.point + decimals);
  int integer_digits = fixed.count > 0 && fixed.point > 0 ? fixed.point : 1;
  if (integer_digits + (negative ? 1 : 0) >= 16) return ShortScientific(value);

  ShortString s;
  if (negative) s += '-';
  if (fixed.count == 0 || fixed.point <= 0) {
    s += '0';
  } else {
    for (int i = 0; i < fixed.point; ++i) s += DigitAt(fixed, i);
  }
  // Decimals without their trailing zeros; no point when none is left.
  int last = fixed.count - fixed.point;  // number of significant decimals
  if (last > 0) {
    s += '.';
    for (int i = 0; i < last; ++i) s += DigitAt(fixed, fixed.point + i);
  }
  return s;
}

ShortString IntText(std::int32_t value) {
  char buffer[12];
  int n = 0;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    buffer[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  ShortString s;
  if (value < 0) s += '-';
  while (n) s += buffer[--n];
  return s;
}
