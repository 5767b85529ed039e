// The dialog's colours, read back from the screen: the background, the enabled edit
// fields, and a result box that greys when its checkbox is unticked.
#include <string>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

constexpr COLORREF kDialogColour = RGB(0, 220, 180);
constexpr COLORREF kEditColour = RGB(240, 240, 180);
constexpr COLORREF kScrollBarColour = RGB(240, 200, 80);

// The colour of one screen pixel, copied through a 32-bit bitmap.
COLORREF ScreenPixel(POINT at) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, 1, 1, screen, at.x, at.y, SRCCOPY);
  GdiFlush();
  const DWORD pixel = *static_cast<DWORD*>(bits);  // 0x00RRGGBB
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// A point inside a control, a few pixels from its right edge and away from its text.
POINT NearRightEdge(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return POINT{r.right - 5, (r.top + r.bottom) / 2};
}

std::string Rgb(COLORREF c) {
  return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

void ExpectColour(POINT at, COLORREF expected, const char* what) {
  COLORREF got = 0;
  EXPECT_TRUE(WaitFor([&] { return (got = ScreenPixel(at)) == expected; }, 5000))
      << what << " at " << at.x << "," << at.y << " is " << Rgb(got) << ", expected " << Rgb(expected);
}

TEST(Colours, DialogFieldsAndGreyedBox) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  SetForegroundWindow(v.dialog());
  RECT client{};
  GetClientRect(v.dialog(), &client);
  POINT corner{client.right - 4, 4};  // right of the formula field: bare dialog
  ClientToScreen(v.dialog(), &corner);
  ExpectColour(corner, kDialogColour, "dialog background");
  ExpectColour(NearRightEdge(v.Item(IDC_N)), kEditColour, "n field");
  ExpectColour(NearRightEdge(v.FormulaEdit()), kEditColour, "formula field");
  for (int box : {IDC_AN_BOX, IDC_SN_BOX, IDC_PN_BOX})
    ExpectColour(NearRightEdge(v.Item(box)), kEditColour, "result box");
  // The trough of the scroll bar, three quarters along while the thumb is at 1.
  RECT bar{};
  GetWindowRect(v.Item(IDC_SCROLL), &bar);
  ExpectColour(POINT{bar.left + (bar.right - bar.left) * 3 / 4, (bar.top + bar.bottom) / 2}, kScrollBarColour,
               "scroll bar");
  ExpectNoBox(v.Click(IDC_SN_CHECK));
  ExpectColour(NearRightEdge(v.Item(IDC_SN_BOX)), kDialogColour, "unticked S_n box");
  ExpectColour(NearRightEdge(v.Item(IDC_AN_BOX)), kEditColour, "a_n box");
  ExpectNoBox(v.Click(IDC_SN_CHECK));
  ExpectColour(NearRightEdge(v.Item(IDC_SN_BOX)), kEditColour, "ticked again");
  CloseNormally(v);
}

}  // namespace
}  // namespace e2e
