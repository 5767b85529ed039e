// Tools.exe as a user meets it: started as a program of its own in a folder of
// its own, driven through its window and its dialogs, judged by what it shows and
// by the "Tools.rel" it leaves. Argument: the path of Tools.exe.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/user_places.h"
#include "tools_ids.h"

namespace fs = std::filesystem;

namespace {

std::string g_toolsExe;  // Windows path of Tools.exe

constexpr auto kDeadline = std::chrono::seconds(20);  // for any one thing to happen
constexpr UINT kTimeoutMs = 5000;                     // for any one message to be answered
constexpr int kMessageBoxText = 0xFFFF;               // the id of a message box's text

// Polls until the condition holds or the deadline passes.
bool WaitFor(const std::function<bool()>& condition) {
  auto end = std::chrono::steady_clock::now() + kDeadline;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return condition();
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND window) {
  char buffer[1024] = "";
  Send(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

constexpr int kFileNameEdit = 0x480, kFileNameCombo = 0x47C;  // ids of the file name in open-file dialogs

struct ChildSearch {
  const char* className;
  int id;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<ChildSearch*>(data);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (GetDlgCtrlID(window) != s->id || lstrcmpiA(name, s->className) != 0) return TRUE;
  s->found = window;
  return FALSE;
}

// A window of the class and id anywhere under the parent.
HWND FindDescendant(HWND parent, const char* className, int id) {
  ChildSearch search{className, id, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct DialogSearch {
  HWND owner;
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<DialogSearch*>(data);
  char className[64] = "", text[256] = "";
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, text, sizeof text);
  if (std::string(className) != "#32770" || GetWindow(window, GW_OWNER) != s->owner || !IsWindowVisible(window) ||
      (s->caption && std::string(text) != s->caption))
    return TRUE;
  s->found = window;
  return FALSE;
}

struct FormSearch {
  DWORD process;  // 0: any process
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchForm(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<FormSearch*>(data);
  char text[256] = "";
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  GetWindowTextA(window, text, sizeof text);
  // A message box shown at start carries the form's caption too.
  if ((s->process != 0 && owner != s->process) || std::string(text) != s->caption || !IsWindowVisible(window) ||
      GetWindow(window, GW_OWNER))
    return TRUE;
  s->found = window;
  return FALSE;
}

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& file, std::string_view text) { std::ofstream(file, std::ios::binary) << text; }

// One run of Tools.exe in a fresh folder; the process never outlives the test.
class ToolsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ =
        fs::path(temp) / ("tools_e2e_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "Prog");
    WriteFile(dir_ / "Prog" / "x.exe", "");
  }
  void TearDown() override {
    for (PROCESS_INFORMATION* process : {&process_, &other_}) {
      if (!process->hProcess) continue;
      if (WaitForSingleObject(process->hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process->hProcess, 1);
      WaitForSingleObject(process->hProcess, 10000);
      CloseHandle(process->hProcess);
      CloseHandle(process->hThread);
    }
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Starts Tools.exe with the arguments in the folder (the test's own when none is
  // given) and finds its window by the caption.
  void Start(const std::string& arguments, const std::string& caption, const fs::path& folder = {}) {
    std::wstring commandLine = L"\"" + fs::path(g_toolsExe).wstring() + L"\"";
    if (!arguments.empty()) commandLine += L" " + fs::path(arguments).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               (folder.empty() ? dir_ : folder).c_str(), &startup, &process_))
        << g_toolsExe;
    WaitForInputIdle(process_.hProcess, 10000);
    ASSERT_TRUE(WaitFor([&] {
      FormSearch search{process_.dwProcessId, caption.c_str(), nullptr};
      EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
      form_ = search.found;
      return form_ && GetDlgItem(form_, IDC_OKED);
    })) << "no window \""
        << caption << "\"";
  }
  // Starts Tools through a shortcut, as the Start menu does, and finds its window by
  // the caption. Wine's shell hands back no process for a shortcut: the program is
  // then the one that shows the window.
  void StartFromShortcut(const std::string& link, const std::string& caption) {
    SHELLEXECUTEINFOA execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.lpVerb = "open";
    execute.lpFile = link.c_str();
    execute.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&execute)) << link;
    ASSERT_TRUE(WaitFor([&] {
      FormSearch search{execute.hProcess ? GetProcessId(execute.hProcess) : 0, caption.c_str(), nullptr};
      EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
      form_ = search.found;
      return form_ && GetDlgItem(form_, IDC_OKED);
    })) << "no window \""
        << caption << "\"";
    process_.dwThreadId = GetWindowThreadProcessId(form_, &process_.dwProcessId);
    process_.hProcess =
        execute.hProcess ? execute.hProcess : OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process_.dwProcessId);
  }
  // Turns to the other copy of Tools: the one started before the last switch.
  void Switch() {
    std::swap(process_, other_);
    std::swap(form_, otherForm_);
  }

  bool Ended() { return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0; }

  HWND Item(int id) const { return GetDlgItem(form_, id); }
  HWND Ed(int k) const { return Item(IDC_ED0 + k); }
  std::string Field(int k) const { return TextOf(Ed(k)); }

  // A click, handled before this returns.
  void Click(int id) const { Send(Item(id), BM_CLICK); }
  // A click that opens a dialog: posted, so that the dialog does not hold up the test.
  void ClickToOpen(int id) const { PostMessageA(Item(id), BM_CLICK, 0, 0); }
  void Fill(int k, const char* text) const { Send(Ed(k), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
  // Pastes the text into an empty field through the clipboard, as Ctrl+V does.
  void Paste(int k, const std::wstring& text) const {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    EXPECT_TRUE(SetClipboardData(CF_UNICODETEXT, memory));
    CloseClipboard();
    Fill(k, "");
    Send(Ed(k), WM_PASTE);
    EXPECT_EQ(WideField(k), text);
  }
  // A field's text as it is, read as UTF-16.
  std::wstring WideField(int k) const {
    wchar_t text[256] = L"";
    DWORD_PTR ignored;
    SendMessageTimeoutW(Ed(k), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
    return text;
  }
  void Type(int k, std::string_view text) const {
    for (char c : text) PostMessageA(Ed(k), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  void PressEnter(int k) const {
    PostMessageA(Ed(k), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(Ed(k), WM_KEYUP, VK_RETURN, 0xC0000001);
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
  }
  // Waits until the form has handled everything sent before.
  void Settle() const { Send(form_, WM_NULL); }

  // The list's entries: read as UTF-16, which is how they cross between processes.
  std::vector<std::string> ListTexts() const {
    std::vector<std::string> texts;
    HWND list = Item(IDC_LST);
    int count = static_cast<int>(Send(list, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
      wchar_t wide[512] = L"";
      DWORD_PTR ignored;
      SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
      char text[512] = "";
      WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, nullptr, nullptr);
      texts.push_back(text);
    }
    return texts;
  }
  // Chooses a list entry with the mouse.
  void ChooseInList(int index) const {
    HWND list = Item(IDC_LST);
    int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT));
    LPARAM at = MAKELPARAM(10, index * height + height / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    std::string title = ListTexts().at(index);
    EXPECT_TRUE(WaitFor([&] { return Send(list, LB_GETCURSEL) == index && Field(0) == title; })) << title;
  }

  // A dialog box owned by the form, found by its caption when one is given.
  HWND FindDialog(const char* caption = nullptr) const {
    DialogSearch search{form_, caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  // Waits for a message box, checks its caption and text, and presses a button.
  void Answer(const std::string& caption, const std::string& text, int button) const {
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindDialog()) != nullptr; })) << "no message box: " << text;
    char title[256] = "";
    GetWindowTextA(box, title, sizeof title);
    EXPECT_EQ(title, caption);
    EXPECT_EQ(TextOf(GetDlgItem(box, kMessageBoxText)), text);
    HWND pressed = GetDlgItem(box, button);
    ASSERT_TRUE(pressed) << "no button " << button << " on " << text;
    if (button == IDYES || button == IDNO) {
      EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
    }
    PostMessageA(pressed, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    Settle();
  }
  // Browses with the real open-file dialog: types a name and presses Open, or cancels.
  // With a folder, the dialog goes into that folder first, as a user who browses
  // there does, and the name is then that of a file in it.
  void Browse(const std::string& name, bool open = true, const std::string& folder = "") const {
    ClickToOpen(IDC_BTCERC);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindDialog()) != nullptr; })) << "no open-file dialog";
    HWND nameField = nullptr, button = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      // The file name is an edit field, on its own or inside a combo box.
      nameField = FindDescendant(dialog, "Edit", kFileNameEdit);
      if (!nameField) nameField = FindDescendant(dialog, "Edit", kFileNameCombo);
      button = FindDescendant(dialog, "Button", open ? IDOK : IDCANCEL);
      return nameField && button;
    })) << "no file name field or button in the open-file dialog";
    if (!folder.empty()) {
      Send(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
      PostMessageA(button, BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitFor([&] { return TextOf(nameField).empty(); })) << "the dialog did not go into " << folder;
    }
    Send(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the open-file dialog stays open";
    Settle();
  }

  fs::path dir_;
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
  PROCESS_INFORMATION other_{};  // a second copy of Tools
  HWND otherForm_ = nullptr;
};

}  // namespace

