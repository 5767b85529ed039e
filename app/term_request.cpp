// The dialog's term request: the fields' texts to RequestTerms, and its results or message back.
#include "app/term_request.h"

#include "app/history_list.h"
#include "app/scroll_bar.h"
#include "app/vantel_state.h"
#include "engine/dialog_state.h"
#include "resources/resource_ids.h"
#include "termrequest/term_texts.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/message_box.h"

namespace {

struct SlotControls {
  int checkbox;
  int box;
};

constexpr SlotControls kSlots[kSlotCount] = {
    {IDC_AN_CHECK, IDC_AN_BOX},
    {IDC_SN_CHECK, IDC_SN_BOX},
    {IDC_PN_CHECK, IDC_PN_BOX},
};

}  // namespace

void RunTermRequest(HWND dialog) {
  App.CurrentFormula = GetItemText(dialog, IDC_FORMULA);
  TickedSlots ticked{};
  for (int i = 0; i < kSlotCount; ++i) ticked[i] = IsDlgButtonChecked(dialog, kSlots[i].checkbox) == BST_CHECKED;
  const TermTexts result = RequestTerms(App.CurrentFormula, GetItemText(dialog, IDC_N), ticked, LanguageIndex);

  if (result.stop == RequestStop::kFormulaRejected) {
    if (result.message.shown) ShowMessage(result.message.caption, result.message.text);
    return;
  }
  AddToHistory(dialog, App.CurrentFormula);
  if (result.n_filled) SetItemText(dialog, IDC_N, "1");
  App.CurrentN = result.n;
  if (result.stop == RequestStop::kBadN) {
    ShowMessage(result.message.caption, result.message.text);
    return;
  }
  SetScrollBarPos(App.ScrollBarHandle, result.n);
  for (int i = 0; i < kSlotCount; ++i) {
    if (result.slots[i].computed) SetItemText(dialog, kSlots[i].box, result.slots[i].text);
  }
}

void ClearResults(HWND dialog) {
  for (const SlotControls& slot : kSlots) SetItemText(dialog, slot.box, "");
}
