// Reading the n field's integer: decimal, "$" hexadecimal or "%" binary, with its sign and range checked.
#include "portable/int_reading.h"

#include "format/text.h"

namespace {

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

// The whole text must be one integer; see the header for its form.
bool ReadWholeInteger(std::string_view s, std::int32_t* value) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  unsigned base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i < s.size() && s[i] == '%') {
    base = 2;
    ++i;
  }
  if (i >= s.size()) return false;
  // Decimal values are limited to the signed range (magnitude 2^31 only when
  // negative); hexadecimal and binary ones to 32 bits.
  const std::uint64_t limit = base == 10 ? (negative ? 2147483648ull : 2147483647ull) : 0xFFFFFFFFull;
  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    unsigned d = static_cast<unsigned>(DigitValue(s[i]));
    if (d >= base) return false;
    magnitude = magnitude * base + d;
    if (magnitude > limit) return false;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  *value = static_cast<std::int32_t>(bits);
  return true;
}

}  // namespace

std::int32_t ReadInteger(std::string_view text, std::int32_t* error) {
  *error = 0;
  std::string_view s = Trim(text);
  if (s.empty()) return 0;
  std::int32_t value = 0;
  if (!ReadWholeInteger(s, &value)) {
    *error = 1;
    return 0;
  }
  return value;
}