TEST_F(ToolsRun, EditsTheListAndSavesItWithOk) {
  Start("engl", "Tools edition");
  EXPECT_TRUE(ListTexts().empty());

  // The first tool, typed field by field, Enter moving on.
  ASSERT_TRUE(WaitFor([&] { return Focus() == Ed(0); }));
  Type(0, "Notepad");
  PressEnter(0);
  ASSERT_TRUE(WaitFor([&] { return Focus() == Ed(1); }));
  Type(1, "notepad.exe");
  PressEnter(1);
  ASSERT_TRUE(WaitFor([&] { return Focus() == Ed(2); }));
  PressEnter(2);
  ASSERT_TRUE(WaitFor([&] { return Focus() == Ed(3); }));
  Type(3, "-a, b");
  PressEnter(3);
  ASSERT_TRUE(WaitFor([&] { return Focus() == Item(IDC_OKED); }));
  EXPECT_EQ(Field(0), "Notepad");
  EXPECT_EQ(Field(3), "-a, b");
  PostMessageA(Item(IDC_OKED), WM_KEYDOWN, VK_RETURN, 1);  // Enter on the picture button stores
  ASSERT_TRUE(WaitFor([&] { return Send(Item(IDC_LST), LB_GETCOUNT) == 1; }));
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Notepad"}));
  EXPECT_EQ(Field(0), "");

  // Two more after "+", the second one browsed for.
  Click(IDC_BTNOU);
  Fill(0, "Calc");
  Fill(1, "calc.exe");
  Click(IDC_OKED);
  Settle();
  Fill(0, "Ex");
  Browse((dir_ / "Prog" / "x.exe").string());
  EXPECT_EQ(Field(1), "x.exe");
  EXPECT_EQ(Field(2), (dir_ / "Prog").string());
  Fill(1, "kept.exe");
  Browse("nothing.exe", false);  // a cancel leaves the fields
  EXPECT_EQ(Field(1), "kept.exe");
  Browse((dir_ / "Prog" / "x.exe").string());
  Click(IDC_OKED);
  Settle();
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Notepad", "Calc", "Ex"}));

  // A listed tool, chosen and changed in place.
  ChooseInList(1);
  EXPECT_EQ(Field(0), "Calc");
  EXPECT_EQ(Field(1), "calc.exe");
  Fill(2, "C:\\Windows");
  Click(IDC_OKED);
  Settle();

  // Deleting asks first; No keeps the tool, Yes removes it.
  ChooseInList(0);
  ClickToOpen(IDC_BTBRR);
  Answer("Confirm erasing", "Erase NOTEPAD ?", IDNO);
  EXPECT_EQ(ListTexts().size(), 3u);
  ChooseInList(0);
  ClickToOpen(IDC_BTBRR);
  Answer("Confirm erasing", "Erase NOTEPAD ?", IDYES);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Calc", "Ex"}));
  EXPECT_EQ(Field(0), "");

  ClickToOpen(IDC_BTOK);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(FileText(dir_ / "Tools.rel"),
            "Calc\r\ncalc.exe\r\nC:\\Windows\r\n\r\nEx\r\nx.exe\r\n" + (dir_ / "Prog").string() + "\r\n\r\n\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "Prog" / "Tools.rel"));
}

TEST_F(ToolsRun, EscAndTheCloseBoxLeaveTheFileAsItWas) {
  const std::string old = "Old\r\nold.exe\r\n\r\n\r\n\r\n";
  for (bool closeBox : {false, true}) {
    WriteFile(dir_ / "Tools.rel", old);
    Start("ENGL", "Tools edition");
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Old"}));
    Fill(0, "New");
    Click(IDC_OKED);
    Settle();
    EXPECT_EQ(ListTexts().size(), 2u);
    if (closeBox)
      PostMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      ClickToOpen(IDC_BTESC);
    ASSERT_TRUE(Ended());
    EXPECT_EQ(FileText(dir_ / "Tools.rel"), old);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }
}

TEST_F(ToolsRun, LanguageComesFromTheCommandLineOrLngTxt) {
  WriteFile(dir_ / "Lng.txt", "esp\r\n");
  WriteFile(dir_ / "Tools.rel", "Bloc de notas\r\nnotepad.exe\r\n\r\n\r\n\r\n");
  Start("", "Edici\363n utilidades");
  EXPECT_EQ(TextOf(Item(IDC_ET0)), "T\355tulo");
  ChooseInList(0);
  ClickToOpen(IDC_BTBRR);
  Answer("Confirmar eliminaci\363n", "\277Eliminar BLOC DE NOTAS ?", IDNO);
  ClickToOpen(IDC_BTOK);  // not in host mode: no message
  ASSERT_TRUE(Ended());
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};

  // The command line wins over Lng.txt.
  Start("CaT", "Edici\363 eines");
  EXPECT_EQ(TextOf(Item(IDC_PED)), "Eina");
  ClickToOpen(IDC_BTESC);
  ASSERT_TRUE(Ended());
}

