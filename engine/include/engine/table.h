// a_k, S_k and P_k for every k from 1 to n in one pass: each row equals what a
// separate request for that k gives.
#pragma once

#include <cstdint>
#include <functional>

#include "format/short_string.h"

struct TableRow {
  std::uint16_t k = 0;
  double a = 0;
  std::int32_t a_code = 0;
  double s = 0;
  std::int32_t s_code = 0;
  double p = 0;
  std::int32_t p_code = 0;
};

void ComputeTable(const ShortString& formula, std::uint16_t n, const std::function<void(const TableRow&)>& emit);
