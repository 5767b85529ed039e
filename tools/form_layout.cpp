// The form's controls, placed in twips: created, scaled with their fonts to the form's DPI, labels widened.
#include "tools/form_layout.h"

#include <string>

#include "tools/fields.h"
#include "tools/program.h"
#include "windpi/dpi.h"

namespace {

constexpr int kTwipsPerPixel = 15;   // at 96 dots per inch
constexpr int kClientWidth = 5985;   // twips
constexpr int kClientHeight = 3150;  // twips

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

// The place of Ped, where the controls inside it are measured from.
constexpr ControlLayout FrameLayout() {
  for (const ControlLayout& c : kLayout)
    if (c.kind == Kind::kFrame) return c;
  return {};
}
constexpr ControlLayout kFrame = FrameLayout();

int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// A length in twips, in pixels at the form's DPI.
int Scaled(int twips) { return ScaleToDpi(Pixels(twips), g_tools.dpi); }

std::string TextOf(HWND control) {
  std::string text(GetWindowTextLengthA(control) + 1, '\0');
  text.resize(GetWindowTextA(control, text.data(), static_cast<int>(text.size())));
  return text;
}

HFONT MakeFont(int hundredthsOfPoint, int dpi) {
  LOGFONTA font{};
  font.lfHeight = FontHeightForDpi(hundredthsOfPoint, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = ANSI_CHARSET;
  lstrcpyA(font.lfFaceName, "MS Sans Serif");
  return CreateFontIndirectA(&font);
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

// Every control but the fields shows only texts of the list file's code page.
HWND CreateControl(const ControlLayout& c, HINSTANCE instance) {
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
      return CreateField(WS_EX_CLIENTEDGE, style | WS_TABSTOP | ES_AUTOHSCROLL, c.id, instance);
  }
  return CreateWindowExA(exStyle, className, c.caption, style, 0, 0, 0, 0, g_tools.form,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
}

// The fonts at the form's DPI; the ones they replace are deleted once no control shows them.
void MakeFonts() {
  HFONT oldFont = g_tools.font, oldSignFont = g_tools.signFont;
  g_tools.font = MakeFont(800, g_tools.dpi);
  g_tools.signFont = MakeFont(975, g_tools.dpi);
  for (const ControlLayout& c : kLayout) {
    bool sign = c.id == IDC_BTNOU || c.id == IDC_BTBRR;
    SendMessageA(FormItem(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(sign ? g_tools.signFont : g_tools.font), FALSE);
  }
  if (oldFont) DeleteObject(oldFont);
  if (oldSignFont) DeleteObject(oldSignFont);
}

}  // namespace

void SizeForm(DWORD style) {
  RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
  AdjustWindowRectForDpi(&frame, style, 0, g_tools.dpi);
  SetWindowPos(g_tools.form, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateControls(HINSTANCE instance) {
  for (const ControlLayout& c : kLayout) CreateControl(c, instance);
  // The frame lies under the controls it holds; it takes no focus, so the tab order stays.
  SetWindowPos(FormItem(IDC_PED), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void LayOutControls() {
  MakeFonts();
  for (const ControlLayout& c : kLayout) {
    int left = c.left + (c.inFrame ? kFrame.left : 0);
    int top = c.top + (c.inFrame ? kFrame.top : 0);
    SetWindowPos(FormItem(c.id), nullptr, Scaled(left), Scaled(top), Scaled(c.width), Scaled(c.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitLabels();
}

void FitLabels() {
  for (int k = 0; k < 4; ++k) FitLabel(FormItem(IDC_ET0 + k));
}

void OnDpiChanged(int dpi, const RECT& suggested) {
  g_tools.dpi = dpi;
  SetWindowPos(g_tools.form, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutControls();
  InvalidateRect(g_tools.form, nullptr, TRUE);
}