TEST_F(ToolsRun, HostModeSaysNoFormAndStillSaves) {
  Start("", "Edici\363 eines");  // neither a command line nor Lng.txt: Catalan, host mode
  Fill(0, "Eina");
  Click(IDC_OKED);
  Settle();
  ClickToOpen(IDC_BTOK);
  Answer("Tools", "No Form", IDOK);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "Eina\r\n\r\n\r\n\r\n\r\n");
}

// Two copies in one folder: the second to press Ok is asked before it replaces
// what the first saved; No leaves the file and the form, Yes writes its list.
TEST_F(ToolsRun, TwoCopiesInOneFolderAskBeforeReplacing) {
  WriteFile(dir_ / "Tools.rel", "One\r\n\r\n\r\n\r\n\r\n");
  Start("engl", "Tools edition");
  Fill(0, "Two");
  Click(IDC_OKED);
  Settle();
  Switch();
  Start("cat", "Edici\363 eines");
  Fill(0, "Three");
  Click(IDC_OKED);
  Settle();
  Switch();
  ClickToOpen(IDC_BTOK);  // the first copy saves
  ASSERT_TRUE(Ended());
  const std::string first = "One\r\n\r\n\r\n\r\nTwo\r\n\r\n\r\n\r\n\r\n";
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), first);

  Switch();
  const std::string question =
      "Tools.rel ha canviat des que es va llegir (potser l'ha desat una altra c\362pia de Tools). Voleu "
      "substituir-lo per aquesta llista?";
  ClickToOpen(IDC_BTOK);
  Answer("Edici\363 eines", question, IDNO);
  EXPECT_TRUE(IsWindowVisible(form_));
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), first);
  ClickToOpen(IDC_BTOK);
  Answer("Edici\363 eines", question, IDYES);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "One\r\n\r\n\r\n\r\nThree\r\n\r\n\r\n\r\n\r\n");
}

