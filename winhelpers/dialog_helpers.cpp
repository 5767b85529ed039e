// Texts of dialog items and combo-box items, numbered from 1, through the controls' ANSI messages.
#include "winhelpers/dialog_helpers.h"

#include "portable/field_text.h"
#include "portable/int_reading.h"

namespace {

constexpr int kReadBuffer = kFieldTextLength + 1;  // the text and the terminating zero
constexpr int kListItemBuffer = 256;               // a list item holds up to 255 characters

}  // namespace

void SetItemText(HWND dialog, int id, const ShortString& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

ShortString GetItemText(HWND dialog, int id) {
  char buffer[kReadBuffer] = {};
  GetDlgItemTextA(dialog, id, buffer, kReadBuffer);
  return ShortString(buffer);
}

std::int32_t GetItemInt(HWND dialog, int id, std::int32_t* error) {
  return ReadInteger(GetItemText(dialog, id).view(), error);
}

void ComboLimitText(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, CB_LIMITTEXT, kFieldTextLength, 0); }

int ComboCount(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0)); }

void ComboAdd(HWND dialog, int id, const ShortString& text) {
  SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboSelIndex(HWND dialog, int id) {
  LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? 0 : static_cast<int>(index) + 1;
}

namespace {

// The text of the item at a 0-based position of a combo box.
ShortString ItemTextAt(HWND combo, WPARAM position) {
  // An item longer than the buffer is never stored (ComboAdd cuts to 255), but
  // an item put in by other means must not overrun it.
  LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, position, 0);
  if (length == CB_ERR || length >= kListItemBuffer) return {};
  char buffer[kListItemBuffer] = {};
  SendMessageA(combo, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(buffer));
  return ShortString(buffer);
}

}  // namespace

ShortString ComboItemText(HWND dialog, int id, std::uint16_t index) {
  if (index == 0) return {};
  return ItemTextAt(GetDlgItem(dialog, id), index - 1);
}

void ComboAddAll(HWND dialog, int id, const std::vector<ShortString>& texts) {
  if (texts.empty()) return;
  // The control is looked up once: finding a dialog item is not free on every
  // platform, and this runs once per item.
  HWND combo = GetDlgItem(dialog, id);
  std::size_t bytes = 0;
  for (const ShortString& text : texts) bytes += text.size() + 1;
  SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageA(combo, CB_INITSTORAGE, texts.size(), bytes);
  for (const ShortString& text : texts) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(combo, nullptr, TRUE);
}

std::vector<ShortString> ComboItemTexts(HWND dialog, int id) {
  HWND combo = GetDlgItem(dialog, id);
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  std::vector<ShortString> texts;
  if (count <= 0) return texts;
  texts.reserve(static_cast<std::size_t>(count));
  for (LRESULT i = 0; i < count; ++i) texts.push_back(ItemTextAt(combo, static_cast<WPARAM>(i)));
  return texts;
}

ShortString ComboSelText(HWND dialog, int id) {
  return ComboItemText(dialog, id, static_cast<std::uint16_t>(ComboSelIndex(dialog, id)));
}

std::uint16_t ComboFindPrefix(HWND dialog, int id, const ShortString& text) {
  LRESULT index = SendDlgItemMessageA(dialog, id, CB_FINDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return index == CB_ERR ? 0 : static_cast<std::uint16_t>(index + 1);
}

std::uint16_t ComboFindExact(HWND dialog, int id, const ShortString& text) {
  LRESULT index = SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(text.c_str()));
  return index == CB_ERR ? 0 : static_cast<std::uint16_t>(index + 1);
}

HWND ItemHandle(HWND dialog, int id) { return GetDlgItem(dialog, id); }
