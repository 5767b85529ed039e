// The form FTools, opened in this process under Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/small_disk.h"
#include "tools/form.h"
#include "tools_ids.h"

namespace fs = std::filesystem;

namespace {

struct Box {
  std::string text, caption;
  UINT type;
};
std::vector<Box> g_boxes;    // message boxes the form has shown
std::vector<int> g_answers;  // the answers of the next message boxes; then IDOK
std::wstring g_chosenPath;   // what the open-file dialog returns; empty: a cancel
std::string g_browseFolder;
std::function<void()> g_onBox;  // what happens elsewhere while a message box is shown

int RecordBox(HWND, const char* text, const char* caption, UINT type) {
  g_boxes.push_back({text, caption, type});
  if (g_onBox) g_onBox();
  if (g_answers.empty()) return IDOK;
  int answer = g_answers.front();
  g_answers.erase(g_answers.begin());
  return answer;
}

// Like a dialog that moves the current folder, it leaves it where it browsed.
bool ChooseFile(HWND, std::wstring& path) {
  SetCurrentDirectoryA(g_browseFolder.c_str());
  path = g_chosenPath;
  return !path.empty();
}

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& file, std::string_view text) { std::ofstream(file, std::ios::binary) << text; }

std::string Numbered(int i) {
  std::string title(1, 'T');
  title += std::to_string(i);
  return title;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    oldFolder_ = buffer;
    dir_ = fs::temp_directory_path() /
           ("tools_form_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "elsewhere");
    SetCurrentDirectoryA(dir_.string().c_str());
    g_browseFolder = (dir_ / "elsewhere").string();
    g_boxes.clear();
    g_answers.clear();
    g_chosenPath.clear();
  }
  void TearDown() override {
    if (g_tools.form) DestroyWindow(g_tools.form);
    Pump();
    SetCurrentDirectoryA(oldFolder_.c_str());
    fs::remove_all(dir_);
  }
  // Opens a fresh form, as the program does at its start.
  HWND Open(const std::string& commandText = "engl") {
    HFONT font = g_tools.font, signFont = g_tools.signFont;
    HBITMAP picture = g_tools.okEditPicture;
    g_tools = ToolsProgram{};
    g_tools.font = font;
    g_tools.signFont = signFont;
    g_tools.okEditPicture = picture;
    g_tools.quitOnClose = false;
    g_tools.messageBox = RecordBox;
    g_tools.openFile = ChooseFile;
    HWND form = OpenToolsForm(GetModuleHandleA(nullptr), commandText, SW_SHOWNORMAL);
    Pump();
    return form;
  }
  static HWND Item(int id) { return GetDlgItem(g_tools.form, id); }
  static std::string Text(HWND window) {
    char buffer[1024];
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
  }
  static std::string Text(int id) { return Text(Item(id)); }
  static void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  static void Fill(const char* title, const char* file = "", const char* folder = "", const char* parameters = "") {
    const char* texts[] = {title, file, folder, parameters};
    for (int k = 0; k < 4; ++k) SetWindowTextA(Item(IDC_ED0 + k), texts[k]);
  }
  static void Choose(int index) {
    SendMessageA(Item(IDC_LST), LB_SETCURSEL, index, 0);
    SendMessageA(g_tools.form, WM_COMMAND, MAKEWPARAM(IDC_LST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(IDC_LST)));
  }
  static std::vector<std::string> ListTexts() {
    std::vector<std::string> texts;
    HWND list = Item(IDC_LST);
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char buffer[512];
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
      texts.push_back(buffer);
    }
    return texts;
  }
  fs::path dir_;
  std::string oldFolder_;
};

}  // namespace