// Two copies whose Ok is pressed at the same moment: one saves, the other asks
// before it replaces that list (No keeps it), every time; no tool is lost without
// the question.
TEST_F(ToolsRun, TwoCopiesPressingOkTogetherAsk) {
  const std::string question =
      "Tools.rel has changed since it was read (another copy of Tools may have saved it). Replace it with this list?";
  constexpr int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round + 1));
    WriteFile(dir_ / "Tools.rel", "One\r\n\r\n\r\n\r\n\r\n");
    const char* titles[2] = {"Two", "Three"};
    for (const char* title : titles) {
      Start("engl", "Tools edition");
      Fill(0, title);
      Click(IDC_OKED);
      Settle();
      Switch();
    }
    HWND forms[2] = {form_, otherForm_};
    std::thread other([&] { PostMessageA(GetDlgItem(forms[1], IDC_BTOK), BM_CLICK, 0, 0); });
    PostMessageA(GetDlgItem(forms[0], IDC_BTOK), BM_CLICK, 0, 0);
    other.join();
    // The copy that saved ends; the other asks.
    int saved = -1;
    ASSERT_TRUE(WaitFor([&] {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) saved = 0;
      if (WaitForSingleObject(other_.hProcess, 0) == WAIT_OBJECT_0) saved = 1;
      return saved >= 0;
    })) << "neither copy saved";
    if (saved == 0) Switch();  // to the one that asks
    Answer("Tools edition", question, IDNO);
    EXPECT_TRUE(IsWindowVisible(form_));
    const std::string kept = std::string("One\r\n\r\n\r\n\r\n") + titles[saved == 0 ? 0 : 1] + "\r\n\r\n\r\n\r\n\r\n";
    EXPECT_EQ(FileText(dir_ / "Tools.rel"), kept);
    for (PROCESS_INFORMATION* process : {&process_, &other_}) {
      TerminateProcess(process->hProcess, 1);
      WaitForSingleObject(process->hProcess, 10000);
      CloseHandle(process->hProcess);
      CloseHandle(process->hThread);
      *process = {};
    }
  }
}

