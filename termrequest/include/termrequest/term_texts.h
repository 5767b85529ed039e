// A term request without a window: from the texts of the formula field and the
// n field to the texts of the three result boxes, or to the message shown
// instead. The dialog and vantel-cli both run their requests through it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/check.h"
#include "engine/messages.h"
#include "format/short_string.h"
#include "portable/field_text.h"

// The computations take n as a 16-bit count: a larger n is refused like a bad one.
constexpr std::int32_t kLargestN = 65535;

// The result slots in their order: a_n, S_n, P_n.
constexpr int kSlotCount = 3;
using TickedSlots = std::array<bool, kSlotCount>;

enum class RequestStop {
  kNone,             // the ticked slots were computed
  kFormulaRejected,  // the check's message (none for an empty formula)
  kBadN,             // the "* error *" message
};

struct SlotResult {
  bool computed = false;  // the slot was ticked; an unticked box is not touched
  std::int32_t code = 0;  // the computation's result code
  ShortString text;       // FormatNumber of the value, or the result text of the code
};

struct TermTexts {
  RequestStop stop = RequestStop::kNone;
  CheckMessage message;   // what the dialog shows when the request stops
  bool n_filled = false;  // the n field was empty and now holds "1"
  std::int32_t n = 0;     // n as read (0 when it could not be read); not set for a rejected formula
  std::array<SlotResult, kSlotCount> slots;
};

// Checks the formula, reads n as the n field is read (an empty field is "1";
// blanks only, 0, a negative number or anything but an integer is bad, and so is
// an n above kLargestN or a text longer than a field holds), and computes the
// ticked slots in their order. The message and the result texts are in the language.
TermTexts RequestTerms(const ShortString& formula, std::string_view n_text, const TickedSlots& ticked,
                       Language language);
