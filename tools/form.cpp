#include "tools/form.h"

#include <commdlg.h>

#include <utility>

#include "encoding/cp1252.h"
#include "tools_ids.h"
#include "widenames/wide_names.h"
#include "windpi/dpi.h"

ToolsProgram g_tools;

namespace {

constexpr char kFormClass[] = "FTools";
constexpr int kTwipsPerPixel = 15;    // at 96 dots per inch
constexpr int kClientWidth = 5985;    // twips
constexpr int kClientHeight = 3150;   // twips
constexpr UINT kShowNotice = WM_APP;  // shows a notice (wParam) once the form is on the screen
constexpr UINT kListCodePage = 1252;  // of the texts of "Tools.rel"
constexpr wchar_t kEndOfText = 0x1A;  // Ctrl-Z: reading "Tools.rel" stops there
constexpr int kPictureWidth = 24, kPictureHeight = 15;
constexpr COLORREF kTransparent = RGB(255, 255, 255);  // white in the button's picture is not drawn

enum class Kind { kLabel, kList, kButton, kPicture, kFrame, kEdit };

// One control: its place in twips (inside the frame when inFrame) and caption.
struct ControlLayout {
  int id;
  Kind kind;
  const char* caption;
  int left, top, width, height;
  bool inFrame;
};

// The controls in the order of their tab index.
constexpr ControlLayout kLayout[] = {
    {IDC_ED0 + 0, Kind::kEdit, "", 165, 450, 2655, 285, true},
    {IDC_ED0 + 1, Kind::kEdit, "", 180, 1065, 2655, 285, true},
    {IDC_ED0 + 2, Kind::kEdit, "", 165, 1590, 2655, 285, true},
    {IDC_ED0 + 3, Kind::kEdit, "", 165, 2115, 2655, 285, true},
    {IDC_OKED, Kind::kPicture, "", 120, 2445, 510, 255, true},
    {IDC_LST, Kind::kList, "", 135, 300, 2145, 2370, false},
    {IDC_ETTOOLS, Kind::kLabel, "Tools", 150, 105, 1020, 285, false},
    {IDC_BTESC, Kind::kButton, "Esc", 300, 2775, 795, 300, false},
    {IDC_BTOK, Kind::kButton, "Ok", 1200, 2775, 795, 300, false},
    {IDC_PED, Kind::kFrame, "Tool", 2805, 255, 3030, 2775, false},
    {IDC_BTNOU, Kind::kButton, "+", 2325, 345, 340, 220, false},
    {IDC_BTBRR, Kind::kButton, "-", 2340, 600, 340, 240, false},
    {IDC_ET0 + 0, Kind::kLabel, "Title", 165, 225, 300, 195, true},
    {IDC_ET0 + 1, Kind::kLabel, "File", 165, 840, 240, 195, true},
    {IDC_ET0 + 2, Kind::kLabel, "Work directory", 165, 1380, 1035, 195, true},
    {IDC_ET0 + 3, Kind::kLabel, "Parameters", 165, 1905, 795, 195, true},
    {IDC_BTCERC, Kind::kButton, "\267\267\267", 2370, 840, 450, 200, true},
};
constexpr int kFrameLeft = 2805, kFrameTop = 255;  // the place of Ped, where its controls are measured from

int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// A length in twips, in pixels at the form's DPI.
int Scaled(int twips) { return ScaleToDpi(Pixels(twips), g_tools.dpi); }

HWND Item(int id) { return GetDlgItem(g_tools.form, id); }
HWND Ed(int k) { return Item(IDC_ED0 + k); }

std::string TextOf(HWND control) {
  std::string text(GetWindowTextLengthA(control) + 1, '\0');
  text.resize(GetWindowTextA(control, text.data(), static_cast<int>(text.size())));
  return text;
}

int Ask(const char* text, const char* caption, UINT type) {
  return g_tools.messageBox(g_tools.form, text, caption, type);
}

void Notify(Notice notice) {
  Ask(NoticeText(notice, g_tools.language), WindowTextsOf(g_tools.language).caption, MB_OK);
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

HFONT MakeFont(int hundredthsOfPoint, int dpi) {
  LOGFONTA font{};
  font.lfHeight = FontHeightForDpi(hundredthsOfPoint, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = ANSI_CHARSET;
  lstrcpyA(font.lfFaceName, "MS Sans Serif");
  return CreateFontIndirectA(&font);
}

// ---- The operations of the form

void ClearToolPanel() {
  for (int k = 0; k < 4; ++k) SetWindowTextW(Ed(k), L"");
  g_tools.CurrentTool = 0;
  SendMessageA(Item(IDC_LST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (g_tools.FormLoaded) SetFocus(Ed(0));
}

void LlistaTools() {
  HWND list = Item(IDC_LST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (int i = 1; i <= g_tools.list.ToolCount; ++i)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_tools.list.ToolTable[i].Title.c_str()));
  ClearToolPanel();
}

void ShowTool(int slot) {
  const ToolEntry& tool = g_tools.list.ToolTable[slot];
  SetFieldText(0, tool.Title);
  SetFieldText(1, tool.File);
  SetFieldText(2, tool.WorkDirectory);
  SetFieldText(3, tool.Parameters);
}

// A field label widens to show its whole caption: the Catalan and Spanish ones are
// longer than the English ones the labels were laid out for, and a font other than
// the designed one may be wider.
void FitLabel(HWND label) {
  std::string text = TextOf(label);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, g_tools.font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT place;
  GetWindowRect(label, &place);
  if (size.cx > place.right - place.left)
    SetWindowPos(label, nullptr, 0, 0, size.cx, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// For Catalan and Spanish the window's texts change; the English ones are the design texts.
void SetCaptions() {
  if (g_tools.language == kLanguageEnglish) return;
  const WindowTexts& texts = WindowTextsOf(g_tools.language);
  SetWindowTextA(g_tools.form, texts.caption);
  SetWindowTextA(Item(IDC_ETTOOLS), texts.tools);
  SetWindowTextA(Item(IDC_PED), texts.tool);
  for (int k = 0; k < 4; ++k) SetWindowTextA(Item(IDC_ET0 + k), texts.fields[k]);
}

void LoadForm(const std::string& commandText) {
  std::error_code ignored;
  g_tools.StartFolder = std::filesystem::current_path(ignored);
  const ToolsFilePlace place = FindToolsFile();
  g_tools.listFile = place.path;
  g_tools.listWritable = place.writable;
  g_tools.FormLoaded = false;
  LanguageChoice choice = SelectLanguage(commandText, g_tools.language);
  g_tools.language = choice.language;
  g_tools.HostMode = choice.HostMode;
  SetCaptions();
  for (int k = 0; k < 4; ++k) FitLabel(Item(IDC_ET0 + k));
  g_tools.CurrentTool = 0;
  g_tools.listRead = ReadToolsFile(g_tools.list, g_tools.listFile);
  if (g_tools.list.ToolCount > 0) LlistaTools();
  g_tools.FormLoaded = true;
}

// What the user is told about the list file once the form is on the screen: that
// no folder can take it, then that a file is kept as it was or, if not, that tools
// beyond the twelfth were left out.
void PostReadNotice() {
  if (!g_tools.listWritable) PostMessageA(g_tools.form, kShowNotice, static_cast<WPARAM>(Notice::kNowhere), 0);
  Notice notice;
  switch (g_tools.listRead.state) {
    case ListFileState::kNotRead:
      notice = Notice::kNotRead;
      break;
    case ListFileState::kReadInPart:
      notice = Notice::kReadInPart;
      break;
    default:
      if (g_tools.listRead.dropped == 0) return;
      notice = Notice::kToolsDropped;
  }
  PostMessageA(g_tools.form, kShowNotice, static_cast<WPARAM>(notice), 0);
}

// ---- What the user does

void OnToolChosen() {
  LRESULT chosen = SendMessageA(Item(IDC_LST), LB_GETCURSEL, 0, 0);
  if (chosen == LB_ERR || chosen >= g_tools.list.ToolCount) return;
  g_tools.CurrentTool = static_cast<std::uint16_t>(chosen + 1);
  ShowTool(g_tools.CurrentTool);
}

void OnNewTool() { ClearToolPanel(); }

// Stores the edit panel: in place of the tool shown, or as a new tool at the end.
// A character that the list file cannot hold would be written as "?" and a Ctrl-Z
// would end the reading of the file, a tool without a title would end the list
// when the file is read back, and the list holds twelve tools at most: each is
// refused and nothing changes.
void OnStoreTool() {
  ToolEntry tool;
  std::string* fields[4] = {&tool.Title, &tool.File, &tool.WorkDirectory, &tool.Parameters};
  for (int k = 0; k < 4; ++k) {
    if (!FieldText(k, *fields[k])) {
      Notify(Notice::kNotCodePage);
      SetFocus(Ed(k));
      return;
    }
  }
  if (tool.Title.empty()) return Notify(Notice::kEmptyTitle);
  if (g_tools.CurrentTool == 0) {
    if (g_tools.list.ToolCount >= kMaxTools) return Notify(Notice::kListFull);
    g_tools.CurrentTool = ++g_tools.list.ToolCount;
  }
  g_tools.list.ToolTable[g_tools.CurrentTool] = tool;
  LlistaTools();
  ClearToolPanel();
}

void OnDeleteTool() {
  if (g_tools.CurrentTool == 0) return;
  std::string prompt = DeletePrompt(g_tools.list.ToolTable[g_tools.CurrentTool].Title, g_tools.language);
  if (Ask(prompt.c_str(), DeleteCaption(g_tools.language), MB_YESNO) == IDNO) return;
  ToolList& list = g_tools.list;
  --list.ToolCount;
  for (int i = g_tools.CurrentTool; i <= list.ToolCount; ++i) list.ToolTable[i] = list.ToolTable[i + 1];
  LlistaTools();
}

// The chosen file goes to Ed(1) and its folder to Ed(2), as they are: a character
// that the list file cannot hold is refused when the tool is stored. The current
// folder is set back in case the dialog moved it; the list file does not depend
// on it, as its full path was taken at start.
void OnBrowse() {
  std::wstring path;
  if (g_tools.openFile(g_tools.form, path) && !path.empty()) {
    std::size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) {
      SetWindowTextW(Ed(1), path.substr(slash + 1).c_str());
      SetWindowTextW(Ed(2), path.substr(0, slash).c_str());
    } else {
      SetWindowTextW(Ed(1), path.c_str());
      SetWindowTextW(Ed(2), L"");
    }
  }
  if (!g_tools.StartFolder.empty()) SetCurrentDirectoryW(g_tools.StartFolder.c_str());
}

// Saves the list where it was read and closes. A list file that was not read to
// its end is never replaced: the tools it holds would be lost. One that changed
// since it was read (another copy of Tools saved it, also a moment ago) is
// replaced only when the user says so; No leaves the file and the form as they
// are. The question is asked outside the save lock, so the file may change again
// meanwhile: it is then asked again. When the file cannot be written, or another
// copy keeps saving it, the form stays open, so that nothing is lost.
void OnOk() {
  if (!MayReplace(g_tools.listRead)) return Notify(Notice::kNotWritten);
  ToolsFileReading expected = g_tools.listRead;
  for (;;) {
    ToolsFileReading now;
    const ToolsSave saved = SaveToolsIfUnchanged(g_tools.list, g_tools.listFile, expected, &now);
    if (saved == ToolsSave::kSaved) break;
    if (saved == ToolsSave::kBusy) return Notify(Notice::kBusy);
    if (saved == ToolsSave::kNotWritten) return Notify(Notice::kNotWritten);
    if (Ask(NoticeText(Notice::kChanged, g_tools.language), WindowTextsOf(g_tools.language).caption, MB_YESNO) != IDYES)
      return;
    expected = std::move(now);  // Yes: replaced if it is still what the user was asked about
  }
  if (g_tools.HostMode && RefreshToolMenu(g_tools.list, g_tools.HostForm, g_tools.listFile) == MenuRefresh::kNoForm)
    Ask(kNoFormText, kProgramTitle, MB_OK);
  DestroyWindow(g_tools.form);
}

void OnEsc() { DestroyWindow(g_tools.form); }

void OnEnterInField(HWND edit) {
  int k = GetDlgCtrlID(edit) - IDC_ED0;
  SetFocus(k < 3 ? Ed(k + 1) : Item(IDC_OKED));
}

void OnCommand(int id, int code) {
  switch (id) {
    case IDC_LST:
      if (code == LBN_SELCHANGE) OnToolChosen();
      break;
    case IDC_BTNOU:
      return OnNewTool();
    case IDC_OKED:
      return OnStoreTool();
    case IDC_BTBRR:
      return OnDeleteTool();
    case IDC_BTCERC:
      return OnBrowse();
    case IDC_BTOK:
      return OnOk();
    case IDC_BTESC:
      return OnEsc();
  }
}

// The picture button: a push button face with the picture centred on it.
void DrawPictureButton(const DRAWITEMSTRUCT& item) {
  RECT face = item.rcItem;
  bool pushed = item.itemState & ODS_SELECTED;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  // The picture is drawn at the size it has at 96 DPI, scaled to the form's DPI.
  int width = ScaleToDpi(kPictureWidth, g_tools.dpi), height = ScaleToDpi(kPictureHeight, g_tools.dpi);
  int shift = pushed ? ScaleToDpi(1, g_tools.dpi) : 0;
  int x = (face.right - face.left - width) / 2 + shift;
  int y = (face.bottom - face.top - height) / 2 + shift;
  HDC picture = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(picture, g_tools.okEditPicture);
  // gdi32's own name for TransparentBlt: msimg32, which exports it under that name,
  // is not a known DLL, and importing it would have Windows look for it beside the
  // program first (dllsearch/dll_search.h).
  GdiTransparentBlt(item.hDC, x, y, width, height, picture, 0, 0, kPictureWidth, kPictureHeight, kTransparent);
  SelectObject(picture, old);
  DeleteDC(picture);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = face;
    InflateRect(&focus, -ScaleToDpi(3, g_tools.dpi), -ScaleToDpi(3, g_tools.dpi));
    DrawFocusRect(item.hDC, &focus);
  }
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

// The fields are Unicode windows, so that a character typed or pasted that the list
// file cannot hold stays what it is until storing refuses it, instead of turning
// into "?". The other controls show only texts of the list file's code page.
HWND CreateControlWindow(DWORD exStyle, const char* className, const char* caption, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU id, HINSTANCE instance, void* param) {
  if (lstrcmpiA(className, "EDIT") == 0)
    return CreateWindowExW(exStyle, L"EDIT", L"", style, x, y, width, height, parent, id, instance, param);
  return CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent, id, instance, param);
}

void CreateControls(HINSTANCE instance) {
  for (const ControlLayout& c : kLayout) {
    const char* className = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (c.kind) {
      case Kind::kLabel:
        style |= SS_LEFT;
        break;
      case Kind::kList:
        className = "LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::kButton:
        className = "BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case Kind::kPicture:
        className = "BUTTON";
        style |= WS_TABSTOP | BS_OWNERDRAW;
        break;
      case Kind::kFrame:
        className = "BUTTON";
        style |= BS_GROUPBOX;
        break;
      case Kind::kEdit:
        className = "EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    HWND control = CreateControlWindow(exStyle, className, c.caption, style, 0, 0, 0, 0, g_tools.form,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (c.kind == Kind::kEdit)
      g_tools.editProc =
          reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc)));
  }
  // The frame lies under the controls it holds; it takes no focus, so the tab order stays.
  SetWindowPos(Item(IDC_PED), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The fonts at the form's DPI; the ones they replace are deleted once no control shows them.
void MakeFonts() {
  HFONT oldFont = g_tools.font, oldSignFont = g_tools.signFont;
  g_tools.font = MakeFont(800, g_tools.dpi);
  g_tools.signFont = MakeFont(975, g_tools.dpi);
  for (const ControlLayout& c : kLayout) {
    bool sign = c.id == IDC_BTNOU || c.id == IDC_BTBRR;
    SendMessageA(Item(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(sign ? g_tools.signFont : g_tools.font), FALSE);
  }
  if (oldFont) DeleteObject(oldFont);
  if (oldSignFont) DeleteObject(oldSignFont);
}

// Every control at its place and size at the form's DPI, in the form's fonts; the
// field labels then widen to their captions.
void LayOutControls() {
  MakeFonts();
  for (const ControlLayout& c : kLayout) {
    int left = c.left + (c.inFrame ? kFrameLeft : 0);
    int top = c.top + (c.inFrame ? kFrameTop : 0);
    SetWindowPos(Item(c.id), nullptr, Scaled(left), Scaled(top), Scaled(c.width), Scaled(c.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int k = 0; k < 4; ++k) FitLabel(Item(IDC_ET0 + k));
}

// Moved to a monitor of another DPI: the form takes the place Windows suggests and
// is laid out again.
void OnDpiChanged(int dpi, const RECT& suggested) {
  g_tools.dpi = dpi;
  SetWindowPos(g_tools.form, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutControls();
  InvalidateRect(g_tools.form, nullptr, TRUE);
}

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
  if (!GetClassInfoExA(instance, kFormClass, &windowClass) && !RegisterClassExA(&windowClass)) return nullptr;

  if (!g_tools.okEditPicture)
    g_tools.okEditPicture =
        static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_OKEDIT), IMAGE_BITMAP, 0, 0, 0));

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  g_tools.form = CreateWindowExA(0, kFormClass, "Tools edition", style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                                 nullptr, instance, nullptr);
  if (!g_tools.form) return nullptr;
  // The client area's size at the DPI of the monitor the form came up on.
  g_tools.dpi = WindowDpi(g_tools.form);
  RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
  AdjustWindowRectForDpi(&frame, style, 0, g_tools.dpi);
  SetWindowPos(g_tools.form, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls(instance);
  LayOutControls();
  LoadForm(commandText);
  ShowWindow(g_tools.form, show);
  UpdateWindow(g_tools.form);
  SetFocus(Ed(0));
  PostReadNotice();
  return g_tools.form;
}

// A push button of the form, the picture button among them.
bool IsPushButton(HWND window) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return GetParent(window) == g_tools.form && lstrcmpiA(className, "Button") == 0 &&
         (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW);
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
