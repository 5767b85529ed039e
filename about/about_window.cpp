// The about window "FerSobre": its 96-DPI layout scaled to its DPI, its fonts, painting and message loop.
#include "about/about_window.h"

#include <cstring>
#include <iterator>
#include <random>

#include "about/about_texts.h"
#include "engine/messages.h"
#include "resources/resource_ids.h"
#include "windpi/dpi.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/files.h"

namespace {

constexpr char kClassName[] = "FerSobre";
constexpr DWORD kWindowStyle = 0x80C80080;  // WS_POPUP | WS_CAPTION | WS_SYSMENU, and the bit 0x80

// What the window shows, in the order of kLayout.
enum class Shown { kWindow, kButton, kIcon, kProgramName, kDescription, kAuthorLine, kWebLine, kMailLine };

// The place of one thing the window shows, in pixels at 96 DPI: the window's on the
// screen, the others' in its client area. A text is drawn from its top-left corner
// and takes the size its font gives it.
struct AboutLayout {
  Shown shown;
  int left, top, width, height;
};

constexpr AboutLayout kLayout[] = {
    {Shown::kWindow, 400, 200, 312, 240},  // its frame, caption included
    {Shown::kButton, 122, 180, 70, 24},    // the exclamation
    {Shown::kIcon, 134, 80, 32, 32},       // the program icon
    {Shown::kProgramName, 60, 10, 0, 0},   // in large letters, over the rest
    {Shown::kDescription, 20, 50, 0, 0},   // the one line in the description colour
    {Shown::kAuthorLine, 66, 120, 0, 0},   // below the icon: the author and the year,
    {Shown::kWebLine, 66, 134, 0, 0},      // the web address
    {Shown::kMailLine, 66, 150, 0, 0},     // and the mail address, when there is one
};

constexpr bool InOrder() {
  for (int k = 0; k < static_cast<int>(std::size(kLayout)); ++k)
    if (static_cast<int>(kLayout[k].shown) != k) return false;
  return true;
}
static_assert(InOrder(), "kLayout lists what the window shows in the order of Shown");

constexpr const AboutLayout& PlaceOf(Shown shown) { return kLayout[static_cast<int>(shown)]; }

// The fonts of the texts: their face and the height and width of their characters,
// in pixels at 96 DPI.
struct AboutFont {
  const char* face;
  int height, width;
};
constexpr AboutFont kTextFont{"arial", 16, 6};                  // the description and the lines below the icon
constexpr AboutFont kProgramNameFont{"Comic sans ms", 36, 16};  // the program's name

// A font bound to one window's device context; every change rebuilds the font.
struct TextFont {
  HWND window = nullptr;
  HDC dc = nullptr;
  LOGFONTA descriptor{};
  HGDIOBJ original = nullptr;  // the context's own font, put back on release
  HGDIOBJ replaced = nullptr;  // the font the last change took out of the context
  HFONT current = nullptr;     // the font selected now
};

struct AboutState {
  Language language = kCatalan;  // of the title, the web line and the exclamation
  ShortString description;
  ShortString mail;  // empty: no mail line
  ShortString program_name;
  ShortString year_text;
  bool initialised = false;  // texts are painted only once this is set
  bool class_registered = false;
  WPARAM quit_code = 0;  // wParam of the last WM_CLOSE
  COLORREF background = RGB(255, 255, 178);
  COLORREF description_colour = RGB(220, 100, 0);
  COLORREF text_colour = RGB(0, 100, 250);
  HBRUSH background_brush = nullptr;
  TextFont font;
  HWND window = nullptr;        // the open window, none while closed
  int dpi = kLayoutDpi;         // the window's DPI: its pixel layout is scaled to it
  HFONT button_font = nullptr;  // the system font scaled to a DPI other than 96
  std::mt19937 random;
};

AboutState About;

// The text font at 96 DPI, every other field 0.
LOGFONTA InitialDescriptor() {
  LOGFONTA descriptor{};
  descriptor.lfHeight = kTextFont.height;
  descriptor.lfWidth = kTextFont.width;
  std::strcpy(descriptor.lfFaceName, kTextFont.face);
  return descriptor;
}

void FontInit(TextFont* font, HWND window) {
  font->window = window;
  font->dc = GetDC(window);
  font->descriptor = InitialDescriptor();
  font->original = nullptr;
  font->replaced = nullptr;
  font->current = nullptr;
}

// A font is deleted only after a later change has taken it out of the context.
void FontApply(TextFont* font) {
  if (font->replaced != nullptr && font->replaced != font->original) DeleteObject(font->replaced);
  HFONT created = CreateFontIndirectA(&font->descriptor);
  HGDIOBJ previous = SelectObject(font->dc, created);
  if (font->original == nullptr) font->original = previous;
  font->replaced = previous;
  font->current = created;
}

void FontSetSize(TextFont* font, int height, int width) {
  font->descriptor.lfHeight = height;
  font->descriptor.lfWidth = width;
  FontApply(font);
}

void FontSetFace(TextFont* font, const char* face) {
  std::strncpy(font->descriptor.lfFaceName, face, LF_FACESIZE - 1);
  font->descriptor.lfFaceName[LF_FACESIZE - 1] = '\0';
  FontApply(font);
}

void FontSetBold(TextFont* font, bool bold) {
  font->descriptor.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  FontApply(font);
}

// Puts the context's own font back, deletes the fonts made here and gives the
// context back, so that no opening leaves a font or a context behind.
void FontRelease(TextFont* font) {
  if (font->dc != nullptr) {
    if (font->original != nullptr) SelectObject(font->dc, font->original);
    if (font->current != nullptr) DeleteObject(font->current);
    if (font->replaced != nullptr && font->replaced != font->original) DeleteObject(font->replaced);
    ReleaseDC(font->window, font->dc);
  }
  *font = TextFont{};
}

void TextOutShort(HDC dc, int x, int y, const ShortString& text) {
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// The place of what the window shows, at the window's DPI.
AboutLayout ScaledPlaceOf(Shown shown) {
  const AboutLayout& place = PlaceOf(shown);
  return {shown, ScaleToDpi(place.left, About.dpi), ScaleToDpi(place.top, About.dpi),
          ScaleToDpi(place.width, About.dpi), ScaleToDpi(place.height, About.dpi)};
}

// The window or its button moved to its place at the window's DPI.
void MoveToPlace(HWND window, Shown shown) {
  AboutLayout place = ScaledPlaceOf(shown);
  SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The icon at its place, of its size at the window's DPI (a 32-pixel icon's at 96 DPI).
void DrawResourceIcon(HWND window, Shown shown, const char* name) {
  AboutLayout place = ScaledPlaceOf(shown);
  HICON icon =
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, place.width, place.height, 0));
  HDC dc = GetDC(window);
  DrawIconEx(dc, place.left, place.top, icon, place.width, place.height, 0, nullptr, DI_NORMAL);
  ReleaseDC(window, dc);
  DestroyIcon(icon);
}

