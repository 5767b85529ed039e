// Vantel's about window and Tools' form on a screen of the DPI given on the command
// line: their controls stand where the 96-DPI layout puts them, scaled by DPI/96
// (within two pixels), and no label or button text is cut.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_dpi = 96;
std::string g_vantel, g_tools;
constexpr int kSlack = 2;  // pixels of rounding allowed

int Scaled(int pixels) { return MulDiv(pixels, g_dpi, 96); }

// A program started in a folder of its own; ended when the test is done.
class Program {
 public:
  Program(const std::string& exe, const std::string& arguments) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "dpi_layout_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup, &process_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    for (const char* file : {"ults.rel", "Tools.rel"}) DeleteFileA((folder_ + "\\" + file).c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  // The program's top-level window of the class, waited for up to 30 seconds.
  HWND Window(const char* className) const {
    for (int i = 0; i < 300 && started_; ++i) {
      HWND found = nullptr;
      for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w && !found;
           w = FindWindowExA(nullptr, w, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process_.dwProcessId && IsWindowVisible(w)) found = w;
      }
      if (found) return found;
      Sleep(100);
    }
    return nullptr;
  }

 private:
  std::string folder_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

RECT ClientRectOf(HWND control) {
  RECT place;
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

SIZE TextSize(HFONT font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

// The rectangle of a control is its 96-DPI one (left, top, width, height) scaled.
void ExpectScaled(HWND control, int left, int top, int width, int height, const char* name) {
  RECT place = ClientRectOf(control);
  EXPECT_NEAR(place.left, Scaled(left), kSlack) << name;
  EXPECT_NEAR(place.top, Scaled(top), kSlack) << name;
  EXPECT_NEAR(place.right - place.left, Scaled(width), kSlack) << name;
  EXPECT_NEAR(place.bottom - place.top, Scaled(height), kSlack) << name;
}

TEST(AboutWindow, IsLaidOutAtTheScreensDpi) {
  Program vantel(g_vantel, "");
  HWND dialog = vantel.Window("#32770");
  ASSERT_NE(dialog, nullptr);
  PostMessageA(dialog, WM_COMMAND, 301, 0);  // "Quat a Vantel"
  HWND about = vantel.Window("FerSobre");
  ASSERT_NE(about, nullptr);
  RECT frame;
  GetWindowRect(about, &frame);
  EXPECT_NEAR(frame.right - frame.left, Scaled(312), kSlack);
  EXPECT_NEAR(frame.bottom - frame.top, Scaled(240), kSlack);
  // The window is initialised once its button shows an exclamation.
  HWND button = nullptr;
  for (int i = 0; i < 100 && (button == nullptr || TextOf(button) == "Vist"); ++i) {
    Sleep(100);
    button = GetDlgItem(about, 1);
  }
  ASSERT_NE(button, nullptr);
  ExpectScaled(button, 122, 180, 70, 24, "button");
  // The longest exclamation fits in the button in the system font at this DPI
  // (16 pixels high at 96 DPI), even at its natural width.
  LOGFONTA system{};
  GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
  system.lfHeight = Scaled(16);
  system.lfWidth = 0;
  HFONT font = CreateFontIndirectA(&system);
  SIZE text = TextSize(font, "i v\351s!");
  DeleteObject(font);
  RECT place = ClientRectOf(button);
  EXPECT_LE(text.cx, place.right - place.left - 4);
  EXPECT_LE(text.cy, place.bottom - place.top - 4);
  PostMessageA(about, WM_CLOSE, 0, 0);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Tools' controls at 96 DPI, in pixels of the client area (the frame's controls
// included with the frame's place).
struct Control {
  int id;
  int left, top, width, height;
  bool label;
};
const Control kToolsControls[] = {
    {100, 10, 7, 68, 19, true},      {101, 9, 20, 143, 158, false},   {102, 155, 23, 23, 15, false},
    {103, 156, 40, 23, 16, false},   {104, 20, 185, 53, 20, false},   {105, 80, 185, 53, 20, false},
    {106, 187, 17, 202, 185, false}, {107, 345, 73, 30, 13, false},   {108, 195, 180, 34, 17, false},
    {110, 198, 32, 20, 13, true},    {111, 198, 73, 16, 13, true},    {112, 198, 109, 69, 13, true},
    {113, 198, 144, 53, 13, true},   {120, 198, 47, 177, 19, false},  {121, 199, 88, 177, 19, false},
    {122, 198, 123, 177, 19, false}, {123, 198, 158, 177, 19, false},
};

TEST(ToolsForm, IsLaidOutAtTheScreensDpiInEveryLanguage) {
  LOGFONTA design{};
  design.lfHeight = -MulDiv(800, g_dpi, 7200);
  design.lfCharSet = ANSI_CHARSET;
  lstrcpyA(design.lfFaceName, "MS Sans Serif");
  HFONT font = CreateFontIndirectA(&design);
  for (const char* language : {"cat", "engl", "esp"}) {
    SCOPED_TRACE(language);
    Program tools(g_tools, language);
    HWND form = tools.Window("FTools");
    ASSERT_NE(form, nullptr);
    RECT client;
    GetClientRect(form, &client);
    EXPECT_NEAR(client.right, Scaled(399), kSlack);
    EXPECT_NEAR(client.bottom, Scaled(210), kSlack);
    for (const Control& c : kToolsControls) {
      HWND control = GetDlgItem(form, c.id);
      std::string text = TextOf(control);
      RECT place = ClientRectOf(control);
      if (!c.label) {
        ExpectScaled(control, c.left, c.top, c.width, c.height, text.c_str());
        continue;
      }
      // A label widens to its caption, never narrows; its whole text fits in it.
      EXPECT_NEAR(place.left, Scaled(c.left), kSlack) << text;
      EXPECT_NEAR(place.top, Scaled(c.top), kSlack) << text;
      EXPECT_NEAR(place.bottom - place.top, Scaled(c.height), kSlack) << text;
      EXPECT_GE(place.right - place.left, Scaled(c.width) - kSlack) << text;
      SIZE size = TextSize(font, text);
      EXPECT_LE(size.cx, place.right - place.left) << text;
      EXPECT_LE(size.cy, place.bottom - place.top) << text;
    }
    PostMessageA(form, WM_CLOSE, 0, 0);
  }
  DeleteObject(font);
}

}  // namespace

// dpi_layout_test DPI Vantel.exe Tools.exe (paths of the host are reached through Z:).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: dpi_layout_test DPI Vantel.exe Tools.exe\n");
    return 2;
  }
  SetProcessDPIAware();  // measures with the fonts the programs have at this DPI
  g_dpi = std::atoi(argv[1]);
  auto windows = [](std::string path) {
    if (!path.empty() && path[0] == '/') {
      path = "Z:" + path;
      for (char& c : path)
        if (c == '/') c = '\\';
    }
    return path;
  };
  g_vantel = windows(argv[2]);
  g_tools = windows(argv[3]);
  return RUN_ALL_TESTS();
}
