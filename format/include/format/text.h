// Trimming blanks, finding the last occurrence of a character, and the character
// classes the program's texts share. A blank is the space character alone;
// positions are 1-based and 0 means "none".
#pragma once

#include <cstdint>
#include <string_view>

std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);
std::uint16_t LastPos(char c, std::string_view text);

// The decimal digits "0" to "9".
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The letters of a formula: "A" to "Z" and "a" to "z".
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The lower case of a Windows-1252 character: A to Z, the accented capitals
// (not the sign of multiplication), S and Z with caron, OE and Y with
// diaeresis; every other character is its own lower case.
inline char FoldCase(char c) {
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
