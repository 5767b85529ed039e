// Arbitrary bytes (up to 255) through the formula check, and every formula the
// check accepts through the text evaluator and the three quantities for a few n:
// nothing may crash, hang or touch memory it does not own.
#include <cstddef>
#include <cstdint>

#include "engine/check.h"
#include "engine/dialog_state.h"
#include "engine/sequence.h"
#include "format/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > ShortString::kCapacity) return 0;
  ShortString text(std::string_view(reinterpret_cast<const char*>(data), size));

  // The evaluator copes with any text, checked or not.
  double v = Evaluate(text);
  if (ResultCode == kNoError) FormatNumber(v);
  if (ResultCode < 0 || ResultCode > 4) __builtin_trap();

  CheckMessage message;
  if (!CheckFormula(text, kCatalan, &message)) return 0;
  for (std::uint16_t n : {1, 2, 7, 30}) {
    TermValue(text, n);
    PartialSum(text, n);
    PartialProduct(text, n);
  }
  return 0;
}