TEST_F(FormTest, ControlsStandWhereTheLayoutPutsThem) {
  ASSERT_TRUE(Open());
  RECT client;
  GetClientRect(g_tools.form, &client);
  EXPECT_EQ(client.right, 399);
  EXPECT_EQ(client.bottom, 210);
  // Pixels in the form's client area; the frame's controls lie at 187, 17 plus their place in it.
  struct Row {
    int id;
    int left, top, width, height;
  } rows[] = {
      {IDC_ETTOOLS, 10, 7, 68, 19},     {IDC_LST, 9, 20, 143, 158},       {IDC_BTNOU, 155, 23, 23, 15},
      {IDC_BTBRR, 156, 40, 23, 16},     {IDC_BTESC, 20, 185, 53, 20},     {IDC_BTOK, 80, 185, 53, 20},
      {IDC_PED, 187, 17, 202, 185},     {IDC_ET0, 198, 32, 20, 13},       {IDC_ED0, 198, 47, 177, 19},
      {IDC_ET0 + 1, 198, 73, 16, 13},   {IDC_BTCERC, 345, 73, 30, 13},    {IDC_ED0 + 1, 199, 88, 177, 19},
      {IDC_ET0 + 2, 198, 109, 69, 13},  {IDC_ED0 + 2, 198, 123, 177, 19}, {IDC_ET0 + 3, 198, 144, 53, 13},
      {IDC_ED0 + 3, 198, 158, 177, 19}, {IDC_OKED, 195, 180, 34, 17},
  };
  for (const Row& row : rows) {
    RECT place;
    GetWindowRect(Item(row.id), &place);
    MapWindowPoints(nullptr, g_tools.form, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, row.left) << row.id;
    EXPECT_EQ(place.top, row.top) << row.id;
    // Field labels may widen to fit their caption in the font at hand.
    bool label = row.id >= IDC_ET0 && row.id <= IDC_ET0 + 3;
    if (label)
      EXPECT_GE(place.right - place.left, row.width) << row.id;
    else
      EXPECT_EQ(place.right - place.left, row.width) << row.id;
    EXPECT_EQ(place.bottom - place.top, row.height) << row.id;
  }
}

