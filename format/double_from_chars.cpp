// Method: the number's significant digits as a big integer D and its decimal
// exponent E, value = D x 10^E = D x 5^E x 2^E, exactly. For E >= 0 the product
// D x 5^E is formed and its top 64 bits are kept; for E < 0 the top 64 bits of
// the quotient D / 5^-E are found by long division, 32 bits at a time. Either
// way the bits below them count only as "some" or "none" (sticky), which is all
// that rounding to 53 bits needs. Special cases:
// - more than kMaxDigits significant digits: the rest count as one digit 1 when
//   any of them is not 0 (no halfway point between doubles has that many digits,
//   so the rounding is the same);
// - a number of at least 10^310 overflows and one below 10^-330 rounds to 0
//   before any arithmetic;
// - subnormal results are rounded at their own last bit.
#include "format/double_from_chars.h"

#include <bit>
#include <cstdint>

#include "format/bit_cast.h"

namespace {

constexpr int kMaxDigits = 800;
// Room for the largest divisor, 5^(kMaxDigits + 331), and a dividend 64 bits
// longer (about 2750 bits).
constexpr int kLimbs = 96;

// A natural number in 32-bit limbs, the least significant first.
struct Big {
  std::uint32_t limb[kLimbs];
  int size = 0;  // limbs in use; the top one is not 0
};

void MulAdd(Big* x, std::uint32_t factor, std::uint32_t add) {
  std::uint64_t carry = add;
  for (int i = 0; i < x->size; ++i) {
    const std::uint64_t t = std::uint64_t{x->limb[i]} * factor + carry;
    x->limb[i] = static_cast<std::uint32_t>(t);
    carry = t >> 32;
  }
  if (carry != 0) x->limb[x->size++] = static_cast<std::uint32_t>(carry);
}

// x times 5^k.
void MulPow5(Big* x, std::int64_t k) {
  constexpr std::uint32_t kPow5[14] = {1,     5,      25,      125,     625,      3125,      15625,
                                       78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};
  for (; k >= 13; k -= 13) MulAdd(x, kPow5[13], 0);
  if (k > 0) MulAdd(x, kPow5[k], 0);
}

int BitLength(const Big& x) { return x.size == 0 ? 0 : 32 * x.size - std::countl_zero(x.limb[x.size - 1]); }

void ShiftLeft(Big* x, int bits) {
  if (x->size == 0 || bits == 0) return;
  const int limbs = bits / 32, rest = bits % 32;
  x->limb[x->size + limbs] = 0;
  for (int i = x->size - 1; i >= 0; --i) {
    const std::uint64_t t = std::uint64_t{x->limb[i]} << rest;
    x->limb[i + limbs + 1] |= static_cast<std::uint32_t>(t >> 32);
    x->limb[i + limbs] = static_cast<std::uint32_t>(t);
  }
  for (int i = 0; i < limbs; ++i) x->limb[i] = 0;
  x->size += limbs + 1;
  while (x->size > 0 && x->limb[x->size - 1] == 0) --x->size;
}

// Compares a with b x 2^(32 at).
int CompareAt(const Big& a, const Big& b, int at) {
  if (a.size != b.size + at) return a.size < b.size + at ? -1 : 1;
  for (int i = b.size - 1; i >= 0; --i) {
    if (a.limb[i + at] != b.limb[i]) return a.limb[i + at] < b.limb[i] ? -1 : 1;
  }
  return 0;  // a's lowest limbs are 0 or more
}

// a - q x b x 2^(32 at), for a result of 0 or more.
void SubtractAt(Big* a, const Big& b, std::uint32_t q, int at) {
  std::uint64_t carry = 0;
  std::uint64_t borrow = 0;
  for (int i = at; i < a->size; ++i) {
    const int j = i - at;
    const std::uint64_t product = (j < b.size ? std::uint64_t{b.limb[j]} * q : 0) + carry;
    carry = product >> 32;
    const std::uint64_t taken = (product & 0xFFFFFFFF) + borrow;
    borrow = a->limb[i] < taken;
    a->limb[i] = static_cast<std::uint32_t>(a->limb[i] - taken);
  }
  while (a->size > 0 && a->limb[a->size - 1] == 0) --a->size;
}

// One 32-bit digit of the quotient a / (b x 2^(32 at)), for a below
// b x 2^(32 (at + 1)) and b's top limb at least 2^31; a keeps the remainder.
// The digit is guessed from the top limbs with b's top limb plus 1, which never
// guesses too high and at most 3 too low: those are put right one at a time.
std::uint32_t DivideStep(Big* a, const Big& b, int at) {
  const int top = b.size - 1 + at;
  const std::uint64_t high = top + 1 < a->size ? a->limb[top + 1] : 0;
  const std::uint64_t low = top < a->size ? a->limb[top] : 0;
  auto q = static_cast<std::uint32_t>(((high << 32) | low) / (std::uint64_t{b.limb[b.size - 1]} + 1));
  SubtractAt(a, b, q, at);
  for (; CompareAt(*a, b, at) >= 0; ++q) SubtractAt(a, b, 1, at);
  return q;
}

// The 64 bits of x from bit `from` up.
std::uint64_t Bits64(const Big& x, int from) {
  std::uint64_t r = 0;
  for (int i = 0; i < 3; ++i) {
    const int limb = from / 32 + i;
    if (limb >= x.size) break;
    const int at = 32 * i - from % 32;  // where the limb's bit 0 lands in r
    const std::uint64_t v = x.limb[limb];
    if (at < 64) r |= at >= 0 ? v << at : v >> -at;
  }
  return r;
}

// Whether any of the bits of x below bit `below` is set.
bool AnyBitBelow(const Big& x, int below) {
  for (int i = 0; i < below / 32 && i < x.size; ++i) {
    if (x.limb[i] != 0) return true;
  }
  const int rest = below % 32;
  return rest != 0 && below / 32 < x.size && (x.limb[below / 32] & ((std::uint32_t{1} << rest) - 1)) != 0;
}

enum class Rounded { kValue, kOverflow, kZero };

// (m + a little when sticky) x 2^e, m > 0, rounded to the nearest double (ties
// to even), at the last bit of a subnormal where the result is one.
Rounded Round(std::uint64_t m, int e, bool sticky, bool negative, double* value) {
  const int lead = std::countl_zero(m);
  m <<= lead;
  e -= lead;
  const int top = e + 63;  // the power of two of m's leading bit
  if (top > 1023) return Rounded::kOverflow;
  int shift = 11;  // the bits below the 53 a double keeps
  if (top < -1022) shift += -1022 - top;
  if (shift > 64) return Rounded::kZero;  // below half the smallest subnormal
  std::uint64_t kept = shift == 64 ? 0 : m >> shift;
  const std::uint64_t rest = shift == 64 ? m : m & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (sticky || (kept & 1) != 0))) ++kept;
  // A subnormal's bits are its mantissa (2^52 after rounding up is the smallest
  // normal); a normal mantissa of 2^53 after rounding up carries into the exponent.
  const std::uint64_t bits =
      top < -1022 ? kept : (static_cast<std::uint64_t>(top + 1023) << 52) + (kept - (std::uint64_t{1} << 52));
  if ((bits >> 52) >= 2047) return Rounded::kOverflow;
  if (bits == 0) return Rounded::kZero;
  *value = BitCast<double>(bits | (negative ? std::uint64_t{1} << 63 : 0));
  return Rounded::kValue;
}

