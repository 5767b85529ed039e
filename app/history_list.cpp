#include "app/history_list.h"

#include <vector>

#include "app/history.h"
#include "app/vantel_state.h"
#include "resources/resource_ids.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/files.h"

void LoadHistory(HWND dialog) {
  App.history_writable = true;
  TextFile file;
  if (!OpenTextForReading(kHistoryFileName, &file)) return;
  App.history_writable = ReadHistoryLines(&file, ComboCount(dialog, IDC_FORMULA),
                                          [&](const ShortString& line) { ComboAdd(dialog, IDC_FORMULA, line); });
  Close(&file);
}

void AddToHistory(HWND dialog, const ShortString& formula) {
  int count = ComboCount(dialog, IDC_FORMULA);
  for (int i = 1; i <= count; ++i) {
    if (HistoryEntryMatches(ComboItemText(dialog, IDC_FORMULA, static_cast<std::uint16_t>(i)).view(), formula.view())) {
      return;
    }
  }
  if (static_cast<std::size_t>(count) >= kMaxHistoryEntries) return;
  ComboAdd(dialog, IDC_FORMULA, formula);
}

void SaveHistory(HWND dialog) {
  if (!App.history_writable) return;
  int count = ComboCount(dialog, IDC_FORMULA);
  std::vector<ShortString> entries;
  entries.reserve(count > 0 ? count : 0);
  for (int i = 1; i <= count; ++i) entries.push_back(ComboItemText(dialog, IDC_FORMULA, static_cast<std::uint16_t>(i)));
  WriteHistoryFile(kHistoryFileName, entries);
}