// Moved to a monitor of 192 DPI: the form takes the suggested place, every control
// doubles its 96-DPI place and size, the fonts follow and no label is cut.
TEST_F(FormTest, DpiChangeLaysTheFormOutAgain) {
  ASSERT_TRUE(Open("cat"));
  RECT suggested{30, 40, 30 + 820, 40 + 470};
  SendMessageA(g_tools.form, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  RECT frame;
  GetWindowRect(g_tools.form, &frame);
  EXPECT_TRUE(EqualRect(&frame, &suggested));
  struct Row {
    int id;
    int left, top, width, height;  // at 96 DPI
  } rows[] = {{IDC_LST, 9, 20, 143, 158},
              {IDC_BTCERC, 345, 73, 30, 13},
              {IDC_ED0 + 1, 199, 88, 177, 19},
              {IDC_OKED, 195, 180, 34, 17},
              {IDC_ET0 + 2, 198, 109, 69, 13}};
  for (const Row& row : rows) {
    RECT place;
    GetWindowRect(Item(row.id), &place);
    MapWindowPoints(nullptr, g_tools.form, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 2 * row.left) << row.id;
    EXPECT_EQ(place.top, 2 * row.top) << row.id;
    EXPECT_GE(place.right - place.left, 2 * row.width) << row.id;
    EXPECT_EQ(place.bottom - place.top, 2 * row.height) << row.id;
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(Item(IDC_ET0 + 2), WM_GETFONT, 0, 0));
  LOGFONTA described{};
  GetObjectA(font, sizeof described, &described);
  EXPECT_EQ(described.lfHeight, -MulDiv(8, 192, 72));
  for (int k = 0; k < 4; ++k) {
    HWND label = Item(IDC_ET0 + k);
    std::string text = Text(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT place;
    GetClientRect(label, &place);
    EXPECT_LE(size.cx, place.right) << text;
  }
}

TEST_F(FormTest, SignButtonsUseTheLargerFont) {
  ASSERT_TRUE(Open());
  for (int id : {IDC_BTNOU, IDC_BTBRR, IDC_BTOK, IDC_ED0, IDC_LST}) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Item(id), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif") << id;
    EXPECT_EQ(font.lfHeight, id == IDC_BTNOU || id == IDC_BTBRR ? -13 : -11) << id;
  }
  EXPECT_EQ(Text(IDC_BTNOU), "+");
  EXPECT_EQ(Text(IDC_BTBRR), "-");
  EXPECT_EQ(Text(IDC_BTCERC), "\267\267\267");
}

TEST_F(FormTest, TabGoesThroughTheControlsInOrder) {
  ASSERT_TRUE(Open());
  const int order[] = {IDC_ED0,   IDC_ED0 + 1, IDC_ED0 + 2, IDC_ED0 + 3, IDC_OKED,   IDC_LST,
                       IDC_BTESC, IDC_BTOK,    IDC_BTNOU,   IDC_BTBRR,   IDC_BTCERC, IDC_ED0};
  HWND at = Item(order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    at = GetNextDlgTabItem(g_tools.form, at, FALSE);
    EXPECT_EQ(GetDlgCtrlID(at), order[i]) << i;
  }
}

TEST_F(FormTest, ListKeepsTheFileOrderAndShowsTheChosenTool) {
  WriteFile("Tools.rel", "Zeta\r\nz.exe\r\nC:\\Z\r\n-z\r\nAlpha\r\na.exe\r\n\r\n\r\n\r\n");
  ASSERT_TRUE(Open());
  EXPECT_FALSE(GetWindowLongA(Item(IDC_LST), GWL_STYLE) & LBS_SORT);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Zeta", "Alpha"}));
  Choose(0);
  EXPECT_EQ(Text(IDC_ED0), "Zeta");
  EXPECT_EQ(Text(IDC_ED0 + 1), "z.exe");
  EXPECT_EQ(Text(IDC_ED0 + 2), "C:\\Z");
  EXPECT_EQ(Text(IDC_ED0 + 3), "-z");
  EXPECT_EQ(g_tools.CurrentTool, 1);
  Click(IDC_BTNOU);
  EXPECT_EQ(g_tools.CurrentTool, 0);
  EXPECT_EQ(Text(IDC_ED0), "");
  EXPECT_EQ(SendMessageA(Item(IDC_LST), LB_GETCURSEL, 0, 0), LB_ERR);
  Click(IDC_BTBRR);  // "-" with no tool shown does nothing
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(ListTexts().size(), 2u);
}

TEST_F(FormTest, WindowTextsFollowTheLanguage) {
  struct Row {
    const char* command;
    const char* caption;
    const char* tools;
    const char* tool;
    const char* title;
    const char* parameters;
  } rows[] = {
      {"cat", "Edici\363 eines", "Eines", "Eina", "T\355tol", "Par\340metres"},
      {"ESP", "Edici\363n utilidades", "Utilidades", "Utilidad", "T\355tulo", "Par\341metros"},
      {"engl", "Tools edition", "Tools", "Tool", "Title", "Parameters"},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(Open(row.command));
    EXPECT_EQ(Text(g_tools.form), row.caption);
    EXPECT_EQ(Text(IDC_ETTOOLS), row.tools);
    EXPECT_EQ(Text(IDC_PED), row.tool);
    EXPECT_EQ(Text(IDC_ET0), row.title);
    EXPECT_EQ(Text(IDC_ET0 + 3), row.parameters);
    EXPECT_EQ(Text(IDC_BTOK), "Ok");
    // A longer caption widens its label rather than being cut.
    HWND label = Item(IDC_ET0 + 2);
    HDC dc = GetDC(label);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE size;
    std::string text = Text(label);
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ReleaseDC(label, dc);
    RECT place;
    GetClientRect(label, &place);
    EXPECT_GE(place.right, size.cx) << row.command;
    DestroyWindow(g_tools.form);
  }
}

TEST_F(FormTest, StoringReplacesOrAppendsAndRefusesWhatCannotBeKept) {
  ASSERT_TRUE(Open());
  Fill("One", "one.exe");
  Click(IDC_OKED);
  Fill("Two", "two.exe", "C:\\Two", "-2");
  Click(IDC_OKED);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(Text(IDC_ED0), "");
  Choose(0);
  SetWindowTextA(Item(IDC_ED0), "First");
  Click(IDC_OKED);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"First", "Two"}));
  EXPECT_EQ(g_tools.list.ToolTable[1].File, "one.exe");

  // An empty title is refused, and the panel keeps what it holds.
  Choose(1);
  SetWindowTextA(Item(IDC_ED0), "");
  Click(IDC_OKED);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "A tool without a title cannot be stored.");
  EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"First", "Two"}));
  EXPECT_EQ(Text(IDC_ED0 + 1), "two.exe");

  // A thirteenth tool is refused.
  for (int i = 3; i <= 12; ++i) {
    Click(IDC_BTNOU);
    Fill(Numbered(i).c_str());
    Click(IDC_OKED);
  }
  EXPECT_EQ(g_tools.list.ToolCount, 12);
  Fill("T13");
  Click(IDC_OKED);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[1].text, "The list already holds 12 tools: no more can be added.");
  EXPECT_EQ(g_tools.list.ToolCount, 12);
  EXPECT_EQ(ListTexts().size(), 12u);
  EXPECT_EQ(Text(IDC_ED0), "T13");
  // Changing a listed tool is still possible.
  Choose(11);
  SetWindowTextA(Item(IDC_ED0), "Last");
  Click(IDC_OKED);
  EXPECT_EQ(ListTexts().back(), "Last");
  EXPECT_EQ(g_boxes.size(), 2u);
}