// A text at its place at the window's DPI.
void TextOutAt(HDC dc, Shown shown, const ShortString& text) {
  AboutLayout place = ScaledPlaceOf(shown);
  TextOutShort(dc, place.left, place.top, text);
}

void FontSetScaledSize(TextFont* font, const AboutFont& size) {
  FontSetSize(font, ScaleToDpi(size.height, About.dpi), ScaleToDpi(size.width, About.dpi));
}

// Every painting starts from the same font and colours.
void PaintAboutTexts() {
  TextFont* font = &About.font;
  HDC dc = font->dc;
  FontSetScaledSize(font, kTextFont);
  FontSetFace(font, kTextFont.face);
  FontSetBold(font, false);
  SetTextColor(dc, About.description_colour);
  TextOutAt(dc, Shown::kDescription, About.description);
  SetTextColor(dc, About.text_colour);
  TextOutAt(dc, Shown::kAuthorLine, AboutAuthorLine(About.year_text));
  TextOutAt(dc, Shown::kWebLine, AboutWebLine(About.language));
  if (!About.mail.empty()) TextOutAt(dc, Shown::kMailLine, AboutMailLine(About.mail));
  FontSetFace(font, kProgramNameFont.face);
  FontSetBold(font, false);
  FontSetScaledSize(font, kProgramNameFont);
  TextOutAt(dc, Shown::kProgramName, ProgramName());
}

// The button at its place for the window's DPI. At 96 DPI it shows the system
// font as it is; at any other DPI a copy of it with its 96-DPI height and width
// scaled (the system's own font may be made for another DPI, or, under Wine, be
// scaled in height only).
void PlaceAboutButton(HWND window) {
  constexpr int kSystemFontHeight = 16, kSystemFontWidth = 7;  // the system font at 96 DPI
  HWND button = GetDlgItem(window, IDC_ABOUT_BUTTON);
  int dpi = About.dpi;
  MoveToPlace(button, Shown::kButton);
  HFONT old_font = About.button_font;
  About.button_font = nullptr;
  HGDIOBJ font = GetStockObject(SYSTEM_FONT);
  if (dpi != kLayoutDpi) {
    LOGFONTA system_font{};
    GetObjectA(font, sizeof system_font, &system_font);
    system_font.lfHeight = ScaleToDpi(kSystemFontHeight, dpi);
    system_font.lfWidth = ScaleToDpi(kSystemFontWidth, dpi);
    font = About.button_font = CreateFontIndirectA(&system_font);
  }
  if (About.button_font != nullptr || old_font != nullptr)
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (old_font != nullptr) DeleteObject(old_font);
}

