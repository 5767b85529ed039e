// Reading an integer typed into an edit field.
#pragma once

#include <cstdint>
#include <string_view>

// Reads the text the way the n field is read: blanks (spaces) around it are
// removed; nothing left gives 0 with no error. Otherwise the whole text must be a
// 32-bit integer: leading spaces and tabs, an optional sign, an optional "$"
// (hexadecimal) or "%" (binary) prefix, and digits of that base. Hexadecimal and
// binary values may use all 32 bits (two's complement). On any fault the result
// is 0 and *error is 1; otherwise *error is 0.
std::int32_t ReadInteger(std::string_view text, std::int32_t* error);
