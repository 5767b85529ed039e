#include "app/history_list.h"

#include <vector>

#include "app/history.h"
#include "app/vantel_state.h"
#include "resources/resource_ids.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/files.h"
#include "winhelpers/message_box.h"

void LoadHistory(HWND dialog) {
  App.history_writable = true;
  App.history_full = false;
  TextFile file;
  if (!OpenTextForReading(kHistoryFileName, &file)) return;
  // The lines are gathered first and the list filled in one go (ComboAddAll).
  std::vector<ShortString> lines;
  App.history_writable =
      ReadHistoryLines(&file, ComboCount(dialog, IDC_FORMULA), [&](const ShortString& line) { lines.push_back(line); });
  Close(&file);
  ComboAddAll(dialog, IDC_FORMULA, lines);
  if (!App.history_writable) ShowMessage(kHistoryCaption, HistoryUnreadableText());
}

namespace {

// True when an entry equal to the formula, letter case ignored, is in the list.
bool InHistory(HWND dialog, const ShortString& formula) {
  // The control's own search answers at once for the usual case; only when it
  // finds an entry that the program's rule does not accept is every entry
  // compared.
  std::uint16_t found = ComboFindExact(dialog, IDC_FORMULA, formula);
  if (found == 0) return false;
  if (HistoryEntryMatches(ComboItemText(dialog, IDC_FORMULA, found).view(), formula.view())) return true;
  int count = ComboCount(dialog, IDC_FORMULA);
  for (int i = 1; i <= count; ++i) {
    if (HistoryEntryMatches(ComboItemText(dialog, IDC_FORMULA, static_cast<std::uint16_t>(i)).view(), formula.view())) {
      return true;
    }
  }
  return false;
}

}  // namespace

void AddToHistory(HWND dialog, const ShortString& formula) {
  if (InHistory(dialog, formula)) return;
  if (static_cast<std::size_t>(ComboCount(dialog, IDC_FORMULA)) >= kMaxHistoryEntries) {
    App.history_full = true;
    return;
  }
  ComboAdd(dialog, IDC_FORMULA, formula);
}

SaveFault SaveHistoryQuietly(HWND dialog) {
  if (!App.history_writable) return SaveFault::kNone;
  return WriteHistoryFile(kHistoryFileName, ComboItemTexts(dialog, IDC_FORMULA));
}

void SaveHistory(HWND dialog) {
  if (!App.history_writable) return;  // told at start
  SaveFault fault = SaveHistoryQuietly(dialog);
  if (fault != SaveFault::kNone) ShowMessage(kHistoryCaption, HistoryNotSavedText(fault));
  if (App.history_full) ShowMessage(kHistoryCaption, HistoryFullText());
}
