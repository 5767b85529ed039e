// Arbitrary bytes (up to 255) as a formula, checked or not: the prepared terms
// and quantities must equal the text evaluation's, value bit for bit and code.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "engine/evaluate.h"
#include "engine/prepared.h"
#include "engine/sequence.h"

namespace {

bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

[[noreturn]] void Differ(const ShortString& formula, const char* what, unsigned k) {
  std::fprintf(stderr, "prepared and text differ: %s at %u of \"%s\"\n", what, k, formula.c_str());
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > ShortString::kCapacity) return 0;
  ShortString formula(std::string_view(reinterpret_cast<const char*>(data), size));

  PreparedFormula prepared = PrepareFormula(formula);
  for (std::uint16_t k : {0, 1, 2, 3, 9, 10, 11, 99, 100, 170, 171, 1000, 9999, 10000, 65535}) {
    Result fast = PreparedTerm(prepared, k);
    Result text = TextTerm(formula, k);
    if (!Same(fast.value, text.value) || fast.code != text.code) Differ(formula, "term", k);
  }
  const std::uint16_t n = 70;  // more than one block of terms
  double s = PartialSum(formula, n);
  std::int32_t code = ResultCode;
  if (!Same(s, TextPartialSum(formula, n)) || code != ResultCode) Differ(formula, "S", n);
  double p = PartialProduct(formula, n);
  code = ResultCode;
  if (!Same(p, TextPartialProduct(formula, n)) || code != ResultCode) Differ(formula, "P", n);
  return 0;
}