// Started in a folder whose name Windows-1252 cannot hold: browsing elsewhere does
// not move where the list is saved, a failed save touches nothing, and a typed
// character that the list file cannot hold is refused rather than kept as "?".
TEST_F(ToolsRun, SavesWhereItStartedInAFolderNamedOutsideWindows1252) {
  const fs::path start = dir_ / fs::path(u8"\u0428\u043a\u043e\u043b\u0430 \u5b66\u6821");
  fs::create_directories(start / "Tools.rel.lock");  // in the way of the first save
  Start("engl", "Tools edition", start);

  Type(0, "Caf\351 ");
  PostMessageW(Ed(0), WM_CHAR, 0x0416, 1);  // a Cyrillic letter
  Settle();
  ClickToOpen(IDC_OKED);
  Answer("Tools edition", "This tool holds characters that cannot be written to Tools.rel. Change them to store it.",
         IDOK);
  EXPECT_TRUE(ListTexts().empty());
  wchar_t typed[64] = L"";
  DWORD_PTR ignored;
  SendMessageTimeoutW(Ed(0), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(typed), SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
  EXPECT_EQ(std::wstring(typed), L"Caf\u00e9 \u0416");

  Fill(0, "Ex");
  Browse("x.exe", true, (dir_ / "Prog").string());
  EXPECT_EQ(Field(1), "x.exe");
  EXPECT_EQ(Field(2), (dir_ / "Prog").string());
  Click(IDC_OKED);
  Settle();
  ClickToOpen(IDC_BTOK);
  Answer("Tools edition", "Tools.rel could not be written. The list has not been saved.", IDOK);
  EXPECT_TRUE(IsWindowVisible(form_));
  EXPECT_FALSE(fs::exists(start / "Tools.rel"));
  EXPECT_FALSE(fs::exists(dir_ / "Prog" / "Tools.rel"));

  fs::remove(start / "Tools.rel.lock");
  ClickToOpen(IDC_BTOK);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(FileText(start / "Tools.rel"), "Ex\r\nx.exe\r\n" + (dir_ / "Prog").string() + "\r\n\r\n\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "Prog" / "Tools.rel"));
}

// A Ctrl-Z pasted into a field is refused as a character the list file cannot
// hold: reading the file would stop there, the tools after it would be lost and the
// list could not be saved again. Other control characters are kept.
TEST_F(ToolsRun, APastedCtrlZIsRefusedOtherControlCharactersAreKept) {
  Start("engl", "Tools edition");
  Fill(0, "First");
  Paste(3, L"-a\x1A-b");
  ClickToOpen(IDC_OKED);
  Answer("Tools edition", "This tool holds characters that cannot be written to Tools.rel. Change them to store it.",
         IDOK);
  EXPECT_TRUE(ListTexts().empty());
  EXPECT_EQ(WideField(3), L"-a\x1A-b");

  Paste(3, L"-a\t\x1B-b");
  Click(IDC_OKED);
  Settle();
  Fill(0, "Second");
  Click(IDC_OKED);
  Settle();
  ClickToOpen(IDC_BTOK);
  ASSERT_TRUE(Ended()) << "a message keeps the form open";
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "First\r\n\r\n\r\n-a\t\x1B-b\r\nSecond\r\n\r\n\r\n\r\n\r\n");
}

// Where the current folder cannot be written, the list lives in the per-user
// folder (here with Cyrillic letters), seeded once from the current folder's
// "Tools.rel", which is left as it was; Ok saves there without a message.
TEST_F(ToolsRun, ReadOnlyFolderKeepsTheListPerUser) {
  const user_places::ReadOnlyFolder folder = user_places::FindReadOnlyFolder();
  if (folder.read_only.empty()) GTEST_SKIP() << "no read-only folder (a read-only mount needs root)";
  user_places::CyrillicAppData profile;
  const std::string starter = "Bloc\r\nnotepad.exe\r\n\r\n\r\n\r\n";
  WriteFile(fs::path(folder.writable) / "Tools.rel", starter);
  Start("engl", "Tools edition", folder.read_only);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Bloc"}));
  Fill(0, "Calc");
  Fill(1, "calc.exe");
  Click(IDC_OKED);
  Settle();
  ClickToOpen(IDC_BTOK);
  ASSERT_TRUE(Ended()) << "a message keeps the form open";
  std::string kept;
  EXPECT_TRUE(profile.Read("Tools.rel", kept));
  EXPECT_EQ(kept, "Bloc\r\nnotepad.exe\r\n\r\n\r\nCalc\r\ncalc.exe\r\n\r\n\r\n\r\n");
  EXPECT_EQ(FileText(fs::path(folder.writable) / "Tools.rel"), starter);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};

  // The next start reads the user's own list.
  Start("engl", "Tools edition", folder.read_only);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Bloc", "Calc"}));
  ClickToOpen(IDC_BTESC);
  ASSERT_TRUE(Ended());
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};

  // With a per-user folder where nothing can be made, that is told at start; the
  // current folder's list is there to edit.
  user_places::AppDataSetTo readOnly(fs::path(folder.read_only).wstring());
  Start("esp", "Edici\363n utilidades", folder.read_only);
  Answer("Edici\363n utilidades",
         "No se puede guardar Tools.rel ni en la carpeta actual ni en la carpeta del usuario: la lista se puede "
         "editar, pero no se podr\341 guardar.",
         IDOK);
  EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Bloc"}));
}

