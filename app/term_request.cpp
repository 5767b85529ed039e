#include "app/term_request.h"

#include <cstdint>

#include "app/history_list.h"
#include "app/scroll_bar.h"
#include "app/vantel_state.h"
#include "engine/check.h"
#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/sequence.h"
#include "format/number_text.h"
#include "resources/resource_ids.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/message_box.h"

namespace {

// The computations take n as a 16-bit count: a larger n is refused like a bad one.
constexpr std::int32_t kMaxN = 65535;

struct ResultSlot {
  int checkbox;
  int box;
  double (*compute)(const ShortString& formula, std::uint16_t n);
};

constexpr ResultSlot kSlots[] = {
    {IDC_AN_CHECK, IDC_AN_BOX, TermValue},
    {IDC_SN_CHECK, IDC_SN_BOX, PartialSum},
    {IDC_PN_CHECK, IDC_PN_BOX, PartialProduct},
};

}  // namespace

void RunTermRequest(HWND dialog) {
  if (ReadFormula(dialog)) ShowTerms(dialog);
}

bool ReadFormula(HWND dialog) {
  App.current_formula = GetItemText(dialog, IDC_FORMULA);
  CheckMessage message;
  if (!CheckFormula(App.current_formula, &message)) {
    if (message.shown) ShowMessage(message.caption, message.text);
    return false;
  }
  AddToHistory(dialog, App.current_formula);
  return true;
}

void ShowTerms(HWND dialog) {
  if (GetItemText(dialog, IDC_N).empty()) SetItemText(dialog, IDC_N, "1");
  std::int32_t error = 0;
  std::int32_t n = GetItemInt(dialog, IDC_N, &error);
  App.current_n = n;
  if (error != 0 || n < 1 || n > kMaxN) {
    ShowMessage("* error *", "nom\351s nombres naturals (enters positius)");
    return;
  }
  SetScrollBarPos(App.scroll_bar_handle, n);
  for (const ResultSlot& slot : kSlots) {
    if (IsDlgButtonChecked(dialog, slot.checkbox) != BST_CHECKED) continue;
    double value = slot.compute(App.current_formula, static_cast<std::uint16_t>(n));
    SetItemText(dialog, slot.box, ResultCode == kNoError ? FormatNumber(value) : ResultTexts[ResultCode]);
  }
}

void ClearResults(HWND dialog) {
  SetItemText(dialog, IDC_AN_BOX, "");
  SetItemText(dialog, IDC_SN_BOX, "");
  SetItemText(dialog, IDC_PN_BOX, "");
}
