// The formula history as the list of the formula combo box, loaded from and
// saved to "ults.rel" (in the current folder, or in the per-user folder where the
// current folder cannot be written).
#pragma once

#include <windows.h>

#include <chrono>

#include "format/short_string.h"
#include "safesave/save_file.h"

// Appends the stored formulas to the list; no file gives an empty list. A file
// that exists but cannot be read whole (or is not read: a system file) is
// reported, and kept as it is.
void LoadHistory(HWND dialog);

// Appends the formula unless an entry equal to it (letter case ignored) is there
// or the list is full.
void AddToHistory(HWND dialog, const ShortString& formula);

// Writes the list back, unless the file could not be read at start or there is
// no folder to save it in (both told at start): the file's entries as they are
// now (another copy may have added some), then this run's new formulas. A save
// that failed, another copy that kept saving for the whole wait, and formulas a
// full list left out, are reported.
void SaveHistory(HWND dialog);

// The same save without any message, for the end of the user's session, when a
// message box could no longer be answered, waiting up to `wait` for another
// copy's save. The result tells what went wrong.
SaveFault SaveHistoryQuietly(HWND dialog, std::chrono::milliseconds wait);