TEST_F(FormTest, BrowsingSplitsThePathAndKeepsTheStartFolder) {
  struct Row {
    const wchar_t* chosen;
    const char* file;
    const char* folder;
  } rows[] = {
      {L"C:\\Prog\\x.exe", "x.exe", "C:\\Prog"},
      {L"C:\\x.exe", "x.exe", "C:"},
      {L"x.exe", "x.exe", ""},
      {L"", "keep.exe", "C:\\Keep"},  // a cancel changes nothing
  };
  ASSERT_TRUE(Open());
  for (const Row& row : rows) {
    Fill("T", "keep.exe", "C:\\Keep");
    g_chosenPath = row.chosen;
    Click(IDC_BTCERC);
    EXPECT_EQ(Text(IDC_ED0 + 1), row.file) << row.file;
    EXPECT_EQ(Text(IDC_ED0 + 2), row.folder) << row.file;
    EXPECT_EQ(fs::current_path(), dir_) << row.file;
  }
}

// A save that cannot be made, because something is in the way or another copy
// keeps saving the list file for the whole wait, is told and keeps the form open;
// once the way is clear, Ok saves.
TEST_F(FormTest, AFailedSaveKeepsTheFormOpen) {
  struct Obstacle {
    const char* name;
    std::function<HANDLE()> place;  // puts it in the way; a handle to close to clear it
    const char* told;
  };
  const Obstacle obstacles[] = {
      {"a folder in the lock file's place",
       [&] {
         fs::create_directories(dir_ / "Tools.rel.lock");
         return INVALID_HANDLE_VALUE;
       },
       "No s'ha pogut escriure Tools.rel. La llista no s'ha desat."},
      {"another copy holding the lock",
       [&] {
         return CreateFileA("Tools.rel.lock", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE,
                            nullptr);
       },
       "Una altra c\362pia de Tools est\340 desant Tools.rel. La llista no s'ha desat: torneu a pr\351mer Ok."},
  };
  for (const Obstacle& o : obstacles) {
    SCOPED_TRACE(o.name);
    g_boxes.clear();
    WriteFile("Tools.rel", "Old\r\n\r\n\r\n\r\n\r\n");
    const HANDLE held = o.place();
    ASSERT_TRUE(Open("cat"));
    Fill("New");
    Click(IDC_OKED);
    Click(IDC_BTOK);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, o.told);
    ASSERT_TRUE(IsWindow(g_tools.form));
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Old", "New"}));
    EXPECT_EQ(FileText("Tools.rel"), "Old\r\n\r\n\r\n\r\n\r\n");
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    fs::remove(dir_ / "Tools.rel.lock");
    Click(IDC_BTOK);
    EXPECT_EQ(FileText("Tools.rel"), "Old\r\n\r\n\r\n\r\nNew\r\n\r\n\r\n\r\n\r\n");
    EXPECT_FALSE(IsWindow(g_tools.form));
  }
}

