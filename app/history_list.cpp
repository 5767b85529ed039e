// The formula combo box's list loaded from the history file and saved back to it, merged under the save lock.
#include "app/history_list.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/history.h"
#include "app/vantel_state.h"
#include "resources/resource_ids.h"
#include "userfiles/folders.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/files.h"
#include "winhelpers/message_box.h"

namespace {

// Reads the history file at the path, passing each line to add. False when a file
// is there that was not read whole: a system file, which is not read at all, counts.
bool ReadHistoryFile(const std::string& path, std::size_t already_held, bool* found,
                     const std::function<void(const ShortString&)>& add) {
  TextFile file;
  FileOpening opening = OpenTextAt(path, &file);
  *found = opening != FileOpening::kMissing;
  if (opening != FileOpening::kOpened) return opening == FileOpening::kMissing;
  bool whole = ReadHistoryLines(&file, already_held, add);
  return Close(&file) && whole;
}

}  // namespace

void LoadHistory(HWND dialog) {
  App.history_full = false;
  const FilePlacement place = ProgramFilePlace(kHistoryFileName);
  App.history_path = place.path;
  // The lines are gathered first and the list filled in one go (ComboAddAll).
  std::vector<ShortString> lines;
  bool found = false;
  const bool whole = ReadHistoryFile(App.history_path, ComboCount(dialog, IDC_FORMULA), &found,
                                     [&](const ShortString& line) { lines.push_back(line); });
  ComboAddAll(dialog, IDC_FORMULA, lines);
  App.history_loaded = ComboCount(dialog, IDC_FORMULA);
  App.history_writable = whole && place.writable;
  // One message: where nothing can be saved, a file read in part changes nothing more.
  if (!place.writable)
    ShowMessage(kHistoryCaption, HistoryNowhereText());
  else if (!whole)
    ShowMessage(kHistoryCaption, HistoryUnreadableText());
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

namespace {

// Saves the list: the file's entries as they are now (another copy of the program
// may have saved it meanwhile), then this run's new formulas that match none of
// them. The reading, the merge and the writing are one step under the save lock,
// so a copy saving at the same moment waits for it (up to `wait`) and then merges
// with what this one wrote. *kept is set, and nothing written, when the file was
// read whole at start but cannot be read whole now.
SaveFault SaveMerged(HWND dialog, std::chrono::milliseconds wait, bool* kept) {
  *kept = false;
  const std::vector<ShortString> entries = ComboItemTexts(dialog, IDC_FORMULA);
  const std::size_t loaded = App.history_loaded < entries.size() ? App.history_loaded : entries.size();
  const std::vector<ShortString> added(entries.begin() + loaded, entries.end());
  return SaveMergedFile(App.history_path.c_str(), wait, [&]() -> std::optional<std::string> {
    std::vector<ShortString> on_disk;
    on_disk.reserve(entries.size());  // the file holds about as many: no growing on the way
    bool found = false;
    if (!ReadHistoryFile(App.history_path, 0, &found, [&](const ShortString& line) { on_disk.push_back(line); })) {
      *kept = true;
      return std::nullopt;
    }
    if (!found) return HistoryFileBytes(entries);
    return HistoryFileBytes(MergeHistory(std::move(on_disk), added, &App.history_full));
  });
}

}  // namespace

SaveFault SaveHistoryQuietly(HWND dialog, std::chrono::milliseconds wait) {
  if (!App.history_writable) return SaveFault::kNone;
  bool kept = false;
  return SaveMerged(dialog, wait, &kept);
}

void SaveHistory(HWND dialog) {
  if (!App.history_writable) return;  // told at start
  bool kept = false;
  SaveFault fault = SaveMerged(dialog, kSaveWait, &kept);
  if (kept) ShowMessage(kHistoryCaption, HistoryChangedText());
  if (fault != SaveFault::kNone) ShowMessage(kHistoryCaption, HistoryNotSavedText(fault));
  if (App.history_full) ShowMessage(kHistoryCaption, HistoryFullText());
}