// Tools as a school laptop has it: installed by its package into a folder the user
// cannot write and started from its Start-menu shortcut, which passes no word. Run by
// scripts/test-release, which names the shortcut in VANTEL_TOOLS_SHORTCUT; skipped
// without it. The package's Lng.txt beside the program gives the language, so Tools
// is not in host mode: Ok saves the list in the user's folder and closes without
// the "No Form" message.
using Installed = ToolsRun;
TEST_F(Installed, ToolsFromItsShortcutSpeaksCatalanAndSavesWithoutAMessage) {
  const char* link = std::getenv("VANTEL_TOOLS_SHORTCUT");
  const char* appdata = std::getenv("APPDATA");
  if (!link || !*link) GTEST_SKIP() << "no installed Tools named";
  ASSERT_TRUE(appdata);
  const fs::path list = fs::path(appdata) / "Vantel" / "Tools.rel";
  std::error_code ignored;
  fs::remove(list, ignored);
  StartFromShortcut(link, "Edici\363 eines");
  EXPECT_EQ(TextOf(Item(IDC_PED)), "Eina");
  Fill(0, "Bloc de notes");
  Fill(1, "notepad.exe");
  Click(IDC_OKED);
  Settle();
  ClickToOpen(IDC_BTOK);
  ASSERT_TRUE(Ended()) << "a message keeps the form open";
  EXPECT_EQ(FileText(list), "Bloc de notes\r\nnotepad.exe\r\n\r\n\r\n\r\n");
}

TEST(ToolsProgram, IsAWindowsProgramWithItsVersion) {
  std::ifstream in(g_toolsExe, std::ios::binary);
  std::string image(std::istreambuf_iterator<char>(in), {});
  ASSERT_GT(image.size(), 0x200u);
  auto peOffset = *reinterpret_cast<const std::uint32_t*>(image.data() + 0x3C);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + peOffset);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(g_toolsExe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(g_toolsExe.c_str(), 0, size, info.data()));
  struct Row {
    const char* name;
    const char* value;
  } rows[] = {{"ProductName", "Tools"},
              {"InternalName", "Tools"},
              {"OriginalFilename", "Tools.exe"},
              {"FileVersion", "1.00"},
              {"ProductVersion", "1.00"}};
  for (const Row& row : rows) {
    char* value = nullptr;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\040904E4\\") + row.name;
    ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << row.name;
    EXPECT_STREQ(value, row.value);
  }
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: tools_e2e_test PATH-OF-Tools.exe\n");
    return 2;
  }
  g_toolsExe = argv[1];
  // A path of the host system is reached through drive Z: under Wine.
  if (!g_toolsExe.empty() && g_toolsExe[0] == '/') {
    g_toolsExe = "Z:" + g_toolsExe;
    for (char& c : g_toolsExe)
      if (c == '/') c = '\\';
  }
  return RUN_ALL_TESTS();
}
