#include "app/term_texts.h"

#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/sequence.h"
#include "format/number_text.h"
#include "winhelpers/field_text.h"
#include "winhelpers/int_reading.h"

namespace {

// The n field's message exists in Catalan only.
constexpr char kBadNCaption[] = "* error *";
constexpr char kBadNText[] = "nom\351s nombres naturals (enters positius)";

using Computation = double (*)(const ShortString& formula, std::uint16_t n);
constexpr Computation kComputations[kSlotCount] = {TermValue, PartialSum, PartialProduct};

}  // namespace

TermTexts RequestTerms(const ShortString& formula, std::string_view n_text, const TickedSlots& ticked) {
  TermTexts result;
  if (!CheckFormula(formula, &result.message)) {
    result.stop = RequestStop::kFormulaRejected;
    return result;
  }

  // Only a field that is exactly empty becomes "1": blanks only read as 0, and
  // 0 is not a natural number.
  result.n_filled = n_text.empty();
  std::int32_t error = 0;
  result.n = ReadInteger(result.n_filled ? std::string_view("1") : n_text, &error);
  if (error != 0 || result.n < 1 || result.n > kLargestN || n_text.size() > kFieldTextLength) {
    result.stop = RequestStop::kBadN;
    result.message = {true, kBadNCaption, kBadNText};
    return result;
  }

  // Each code is read right after its computation: it belongs to that slot.
  for (int i = 0; i < kSlotCount; ++i) {
    if (!ticked[i]) continue;
    SlotResult& slot = result.slots[i];
    double value = kComputations[i](formula, static_cast<std::uint16_t>(result.n));
    slot.computed = true;
    slot.code = ResultCode;
    slot.text = ResultCode == kNoError ? FormatNumber(value) : ResultTexts[ResultCode];
  }
  return result;
}
