// The form's edit fields: Unicode windows where Enter moves on, their texts moved to and from Windows-1252.
#include "tools/fields.h"

#include "encoding/cp1252.h"
#include "tools/program.h"
#include "widenames/wide_names.h"

namespace {

constexpr wchar_t kEndOfText = 0x1A;  // Ctrl-Z: reading "Tools.rel" stops there

void OnEnterInField(HWND edit) {
  int k = GetDlgCtrlID(edit) - IDC_ED0;
  SetFocus(k < 3 ? Ed(k + 1) : FormItem(IDC_OKED));
}

// Enter in a field moves on; the key's character is dropped, so the field does not beep.
LRESULT CALLBACK FieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      if (wParam == VK_RETURN)
        return DLGC_WANTALLKEYS | CallWindowProcW(g_tools.editProc, edit, message, wParam, lParam);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        OnEnterInField(edit);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\r' || wParam == '\n') return 0;
      break;
  }
  return CallWindowProcW(g_tools.editProc, edit, message, wParam, lParam);
}

}  // namespace

// The fields are Unicode windows, so that a character typed or pasted that the list
// file cannot hold stays what it is until storing refuses it, instead of turning
// into "?".
HWND CreateField(DWORD exStyle, DWORD style, int id, HINSTANCE instance) {
  HWND field = CreateWindowExW(exStyle, L"EDIT", L"", style, 0, 0, 0, 0, g_tools.form,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  g_tools.editProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc)));
  return field;
}

// The text of a field in the code page of the list file; false when it holds a
// character that the code page cannot hold, or a Ctrl-Z (a paste brings it; typed,
// it is the field's undo). Windows-1252 has a Ctrl-Z, but reading the list file
// stops at it: the tools after it would be lost, and the list could not be saved
// again.
bool FieldText(int k, std::string& text) {
  HWND field = Ed(k);
  std::wstring wide(GetWindowTextLengthW(field) + 1, L'\0');
  wide.resize(GetWindowTextW(field, wide.data(), static_cast<int>(wide.size())));
  text.clear();
  if (wide.empty()) return true;
  if (wide.find(kEndOfText) != std::wstring::npos) return false;
  bool lost = false;
  text = Utf8ToCp1252(Utf8Of(wide), &lost);
  if (lost) text.clear();
  return !lost;
}

void SetFieldText(int k, std::string_view text) { SetWindowTextW(Ed(k), WideOf(Cp1252ToUtf8(text)).c_str()); }