// The digits and exponent of a number text.
struct Decimal {
  Big digits;                 // the significant digits, at most kMaxDigits (+1) of them
  int count = 0;              // how many
  std::int64_t exponent = 0;  // the number is digits x 10^exponent
};

// Reads digits with an optional point from p on; false without a digit.
bool ReadDigits(const char** p, const char* last, Decimal* d) {
  bool any = false, point = false, dropped = false;
  std::uint32_t chunk = 0;  // up to 9 digits not yet in d->digits
  int in_chunk = 0;
  constexpr std::uint32_t kChunkScale[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
  for (; *p != last; ++*p) {
    const char c = **p;
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    any = true;
    if (d->count == 0 && c == '0') {  // a leading zero
      if (point) --d->exponent;
    } else if (d->count < kMaxDigits) {
      chunk = chunk * 10 + static_cast<std::uint32_t>(c - '0');
      ++d->count;
      if (point) --d->exponent;
      if (++in_chunk == 9) {
        MulAdd(&d->digits, kChunkScale[9], chunk);
        chunk = 0;
        in_chunk = 0;
      }
    } else {
      if (!point) ++d->exponent;
      if (c != '0') dropped = true;
    }
  }
  if (in_chunk > 0) MulAdd(&d->digits, kChunkScale[in_chunk], chunk);
  if (dropped) {
    MulAdd(&d->digits, 10, 1);
    ++d->count;
    --d->exponent;
  }
  return any;
}

// Reads an exponent ("e" or "E", an optional sign, digits) from p on, if there
// is a whole one; its value is kept below 100000, far past any double.
void ReadExponent(const char** p, const char* last, std::int64_t* exponent) {
  const char* q = *p;
  if (q == last || (*q != 'e' && *q != 'E')) return;
  ++q;
  const bool negative = q != last && *q == '-';
  if (q != last && (*q == '-' || *q == '+')) ++q;
  if (q == last || *q < '0' || *q > '9') return;
  std::int64_t e = 0;
  for (; q != last && *q >= '0' && *q <= '9'; ++q) {
    if (e < 100000) e = e * 10 + (*q - '0');
  }
  *exponent += negative ? -e : e;
  *p = q;
}

}  // namespace

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
  const char* p = first;
  const bool negative = p != last && *p == '-';
  if (negative) ++p;
  Decimal d;
  if (!ReadDigits(&p, last, &d)) return {first, std::errc::invalid_argument};
  ReadExponent(&p, last, &d.exponent);
  if (d.count == 0) {
    value = negative ? -0.0 : 0.0;
    return {p, std::errc()};
  }
  // The number lies in [10^(count + exponent - 1), 10^(count + exponent)).
  const std::int64_t magnitude = d.count + d.exponent;
  if (magnitude > 310 || magnitude < -330) return {p, std::errc::result_out_of_range};

  std::uint64_t m = 0;
  int e = 0;
  bool sticky = false;
  if (d.exponent >= 0) {
    Big& n = d.digits;
    MulPow5(&n, d.exponent);
    const int below = BitLength(n) > 64 ? BitLength(n) - 64 : 0;
    m = Bits64(n, below);
    sticky = AnyBitBelow(n, below);
    e = static_cast<int>(d.exponent) + below;
  } else {
    // quotient = digits x 2^s / 5^k, s chosen so that it lies in (2^62, 2^64);
    // both shifted further so that the divisor's top limb has its top bit set.
    const int k = static_cast<int>(-d.exponent);
    Big& num = d.digits;
    Big den;
    den.limb[0] = 1;
    den.size = 1;
    MulPow5(&den, k);
    const int s = 63 + BitLength(den) - BitLength(num);
    const int normal = (32 - (BitLength(den) + (s > 0 ? 0 : -s)) % 32) % 32;
    ShiftLeft(&num, normal + (s > 0 ? s : 0));
    ShiftLeft(&den, normal + (s > 0 ? 0 : -s));
    m = std::uint64_t{DivideStep(&num, den, 1)} << 32;
    m |= DivideStep(&num, den, 0);
    sticky = num.size != 0;
    e = -s - k;
  }
  double result = 0;
  switch (Round(m, e, sticky, negative, &result)) {
    case Rounded::kValue:
      value = result;
      return {p, std::errc()};
    default:
      return {p, std::errc::result_out_of_range};
  }
}
