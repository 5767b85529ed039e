// Comparing two results of a term or a quantity bit for bit.
#pragma once

#include <cstdint>
#include <string>

#include "format/bit_cast.h"
#include "format/number_text.h"

inline bool SameBits(double a, double b) { return BitCast<std::uint64_t>(a) == BitCast<std::uint64_t>(b); }

inline std::string Shown(double value, std::int32_t code) {
  if (code != 0) return "code " + std::to_string(code);
  return FormatNumber(value).str();
}
