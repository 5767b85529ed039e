// The form FTools: its class, its window procedure, its creation and showing, and its message loop.
#include "tools/form.h"

#include <commdlg.h>

#include "tools/form_layout.h"
#include "tools/operations.h"
#include "tools/picture_button.h"
#include "windpi/dpi.h"

namespace {

constexpr char kFormClass[] = "FTools";

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      DrawPictureButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kShowNotice:
      Notify(static_cast<Notice>(wParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        g_tools.lastFocus = GetFocus();
      else if (g_tools.lastFocus && IsChild(window, g_tools.lastFocus))
        SetFocus(g_tools.lastFocus);
      return 0;
    case WM_DESTROY:
      if (g_tools.form == window) g_tools.form = nullptr;
      if (g_tools.quitOnClose) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int DefaultMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type);
}

// A push button of the form, the picture button among them.
bool IsPushButton(HWND window) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return GetParent(window) == g_tools.form && lstrcmpiA(className, "Button") == 0 &&
         (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW);
}

// The form's class, registered once for the program.
bool RegisterFormClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = FormProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TOOLS));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TOOLS), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kFormClass;
  return GetClassInfoExA(instance, kFormClass, &windowClass) || RegisterClassExA(&windowClass);
}

}  // namespace

bool ShowOpenFileDialog(HWND owner, std::wstring& path) {
  wchar_t file[MAX_PATH] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return false;
  path = file;
  return true;
}

HWND OpenToolsForm(HINSTANCE instance, const std::string& commandText, int show) {
  if (!g_tools.messageBox) g_tools.messageBox = DefaultMessageBox;
  if (!g_tools.openFile) g_tools.openFile = ShowOpenFileDialog;
  if (!RegisterFormClass(instance)) return nullptr;
  LoadOkEdPicture(instance);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  g_tools.form = CreateWindowExA(0, kFormClass, "Tools edition", style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                                 nullptr, instance, nullptr);
  if (!g_tools.form) return nullptr;
  // The client area's size at the DPI of the monitor the form came up on.
  g_tools.dpi = WindowDpi(g_tools.form);
  SizeForm(style);
  CreateControls(instance);
  LayOutControls();
  LoadForm(commandText);
  ShowWindow(g_tools.form, show);
  UpdateWindow(g_tools.form);
  SetFocus(Ed(0));
  PostReadNotice();
  return g_tools.form;
}

// The messages are taken as Unicode, so that a character typed reaches a field as
// it is.
int RunToolsForm(HWND form) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Enter on a button presses it, as a click does.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && g_tools.form && IsPushButton(message.hwnd)) {
      SendMessageA(message.hwnd, BM_CLICK, 0, 0);
      continue;
    }
    if (g_tools.form && IsDialogMessageW(form, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
