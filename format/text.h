// Trimming blanks and finding the last occurrence of a character. A blank is the
// space character alone; positions are 1-based and 0 means "none".
#pragma once

#include <cstdint>
#include <string_view>

std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);
std::uint16_t LastPos(char c, std::string_view text);
