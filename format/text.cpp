// Trimming spaces, and finding the last place of a character in a text.
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