void PrepareAboutColours() {
  About.background = RGB(255, 255, 178);
  About.description_colour = RGB(220, 100, 0);
  About.text_colour = RGB(0, 100, 250);
  // The class keeps the brush of its registration, so one brush serves every opening.
  if (About.background_brush == nullptr) About.background_brush = CreateSolidBrush(About.background);
}

bool RegisterAboutClass() {
  if (About.class_registered) return true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = AboutWindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, "Ic0");
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = About.background_brush;
  window_class.lpszClassName = kClassName;
  About.class_registered = true;
  return RegisterClassA(&window_class) != 0;
}

// The show command the program was started with.
int StartupShowCommand() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWNORMAL;
}

bool BuildAboutWindow() {
  PrepareAboutColours();
  if (!RegisterAboutClass()) {
    MessageBoxA(nullptr, "Register failed", nullptr, MB_OK);
    return false;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const AboutLayout& place = PlaceOf(Shown::kWindow);
  HWND window = CreateWindowExA(0, kClassName, "", kWindowStyle, place.left, place.top, place.width, place.height,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    MessageBoxA(nullptr, "CreaFSobre failed", nullptr, MB_OK);
    return false;
  }
  About.window = window;
  // Place and size are for 96 DPI; on a screen of another DPI both are scaled.
  About.dpi = WindowDpi(window);
  if (About.dpi != kLayoutDpi) MoveToPlace(window, Shown::kWindow);
  ShowWindow(window, StartupShowCommand());
  UpdateWindow(window);
  const AboutLayout& button = PlaceOf(Shown::kButton);
  CreateWindowExA(0, "BUTTON", "Vist", WS_CHILD | WS_VISIBLE, button.left, button.top, button.width, button.height,
                  window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ABOUT_BUTTON)), instance, nullptr);
  if (About.dpi != kLayoutDpi) PlaceAboutButton(window);
  FontInit(&About.font, window);
  SetBkColor(About.font.dc, About.background);
  SetTextColor(About.font.dc, About.text_colour);
  return true;
}

void OnAboutInit(HWND window) {
  About.program_name = ProgramName();
  About.year_text = FileYearText(About.program_name + ".exe");
  // Started from another folder: the year of the program's own file.
  if (About.year_text.empty()) About.year_text = ProgramFileYearText();
  SetCaption(window, AboutTitle(About.language, About.program_name));
  DrawResourceIcon(window, Shown::kIcon, "Ic0");
  PaintAboutTexts();
  std::uniform_int_distribution<int> pick(0, kExclamationCount - 1);
  SetItemText(window, IDC_ABOUT_BUTTON, AboutExclamation(About.language, pick(About.random)));
  About.initialised = true;
}

// Moved to a monitor of another DPI: the window takes the place Windows suggests
// and everything in it is laid out again for the new DPI, the icon drawn anew.
void OnAboutDpiChanged(HWND window, int dpi, const RECT& suggested) {
  About.dpi = dpi;
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceAboutButton(window);
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  if (About.initialised) DrawResourceIcon(window, Shown::kIcon, "Ic0");
}

// The background is erased first and the texts drawn over it, so that an
// uncovered window shows its texts again.
void OnAboutPaint(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  if (About.initialised) PaintAboutTexts();
  EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      About.window = nullptr;
      PostQuitMessage(static_cast<int>(About.quit_code));
      return 0;
    case WM_PAINT:
      OnAboutPaint(window);
      return 0;
    case WM_CLOSE:
      About.quit_code = wparam;
      break;
    case WM_INITDIALOG:
      OnAboutInit(window);
      break;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) SendMessageA(window, WM_CLOSE, 0, 0);
      break;
    case WM_DPICHANGED:
      OnAboutDpiChanged(window, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

int RunAboutWindow(const ShortString& description, const ShortString& mail, Language language) {
  About.random.seed(GetTickCount());
  About.initialised = false;
  About.language = language;
  About.description = description;
  About.mail = mail;
  if (!BuildAboutWindow()) return -1;
  SendMessageA(About.window, WM_INITDIALOG, 0, 0);
  // No dialog keys here: the main dialog still takes mouse input and typing.
  MSG message{};
  int quit_code = 0;
  for (;;) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      quit_code = static_cast<int>(message.wParam);
      break;
    }
    if (got == -1) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  FontRelease(&About.font);
  if (About.button_font != nullptr) DeleteObject(About.button_font);
  About.button_font = nullptr;
  return quit_code;
}

void ShowAboutWindow(const ShortString& description, Language language) {
  if (About.window != nullptr) {
    ShowWindow(About.window, SW_RESTORE);
    SetForegroundWindow(About.window);
    BringWindowToTop(About.window);
    return;
  }
  RunAboutWindow(description, kAuthorMail, language);
}

HWND AboutWindowHandle() { return About.window; }

void CloseAboutWindow() {
  if (About.window != nullptr) SendMessageA(About.window, WM_CLOSE, 0, 0);
}
