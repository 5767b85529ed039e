// Reading a decimal number text: its parts scanned, one exact division where it can, else correctly rounded.
#include "format/number_reading.h"

#include <cstdint>

#include "format/double_bits.h"
#include "format/double_from_chars.h"
#include "format/text.h"

namespace {

// The parts of a decimal number as written.
struct Scanned {
  std::size_t start = 0;  // where the sign, if any, ends
  bool negative = false;
  int digits = 0;
  int integer_digits = 0;
  bool nonzero = false;
  std::uint64_t mantissa = 0;  // the digits as an integer, while there are at most 15
  long exponent = 0;
};

// The exponent part after "E" or "e" from i on: an optional sign and at least
// one digit (kept below 100000, far past any double).
bool ScanExponent(std::string_view text, std::size_t* i, long* exponent) {
  bool negative = false;
  if (*i < text.size() && (text[*i] == '+' || text[*i] == '-')) negative = text[(*i)++] == '-';
  const std::size_t start = *i;
  for (; *i < text.size() && IsDigit(text[*i]); ++*i) {
    if (*exponent < 100000) *exponent = *exponent * 10 + (text[*i] - '0');
  }
  if (*i == start) return false;
  if (negative) *exponent = -*exponent;
  return true;
}

// The whole text as the parts of a number, or false.
bool Scan(std::string_view text, Scanned* n) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) n->negative = text[i++] == '-';
  n->start = i;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (c != '0') n->nonzero = true;
      if (++n->digits <= 15) n->mantissa = n->mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      if (!point) ++n->integer_digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (n->digits == 0) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (!ScanExponent(text, &i, &n->exponent)) return false;
  }
  return i == text.size();
}

}  // namespace

bool ReadNumber(std::string_view text, double* value, bool* overflow) {
  *value = 0;
  *overflow = false;
  Scanned n;
  if (!Scan(text, &n)) return false;
  if (!n.nonzero) {
    *value = n.negative ? -0.0 : 0.0;
    return true;
  }
  // At most 15 digits and no more than 22 decimals: the integer and the power of
  // ten are exact, so one division is the correctly rounded value.
  const int decimals = n.digits - n.integer_digits - static_cast<int>(n.exponent);
  if (n.digits <= 15 && decimals >= 0 && decimals <= 22) {
    const double magnitude = static_cast<double>(n.mantissa) / kExactPowersOfTen[decimals];
    *value = n.negative ? -magnitude : magnitude;
    return true;
  }
  // Correctly rounded to the nearest double.
  double magnitude = 0;
  const auto [end, error] = DoubleFromChars(text.data() + n.start, text.data() + text.size(), magnitude);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Beyond the range of a double: above it is an overflow, below it the number
    // underflows to 0. With at most 255 digits, the exponent and the count of
    // integer digits tell the two apart (they lie over 600 powers of ten apart).
    if (n.exponent + n.integer_digits > 0) {
      *overflow = true;
      return true;
    }
    magnitude = 0;
  } else if (error != std::errc()) {
    return false;
  }
  *value = n.negative ? -magnitude : magnitude;
  return true;
}