// Another copy saves the list file while the question whether to replace it is
// on the screen: the Yes was given to what the user was shown, so it is asked
// again rather than replacing a change nobody saw.
TEST_F(FormTest, AChangeWhileTheQuestionIsShownIsAskedAboutAgain) {
  WriteFile("Tools.rel", "Old\r\n\r\n\r\n\r\n\r\n");
  ASSERT_TRUE(Open("engl"));
  Fill("Mine");
  Click(IDC_OKED);
  WriteFile("Tools.rel", "Theirs\r\n\r\n\r\n\r\n\r\n");  // saved by another copy
  g_answers = {IDYES, IDNO};
  g_onBox = [] { WriteFile("Tools.rel", "Third\r\n\r\n\r\n\r\n\r\n"); };
  Click(IDC_BTOK);
  g_onBox = nullptr;
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[1].text, g_boxes[0].text);
  EXPECT_EQ(g_boxes[1].type, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(FileText("Tools.rel"), "Third\r\n\r\n\r\n\r\n\r\n");
  EXPECT_TRUE(IsWindow(g_tools.form));
  g_answers = {IDYES};
  Click(IDC_BTOK);
  EXPECT_EQ(FileText("Tools.rel"), "Old\r\n\r\n\r\n\r\nMine\r\n\r\n\r\n\r\n\r\n");
  EXPECT_FALSE(IsWindow(g_tools.form));
}

// A list file held by another program cannot be read: that is said at start, and
// Ok never replaces it in this run, even once it could be read.
TEST_F(FormTest, AListFileThatCouldNotBeReadIsNeverReplaced) {
  const std::string old = "Old\r\n\r\n\r\n\r\n\r\n";
  WriteFile("Tools.rel", old);
  HANDLE held = CreateFileA("Tools.rel", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(Open("esp"));
  CloseHandle(held);
  EXPECT_TRUE(ListTexts().empty());
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].caption, "Edici\363n utilidades");
  EXPECT_EQ(g_boxes[0].text,
            "No se ha podido leer Tools.rel. No se sustituir\341 mientras el programa est\351 abierto, para que no se "
            "pierdan las utilidades que contiene.");
  Fill("New");
  Click(IDC_OKED);
  Click(IDC_BTOK);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[1].text, "No se ha podido escribir Tools.rel. La lista no se ha guardado.");
  EXPECT_TRUE(IsWindow(g_tools.form));
  EXPECT_EQ(FileText("Tools.rel"), old);
}

// A list file whose reading stopped before its end says so when the form opens,
// shows the tools read up to there, and is kept byte for byte in that run.
TEST_F(FormTest, AListFileReadOnlyInPartIsToldAndKeptByteForByte) {
  using namespace std::string_view_literals;
  struct Row {
    const char* command;
    std::string_view text;
    std::vector<std::string> shown;
  } rows[] = {
      {"engl",
       "\xFF\xFE"
       "A\0\r\0\n\0a\0\r\0\n\0\r\0\n\0\r\0\n\0\r\0\n\0"sv,
       {"\xFF\xFE"
        "A"}},                                                         // UTF-16
      {"cat", "A\r\na\0b\r\n\r\n\r\n\r\n"sv, {"A"}},                   // a NUL byte
      {"esp", "A\r\n\r\n\r\n\r\n\r\nB\r\n\r\n\r\n\r\n\r\n"sv, {"A"}},  // a tool after the end mark
      {"engl", "\r\nA\r\n\r\n\r\n\r\n\r\n"sv, {}},                     // a blank first line
      {"cat",
       "A\r\n\r\n\r\n\r\n\x1A"
       "B\r\n"sv,
       {"A"}},  // text after a Ctrl-Z
  };
  std::string firstNotice;
  for (const Row& row : rows) {
    const std::string text(row.text);
    WriteFile("Tools.rel", text);
    g_boxes.clear();
    ASSERT_TRUE(Open(row.command));
    EXPECT_EQ(ListTexts(), row.shown) << row.command;
    ASSERT_EQ(g_boxes.size(), 1u) << row.command;
    EXPECT_EQ(g_boxes[0].caption, WindowTextsOf(g_tools.language).caption);
    EXPECT_EQ(g_boxes[0].text, NoticeText(Notice::kReadInPart, g_tools.language));
    if (firstNotice.empty()) firstNotice = g_boxes[0].text;
    Fill("New");
    Click(IDC_OKED);
    Click(IDC_BTOK);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[1].text, NoticeText(Notice::kNotWritten, g_tools.language));
    EXPECT_TRUE(IsWindow(g_tools.form));
    EXPECT_EQ(FileText("Tools.rel"), text) << row.command;
    DestroyWindow(g_tools.form);
  }
  EXPECT_EQ(firstNotice,
            "Only part of Tools.rel could be read: there is more text after the place where reading stopped (tools "
            "after an empty line, text after a Ctrl-Z, or another encoding). It will not be replaced while the "
            "program is open, so that nothing it holds is lost.");

  // A list file with the System attribute is read like any other.
  WriteFile("Tools.rel", "Sys\r\n\r\n\r\n\r\n\r\n");
  SetFileAttributesA("Tools.rel", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  g_boxes.clear();
  ASSERT_TRUE(Open());
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Sys"}));
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(FormTest, AFullDiskKeepsTheListFileAndTheForm) {
  const fs::path folder = small_disk::Folder();
  if (folder.empty()) GTEST_SKIP() << "no small filesystem to fill (mounting one needs root)";
  SetCurrentDirectoryA(folder.string().c_str());
  const std::string old = "Old\r\nold.exe\r\n\r\n\r\n\r\n";
  WriteFile("Tools.rel", old);
  ASSERT_TRUE(small_disk::Fill(folder / "filler"));
  ASSERT_TRUE(Open("engl"));
  Fill("New");
  Click(IDC_OKED);
  Click(IDC_BTOK);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "Tools.rel could not be written. The list has not been saved.");
  EXPECT_TRUE(IsWindow(g_tools.form));
  EXPECT_EQ(FileText("Tools.rel"), old);
  EXPECT_FALSE(fs::exists("Tools.rel.tmp"));
  fs::remove(folder / "filler");
  Click(IDC_BTOK);  // with room again the list is saved
  EXPECT_EQ(FileText("Tools.rel"), "Old\r\nold.exe\r\n\r\n\r\nNew\r\n\r\n\r\n\r\n\r\n");
  EXPECT_FALSE(IsWindow(g_tools.form));
  fs::remove(folder / "Tools.rel");
}

