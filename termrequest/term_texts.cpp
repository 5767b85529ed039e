// The term request without a window: the formula checked, n read, the ticked quantities computed as texts.
#include "termrequest/term_texts.h"

#include "engine/sequence.h"
#include "format/number_text.h"
#include "portable/int_reading.h"

namespace {

// The n field's message exists in Catalan only.
constexpr char kBadNCaption[] = "* error *";
constexpr char kBadNText[] = "nom\351s nombres naturals (enters positius)";

// The slots' quantities, in their order.
constexpr unsigned kWants[kSlotCount] = {kWantTerm, kWantSum, kWantProduct};
constexpr Result Quantities::*kQuantities[kSlotCount] = {&Quantities::term, &Quantities::sum, &Quantities::product};

}  // namespace

TermTexts RequestTerms(const ShortString& formula, std::string_view n_text, const TickedSlots& ticked,
                       Language language) {
  TermTexts result;
  if (!CheckFormula(formula, language, &result.message)) {
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

  // The ticked quantities in one pass over the terms, each with the value and
  // code of its own computation (n is at least 1: no quantity keeps a code from
  // before it).
  unsigned wanted = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    if (ticked[i]) wanted |= kWants[i];
  }
  const Quantities q = ComputeQuantities(formula, static_cast<std::uint16_t>(result.n), wanted, kNoError);
  for (int i = 0; i < kSlotCount; ++i) {
    if (!ticked[i]) continue;
    SlotResult& slot = result.slots[i];
    const Result r = q.*kQuantities[i];
    slot.computed = true;
    slot.code = r.code;
    slot.text = r.code == kNoError ? FormatNumber(r.value) : ShortString(ResultText(language, r.code));
  }
  return result;
}
