// The Windows helpers on real controls and files, in process (under Wine here).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/winhelpers/message_box_watcher.h"
#include "winhelpers/dialog_helpers.h"
#include "winhelpers/files.h"
#include "winhelpers/message_box.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEdit = 103;
constexpr int kCombo = 101;

// A plain window holding an edit field and a combo box, as a dialog would.
class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 200, 20, parent_,
                    reinterpret_cast<HMENU>(kEdit), GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 30, 200, 100, parent_,
                    reinterpret_cast<HMENU>(kCombo), GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }
  HWND parent_ = nullptr;
};

TEST_F(Controls, TextLimits255InAnd254Out) {
  std::string long_text(300, 'x');
  SetItemText(parent_, kEdit, ShortString(long_text));
  EXPECT_EQ(GetWindowTextLengthA(ItemHandle(parent_, kEdit)), 255);
  EXPECT_EQ(GetItemText(parent_, kEdit).str(), std::string(254, 'x'));
}

struct IntCase {
  const char* text;
  std::int32_t value;
  std::int32_t error;
};

TEST_F(Controls, GetItemIntReadsTheFieldText) {
  // The reading itself is tested with ReadInteger; here only that the field's
  // text reaches it.
  const IntCase cases[] = {{"  12  ", 12, 0}, {"   ", 0, 0}, {"12a", 0, 1}, {"$10", 16, 0}};
  for (const IntCase& c : cases) {
    SetItemText(parent_, kEdit, c.text);
    std::int32_t error = -1;
    EXPECT_EQ(GetItemInt(parent_, kEdit, &error), c.value) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST_F(Controls, ComboItemsAreNumberedFrom1) {
  EXPECT_EQ(ComboCount(parent_, kCombo), 0);
  EXPECT_EQ(ComboSelIndex(parent_, kCombo), 0);
  ComboAdd(parent_, kCombo, "n^2");
  ComboAdd(parent_, kCombo, ShortString(std::string(300, 'a')));
  ComboAdd(parent_, kCombo, "1/n");
  EXPECT_EQ(ComboCount(parent_, kCombo), 3);
  EXPECT_EQ(ComboItemText(parent_, kCombo, 1), "n^2");
  EXPECT_EQ(ComboItemText(parent_, kCombo, 2).size(), 255u);
  EXPECT_EQ(ComboItemText(parent_, kCombo, 3), "1/n");
  SendDlgItemMessageA(parent_, kCombo, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(ComboSelIndex(parent_, kCombo), 3);
  EXPECT_EQ(ComboSelText(parent_, kCombo), "1/n");
}

struct FindCase {
  const char* text;
  std::uint16_t index;
};

TEST_F(Controls, ComboFindPrefixStartsAtTheSecondItemAndWraps) {
  ComboAdd(parent_, kCombo, "n^2");
  ComboAdd(parent_, kCombo, "n^2+1");
  const FindCase cases[] = {{"n", 2}, {"N^2", 2}, {"n^3", 0}, {"n^2+", 2}};
  for (const FindCase& c : cases) EXPECT_EQ(ComboFindPrefix(parent_, kCombo, c.text), c.index) << c.text;
  SendDlgItemMessageA(parent_, kCombo, CB_RESETCONTENT, 0, 0);
  ComboAdd(parent_, kCombo, "n^2");
  EXPECT_EQ(ComboFindPrefix(parent_, kCombo, "n"), 1);
}

TEST_F(Controls, ComboFindExactIgnoresCaseOnly) {
  ComboAdd(parent_, kCombo, "n^2+1");
  ComboAdd(parent_, kCombo, "n^2");
  const FindCase cases[] = {{"N^2", 2}, {"n^2+1", 1}, {"n", 0}, {"n^2+", 0}};
  for (const FindCase& c : cases) EXPECT_EQ(ComboFindExact(parent_, kCombo, c.text), c.index) << c.text;
}

TEST_F(Controls, SetCaptionCutsTo255) {
  SetCaption(parent_, ShortString(std::string(300, 'c')));
  EXPECT_EQ(GetWindowTextLengthA(parent_), 255);
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / "vantel_files_test";
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "folder");
    std::ofstream(folder_ / "plain.txt") << "x";
    std::ofstream(folder_ / "hidden.txt") << "x";
    SetFileAttributesA(Path("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void TearDown() override {
    SetFileAttributesA(Path("hidden.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string Path(const char* name) { return (folder_ / name).string(); }
  fs::path folder_;
};

struct ExistsCase {
  const char* name;
  bool exists;
};

TEST_F(Files, FileExistsCountsHiddenFilesButNotFolders) {
  const ExistsCase cases[] = {
      {"plain.txt", true},    {"hidden.txt", true}, {"folder", false},
      {"missing.txt", false}, {"pl*.t?t", true},    {"fold*", false},
  };
  for (const ExistsCase& c : cases) EXPECT_EQ(FileExists(Path(c.name)), c.exists) << c.name;
  EXPECT_FALSE(FileExists("<>|"));
}

TEST_F(Files, OpeningTextFiles) {
  TextFile file;
  EXPECT_FALSE(OpenTextForReading(Path("missing.txt"), &file));
  EXPECT_TRUE(OpenTextForReading(Path("plain.txt"), &file));
  EXPECT_EQ(ReadLine(&file), "x");
  Close(&file);
  EXPECT_TRUE(OpenTextForWriting(Path("new.txt"), &file));
  Close(&file);
  EXPECT_FALSE(OpenTextForWriting(Path("nowhere\\new.txt"), &file));
}

TEST_F(Files, FileYearTextSkipsHiddenFiles) {
  HANDLE handle = CreateFileA(Path("plain.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  SYSTEMTIME june{2003, 6, 0, 15, 12, 0, 0, 0};
  FILETIME local{}, written{};
  SystemTimeToFileTime(&june, &local);
  LocalFileTimeToFileTime(&local, &written);
  SetFileTime(handle, nullptr, nullptr, &written);
  CloseHandle(handle);
  EXPECT_EQ(FileYearText(Path("plain.txt")), "2003");
  EXPECT_EQ(FileYearText(Path("hidden.txt")), "");
  EXPECT_EQ(FileYearText(Path("missing.txt")), "");
}

TEST(ProgramFile, NameIsTheExecutableWithoutFolderAndExtension) {
  EXPECT_EQ(ProgramName(), "winhelpers_win_test");
  EXPECT_FALSE(FileYearText(ProgramPath()).empty());
  EXPECT_EQ(ProgramFileYearText(), FileYearText(ProgramPath()));
}

// The year of the program's file where the ANSI path cannot name it: a copy of
// this test program in a folder named in Cyrillic runs the test above's
// counterpart, and fails there if the year is empty.
TEST(ProgramFile, YearOfTheProgramInAFolderNamedOutsideTheCodePage) {
  if (std::getenv("VANTEL_YEAR_CHILD") != nullptr) {
    EXPECT_FALSE(ProgramFileYearText().empty());
    return;
  }
  wchar_t own[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, own, MAX_PATH), 0u);
  const fs::path folder = fs::temp_directory_path() / L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u0438 year";
  fs::create_directories(folder);
  const fs::path copy = folder / L"winhelpers_win_test.exe";
  fs::copy_file(own, copy, fs::copy_options::overwrite_existing);
  std::wstring line =
      L"\"" + copy.wstring() + L"\" --gtest_filter=ProgramFile.YearOfTheProgramInAFolderNamedOutsideTheCodePage";
  SetEnvironmentVariableA("VANTEL_YEAR_CHILD", "1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started =
      CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
  SetEnvironmentVariableA("VANTEL_YEAR_CHILD", nullptr);
  ASSERT_TRUE(started);
  WaitForSingleObject(child.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(code, 0u);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

TEST(ProgramFile, RunProgramReportsWinExecResult) {
  EXPECT_GE(RunProgram("cmd.exe /c exit"), 32);
  EXPECT_LT(RunProgram("no_such_program_here.exe"), 32);
}

TEST(MessageBoxes, CaptionTextAndOkOnly) {
  MessageBoxWatcher watcher;
  ShowMessage("* error *", "nom\351s nombres naturals (enters positius)");
  ShowMessage(ShortString(std::string(300, 'c')), "long caption");
  std::vector<SeenMessageBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, "* error *");
  EXPECT_EQ(seen[0].text, "nom\351s nombres naturals (enters positius)");
  EXPECT_TRUE(seen[0].ok_only);
  EXPECT_EQ(seen[1].caption, std::string(255, 'c'));
}

}  // namespace
