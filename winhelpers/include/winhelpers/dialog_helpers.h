// The program's own thin layer over dialog controls and combo boxes. Texts going
// into a control are cut to 255 characters; texts read from an edit or combo box
// hold at most 254. Combo-box items are numbered from 1; 0 means no item.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "format/short_string.h"

void SetItemText(HWND dialog, int id, const ShortString& text);
ShortString GetItemText(HWND dialog, int id);

// The control's text read as an integer (ReadInteger): blanks around it are
// dropped, nothing left gives 0 with *error 0, any fault gives 0 with *error 1.
std::int32_t GetItemInt(HWND dialog, int id, std::int32_t* error);

// The user can type no more into the combo box's field than GetItemText reads
// (kFieldTextLength characters), so that what is read is what was typed.
void ComboLimitText(HWND dialog, int id);

int ComboCount(HWND dialog, int id);
void ComboAdd(HWND dialog, int id, const ShortString& text);
int ComboSelIndex(HWND dialog, int id);
ShortString ComboItemText(HWND dialog, int id, std::uint16_t index);
ShortString ComboSelText(HWND dialog, int id);

// Appends the texts in order, as ComboAdd does one by one, with the list's
// storage reserved once and without redrawing it after each: a list of tens of
// thousands of items then fills in a moment.
void ComboAddAll(HWND dialog, int id, const std::vector<ShortString>& texts);
// The texts of all items in order, as ComboItemText gives them.
std::vector<ShortString> ComboItemTexts(HWND dialog, int id);

// The item whose text begins with the text, ignoring letter case; the search
// starts at the second item and wraps round to the first.
std::uint16_t ComboFindPrefix(HWND dialog, int id, const ShortString& text);

// The first item equal to the text when letter case is ignored (the platform's
// comparison), or 0.
std::uint16_t ComboFindExact(HWND dialog, int id, const ShortString& text);

HWND ItemHandle(HWND dialog, int id);
