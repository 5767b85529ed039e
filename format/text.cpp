#include "format/text.h"

// Only the space character is a blank: tabs and line breaks stay.
std::string_view TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  return text.substr(0, n);
}

std::string_view Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

// Searches from the end, comparing exactly (case matters).
std::uint16_t LastPos(char c, std::string_view text) {
  for (std::size_t i = text.size(); i > 0; --i) {
    if (text[i - 1] == c) return static_cast<std::uint16_t>(i);
  }
  return 0;
}

char FoldCase(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  switch (b) {
    case 0x8A:  // S with caron
    case 0x8C:  // OE
    case 0x8E:  // Z with caron
      return static_cast<char>(b + 16);
    case 0x9F:  // Y with diaeresis
      return static_cast<char>(0xFF);
    default:
      return c;
  }
}
