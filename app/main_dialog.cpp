// The dialog's messages: its start, buttons and menu, scroll bar, colours, the close and the session's end.
#include "app/main_dialog.h"

#include <chrono>

#include "about/about_window.h"
#include "app/history_list.h"
#include "app/scroll_bar.h"
#include "app/term_request.h"
#include "app/vantel_state.h"
#include "engine/dialog_state.h"
#include "format/number_text.h"
#include "resources/resource_ids.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/files.h"

namespace {

constexpr int kFirstN = 1;  // the scroll bar's range of n
constexpr int kLastN = 170;

// At the end of the session a save waits this long for the other copies' saves:
// long enough for a class's worth of copies of the largest history, short of
// holding the log-off back for good.
constexpr std::chrono::milliseconds kSessionEndWait{60000};
// What Windows shows while the log-off waits for that save.
constexpr wchar_t kSavingReason[] = L"S'est\u00E0 desant l'historial de f\u00F3rmules (ults.rel).";

void OnInitDialog(HWND dialog) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (App.class_icon == nullptr) App.class_icon = LoadIconA(instance, "Ic0");
  SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(App.class_icon));
  // Created once and kept until the program ends.
  if (App.DialogBrush == nullptr) {
    App.DialogBrush = CreateSolidBrush(App.DialogColour);
    App.EditBrush = CreateSolidBrush(App.EditColour);
    App.ScrollBarBrush = CreateSolidBrush(App.ScrollBarColour);
  }
  LoadHistory(dialog);
  ComboLimitText(dialog, IDC_FORMULA);
  SetItemText(dialog, IDC_FORMULA, App.ArgFormula);
  SetItemText(dialog, IDC_N, App.ArgN);
  CheckDlgButton(dialog, IDC_AN_CHECK, BST_CHECKED);
  CheckDlgButton(dialog, IDC_SN_CHECK, BST_CHECKED);
  CheckDlgButton(dialog, IDC_PN_CHECK, BST_CHECKED);
  App.ScrollBarHandle = ItemHandle(dialog, IDC_SCROLL);
  SetScrollBarRange(App.ScrollBarHandle, kFirstN, kLastN);
  if (!App.ArgFormula.empty() && !App.ArgN.empty()) RunTermRequest(dialog);
  SetFocus(ItemHandle(dialog, IDC_FORMULA));
}

// Every way of closing the dialog ends here.
void OnClose(HWND dialog) {
  CloseAboutWindow();
  SaveHistory(dialog);
  EndDialog(dialog, 0);
}

// Windows ends the user's session (a log-off at the end of a lesson): the
// process may be ended as soon as this returns, so the history is saved now, as
// at a close but without messages, which nobody could answer any more. Every copy
// of the class's share gets this at once: a copy whose turn to save comes later
// holds the log-off back while it waits, and Windows shows why.
void OnSessionEnd(HWND dialog) {
  ShutdownBlockReasonCreate(dialog, kSavingReason);
  SaveHistoryQuietly(dialog, kSessionEndWait);
  ShutdownBlockReasonDestroy(dialog);
}

void OnHistoryChosen(HWND dialog) {
  SetItemText(dialog, IDC_FORMULA, ComboSelText(dialog, IDC_FORMULA));
  RunTermRequest(dialog);
}

// A ticked quantity's box is enabled, an unticked one greyed; its text stays.
void OnCheckboxToggled(HWND dialog, int checkbox, int box) {
  EnableWindow(ItemHandle(dialog, box), IsDlgButtonChecked(dialog, checkbox) == BST_CHECKED);
}

void OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDOK:
    case IDC_CALCULATE:
      RunTermRequest(dialog);
      break;
    case IDCANCEL:
      OnClose(dialog);
      break;
    case IDM_SEQUENCES_HELP:
      OpenHelpText("successions.txt");
      break;
    case IDM_GENERAL_HELP:
      OpenHelpText("infogeneral.txt");
      break;
    case IDM_ABOUT:
      ShowAboutWindow("C\340lcul del terme en\350ssim de successions i s\350ries", LanguageIndex);
      break;
    case IDC_FORMULA:
      if (code == CBN_SELCHANGE) OnHistoryChosen(dialog);
      if (code == CBN_EDITUPDATE) ClearResults(dialog);
      break;
    case IDC_AN_CHECK:
      OnCheckboxToggled(dialog, IDC_AN_CHECK, IDC_AN_BOX);
      break;
    case IDC_SN_CHECK:
      OnCheckboxToggled(dialog, IDC_SN_CHECK, IDC_SN_BOX);
      break;
    case IDC_PN_CHECK:
      OnCheckboxToggled(dialog, IDC_PN_CHECK, IDC_PN_BOX);
      break;
    default:
      break;
  }
}

// Every scroll message, whatever its code, writes n and runs a term request.
void OnScroll(HWND dialog, int code, int thumb) {
  int p = StepScrollBar(App.ScrollBarHandle, code, thumb);
  App.CurrentN = p;
  SetItemText(dialog, IDC_N, IntText(p));
  RunTermRequest(dialog);
}

INT_PTR Colour(WPARAM device_context, COLORREF colour, HBRUSH brush) {
  SetBkColor(reinterpret_cast<HDC>(device_context), colour);
  return reinterpret_cast<INT_PTR>(brush);
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return FALSE;  // the focus has been set
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_HSCROLL:
      OnScroll(dialog, LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_QUERYENDSESSION:
      // The session may end: nothing is lost, the history is saved when it does.
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_ENDSESSION:
      // Set when the session really ends, for whatever reason lParam gives.
      if (wparam) OnSessionEnd(dialog);
      return 0;
    case WM_CTLCOLOREDIT:
      return Colour(wparam, App.EditColour, App.EditBrush);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return Colour(wparam, App.DialogColour, App.DialogBrush);
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<INT_PTR>(App.ScrollBarBrush);
    default:
      return 0;
  }
}