TEST_F(FormTest, AListOfMoreThanTwelveSaysSoWhenTheFormOpens) {
  std::string text;
  for (int i = 1; i <= 14; ++i) text += Numbered(i) + "\r\n\r\n\r\n\r\n";
  WriteFile("Tools.rel", text + "\r\n");
  ASSERT_TRUE(Open());
  EXPECT_EQ(ListTexts().size(), 12u);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text,
            "Tools.rel holds more than 12 tools. Only the first 12 were read; the others will not be kept if the "
            "list is saved.");
}

TEST_F(FormTest, PictureButtonShowsItsPictureOnTheButtonFace) {
  ASSERT_TRUE(Open());
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDB_OKEDIT), MAKEINTRESOURCEA(2));  // RT_BITMAP
  ASSERT_TRUE(found);
  auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
  EXPECT_EQ(header->biWidth, 24);
  EXPECT_EQ(header->biHeight, 15);
  EXPECT_EQ(header->biBitCount, 4);
  HRSRC icon = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_TOOLS), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_TRUE(icon);
  auto* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, icon)));
  EXPECT_EQ(group[6], 32);  // width
  EXPECT_EQ(group[7], 32);  // height
  EXPECT_EQ(group[8], 16);  // colours
  EXPECT_TRUE(GetWindowLongA(Item(IDC_OKED), GWL_STYLE) & BS_OWNERDRAW);

  // Drawn into a bitmap: white is left out, so the face shows through; blue and green are drawn.
  HWND button = Item(IDC_OKED);
  RECT face;
  GetClientRect(button, &face);
  HDC screen = GetDC(button);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, face.right, face.bottom);
  SelectObject(dc, canvas);
  DRAWITEMSTRUCT item{ODT_BUTTON, IDC_OKED, 0, ODA_DRAWENTIRE, 0, button, dc, face, 0};
  SendMessageA(g_tools.form, WM_DRAWITEM, IDC_OKED, reinterpret_cast<LPARAM>(&item));
  int x = (face.right - 24) / 2, y = (face.bottom - 15) / 2;
  COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(GetPixel(dc, x + 12, y + 1), faceColour);      // white in the picture
  EXPECT_EQ(GetPixel(dc, x + 1, y + 7), RGB(0, 0, 255));   // the arrow's point
  EXPECT_EQ(GetPixel(dc, x + 22, y + 4), RGB(0, 128, 0));  // the check mark
  DeleteDC(dc);
  DeleteObject(canvas);
  ReleaseDC(button, screen);
}
