// Conversion between UTF-8 and Windows-1252, code point by code point.
#include "encoding/cp1252.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80 to 0x9F; the five bytes Windows-1252 leaves
// undefined stand for the C1 control of the same number, so they round-trip.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of the code point; "?" with *lost set when Windows-1252 has none.
char ToCp1252(char32_t c, bool* lost) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  *lost = true;
  return '?';
}

}  // namespace

char32_t NextCodePoint(std::string_view utf8, std::size_t* pos) {
  std::size_t i = *pos;
  unsigned char b = static_cast<unsigned char>(utf8[i]);
  int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
  char32_t c = extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : extra == 3 ? b & 0x07 : b;
  bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size();
  for (int k = 1; ok && k <= extra; ++k) {
    unsigned char cont = static_cast<unsigned char>(utf8[i + k]);
    if ((cont & 0xC0) != 0x80) ok = false;
    c = (c << 6) | (cont & 0x3F);
  }
  // Overlong forms and surrogates are malformed too.
  static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
  if (ok && (c < kSmallest[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)) ok = false;
  if (!ok) {
    *pos = i + 1;
    return kReplacementCharacter;
  }
  *pos = i + static_cast<std::size_t>(extra) + 1;
  return c;
}

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf8ToCp1252(std::string_view utf8, bool* lost) {
  bool any_lost = false;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) out += ToCp1252(NextCodePoint(utf8, &i), &any_lost);
  if (lost) *lost = any_lost;
  return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  for (char ch : cp1252) {
    auto b = static_cast<unsigned char>(ch);
    AppendUtf8(&out, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char32_t{b});
  }
  return out;
}
