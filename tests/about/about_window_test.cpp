// The about window in process: it is driven from a timer while its own message
// loop runs, and its pixels are read back.
#include "about/about_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "about/about_texts.h"
#include "engine/messages.h"
#include "winhelpers/dialog_helpers.h"

namespace {

const COLORREF kBackground = RGB(255, 255, 178);

// Runs the check once the window is open, from inside its message loop.
std::function<void(HWND)> OnOpen;
int Ticks = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = AboutWindowHandle();
  if (window == nullptr) return;
  if (++Ticks == 1) {
    KillTimer(nullptr, timer);
    OnOpen(window);
  }
}

int RunWith(const char* description, const char* mail, std::function<void(HWND)> check, Language language = kCatalan) {
  OnOpen = std::move(check);
  Ticks = 0;
  SetTimer(nullptr, 0, 100, Tick);
  return RunAboutWindow(description, mail, language);
}

// True when some pixel of the rectangle differs from the background.
bool Drawn(HWND window, int left, int top, int right, int bottom) {
  HDC dc = GetDC(window);
  bool drawn = false;
  for (int y = top; y < bottom && !drawn; ++y) {
    for (int x = left; x < right && !drawn; ++x) drawn = GetPixel(dc, x, y) != kBackground;
  }
  ReleaseDC(window, dc);
  return drawn;
}

bool HasColour(HWND window, int left, int top, int right, int bottom, COLORREF colour) {
  HDC dc = GetDC(window);
  bool found = false;
  for (int y = top; y < bottom && !found; ++y) {
    for (int x = left; x < right && !found; ++x) found = GetPixel(dc, x, y) == colour;
  }
  ReleaseDC(window, dc);
  return found;
}

std::string Caption(HWND window) {
  char text[300] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(AboutWindow, OpensWithItsTextsIconAndExclamation) {
  bool checked = false;
  int code = RunWith("C\340lcul del terme en\350ssim de successions i s\350ries", "", [&](HWND window) {
    char class_name[32] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    EXPECT_STREQ(class_name, "FerSobre");
    EXPECT_EQ(Caption(window), "Quant a about_window_test...");
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & 0x80C80080, 0x80C80080);
    EXPECT_EQ(GetParent(window), nullptr);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 312);
    EXPECT_EQ(frame.bottom - frame.top, 240);
    std::set<std::string> exclamations;
    for (int k = 0; k < kExclamationCount; ++k) exclamations.insert(AboutExclamation(kCatalan, k));
    EXPECT_EQ(exclamations.count(GetItemText(window, 1).str()), 1u) << GetItemText(window, 1).c_str();
    EXPECT_TRUE(HasColour(window, 20, 50, 300, 66, RGB(220, 100, 0))) << "description";
    EXPECT_TRUE(HasColour(window, 66, 120, 300, 134, RGB(0, 100, 250))) << "author line";
    EXPECT_TRUE(HasColour(window, 66, 134, 300, 150, RGB(0, 100, 250))) << "web line";
    EXPECT_FALSE(Drawn(window, 66, 151, 300, 166)) << "no mail line without an address";
    EXPECT_TRUE(Drawn(window, 134, 80, 166, 112)) << "icon";
    EXPECT_TRUE(HasColour(window, 60, 10, 300, 46, RGB(0, 100, 250))) << "program name";
    // A repaint draws the texts again.
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_TRUE(HasColour(window, 20, 50, 300, 66, RGB(220, 100, 0))) << "description after a repaint";
    checked = true;
    SendMessageA(ItemHandle(window, 1), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(AboutWindowHandle(), nullptr);
}

// The language the window is opened with gives its title and its exclamation.
TEST(AboutWindow, SpeaksTheLanguageItIsOpenedWith) {
  for (Language language : {kEnglish, kSpanish}) {
    RunWith(
        "d", "",
        [&](HWND window) {
          EXPECT_EQ(Caption(window), AboutTitle(language, "about_window_test").str());
          std::set<std::string> exclamations;
          for (int k = 0; k < kExclamationCount; ++k) exclamations.insert(AboutExclamation(language, k));
          EXPECT_EQ(exclamations.count(GetItemText(window, 1).str()), 1u) << GetItemText(window, 1).c_str();
          CloseAboutWindow();
        },
        language);
  }
}

TEST(AboutWindow, MailLineIsDrawnWhenGivenAndQuitCodeComesFromClose) {
  int code = RunWith("d", "someone@vantel.example", [](HWND window) {
    EXPECT_TRUE(HasColour(window, 66, 150, 300, 166, RGB(0, 100, 250))) << "mail line";
    PostMessageA(window, WM_CLOSE, 7, 0);
  });
  EXPECT_EQ(code, 7);
}

TEST(AboutWindow, OnlyCommandIds1And2Close) {
  int code = RunWith("d", "", [](HWND window) {
    SendMessageA(window, WM_COMMAND, 3, 0);
    SendMessageA(window, WM_COMMAND, 300, 0);
    EXPECT_EQ(AboutWindowHandle(), window);
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
  });
  EXPECT_EQ(code, 0);
  code = RunWith("d", "", [](HWND window) { SendMessageA(window, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(AboutWindowHandle(), nullptr);
}

// Moved to a monitor of 192 DPI: the window takes the suggested place and its
// button, icon and texts stand at twice their 96-DPI places.
TEST(AboutWindow, DpiChangeLaysTheWindowOutAgain) {
  RunWith("d", "", [](HWND window) {
    RECT suggested{20, 30, 20 + 624, 30 + 480};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT frame, button;
    GetWindowRect(window, &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested));
    GetWindowRect(ItemHandle(window, 1), &button);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&button), 2);
    RECT doubled{244, 360, 244 + 140, 360 + 48};
    EXPECT_TRUE(EqualRect(&button, &doubled));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ItemHandle(window, 1), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 32) << "the system font's 16 pixels, doubled";
    EXPECT_TRUE(Drawn(window, 300, 192, 332, 224)) << "the icon's lower right quarter at 64 pixels";
    EXPECT_TRUE(HasColour(window, 40, 100, 300, 132, RGB(220, 100, 0))) << "the description at (40, 100)";
    EXPECT_TRUE(HasColour(window, 132, 268, 600, 300, RGB(0, 100, 250))) << "the web line at (132, 268)";
    CloseAboutWindow();
  });
}

TEST(AboutWindow, SecondRequestWhileOpenOnlyBringsItToTheFront) {
  bool returned = false;
  RunWith("d", "", [&](HWND window) {
    ShowAboutWindow("another", kCatalan);
    returned = true;
    EXPECT_EQ(AboutWindowHandle(), window);
    CloseAboutWindow();
  });
  EXPECT_TRUE(returned);
  EXPECT_EQ(AboutWindowHandle(), nullptr);
}

}  // namespace
