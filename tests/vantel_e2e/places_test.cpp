// Vantel on a school laptop: started where it cannot write, with a profile folder
// whose name holds Cyrillic letters, and from a folder that lacks the help texts.
#include <iterator>
#include <string>
#include <vector>

#include "tests/user_places.h"
#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

const char kHistory[] = "ults.rel";

// Where the current folder cannot be written, the history lives in the per-user
// folder, seeded once from the current folder's file; no message is shown and the
// current folder is left untouched.
TEST(Places, ReadOnlyFolderKeepsTheHistoryPerUser) {
  const user_places::ReadOnlyFolder folder = user_places::FindReadOnlyFolder();
  if (folder.read_only.empty()) GTEST_SKIP() << "no read-only folder (a read-only mount needs root)";
  user_places::CyrillicAppData profile;
  ASSERT_TRUE(WriteWholeFile(folder.writable + "\\" + kHistory, "1/n\r\n"));
  struct Run {
    std::vector<std::string> loaded;
    const char* computed;
    std::string kept;  // the per-user file after the run
  };
  const Run runs[] = {
      {{"1/n"}, "n^2", "1/n\r\nn^2\r\n"},
      {{"1/n", "n^2"}, "2^n", "1/n\r\nn^2\r\n2^n\r\n"},
      // The starter file is read only the first time.
      {{"1/n", "n^2", "2^n"}, "n", "1/n\r\nn^2\r\n2^n\r\nn\r\n"},
  };
  for (std::size_t i = 0; i < std::size(runs); ++i) {
    const Run& run = runs[i];
    SCOPED_TRACE(run.computed);
    {
      Vantel v(folder.read_only);
      ASSERT_TRUE(v.Open());
      ExpectNoBox(v.startup_boxes);
      EXPECT_EQ(v.History(), run.loaded);
      ExpectNoBox(v.Calculate(run.computed, "2"));
      CloseNormally(v);
    }
    std::string kept;
    EXPECT_TRUE(profile.Read(kHistory, kept));
    EXPECT_EQ(kept, run.kept);
    if (i == 0) {
      ASSERT_TRUE(WriteWholeFile(folder.writable + "\\" + kHistory, "x\r\n"));
    }
  }
  std::string starter;
  EXPECT_TRUE(ReadWholeFile(folder.writable + "\\" + kHistory, starter));
  EXPECT_EQ(starter, "x\r\n") << "the current folder's file is only read";
}

// Started where it cannot write, with APPDATA naming a folder whose parents are
// missing, the program makes them and keeps the history there. With APPDATA
// naming a folder where nothing can be made (read-only, or on a share that is not
// there), the user is told at start, once, before the dialog shows; the formulas
// work for the session and nothing is written anywhere.
TEST(Places, APerUserFolderThatCannotBeMadeIsToldAtStart) {
  const user_places::ReadOnlyFolder folder = user_places::FindReadOnlyFolder();
  if (folder.read_only.empty()) GTEST_SKIP() << "no read-only folder (a read-only mount needs root)";
  TempFolder profiles;
  DeleteFileA((folder.writable + "\\" + kHistory).c_str());  // no starting file
  struct AppDataCase {
    const char* name;
    std::string appdata;
    bool saved;
  };
  const AppDataCase cases[] = {
      {"missing parents", profiles.File("Alumne\\AppData\\Roaming"), true},
      {"a read-only folder", folder.read_only, false},
      {"a share that is not there", "\\\\nowhere\\profiles\\alumne", false},
  };
  for (const AppDataCase& c : cases) {
    SCOPED_TRACE(c.name);
    user_places::AppDataSetTo appdata(From1252(c.appdata));
    Vantel v(folder.read_only);
    ASSERT_TRUE(v.Open());
    if (c.saved) {
      ExpectNoBox(v.startup_boxes);
    } else {
      ExpectOneBox(v.startup_boxes, kHistoryCaption, kHistoryNowhere);
      if (!v.startup_boxes.empty()) {
        EXPECT_FALSE(v.startup_boxes[0].dialog_visible) << "told at start";
      }
    }
    ExpectNoBox(v.Calculate("n^2", "2"));
    EXPECT_EQ(v.History(), std::vector<std::string>{"n^2"});
    CloseNormally(v);
    std::string kept;
    EXPECT_EQ(ReadWholeFile(c.appdata + "\\Vantel\\" + kHistory, kept), c.saved);
    if (c.saved) {
      EXPECT_EQ(kept, "n^2\r\n");
    }
    EXPECT_EQ(GetFileAttributesA((folder.writable + "\\" + kHistory).c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

// The folder of a test program, where the planted program is built.
std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\'));
}

struct NotepadSearch {
  std::string title_start;
  HWND found;
};

BOOL CALLBACK MatchNotepad(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<NotepadSearch*>(data);
  if (!IsWindowVisible(window) || ClassOf(window) != "Notepad") return TRUE;
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  if (To1252(title).rfind(s->title_start, 0) != 0) return TRUE;
  s->found = window;
  return FALSE;
}

// The visible Notepad window whose title names the text, or null.
HWND FindNotepad(const std::string& text) {
  NotepadSearch search{text + " - ", nullptr};
  EnumWindows(MatchNotepad, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Opens a help text from the menu and gives the text that Notepad shows; the
// Notepad is ended again.
std::string HelpShown(Vantel& v, int command, const std::string& text) {
  ExpectNoBox(v.Menu(command));
  HWND notepad = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (notepad = FindNotepad(text)) != nullptr; })) << "no Notepad showing " << text;
  if (notepad == nullptr) return {};
  HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
  std::string shown = edit ? WindowText(edit) : std::string();
  EndNotepad(notepad);
  return shown;
}

// The help texts are found beside the program when the current folder lacks them,
// the current folder's own texts win, and Notepad is the system's own: a
// "notepad.exe" in the program's folder or in the current folder never runs. The
// program's folder has a blank and Cyrillic letters in its name.
TEST(Places, HelpFoundBesideTheProgramBySystemNotepad) {
  TempFolder programs, here;
  const std::wstring program_folder =
      From1252(programs.path()) + L"\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u0438 Vantel";
  const std::wstring program = program_folder + L"\\Vantel.exe";
  ASSERT_TRUE(CreateDirectoryW(program_folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(From1252(g_vantel_exe).c_str(), program.c_str(), FALSE));
  for (const char* text : {"infogeneral.txt", "successions.txt"})
    ASSERT_TRUE(CopyFileW(From1252(g_help_dir + "\\" + text).c_str(), (program_folder + L"\\" + From1252(text)).c_str(),
                          FALSE));
  const std::wstring planted = From1252(TestProgramFolder() + "\\planted_notepad.exe");
  const std::wstring folders[] = {program_folder, From1252(here.path())};
  for (const std::wstring& folder : folders)
    ASSERT_TRUE(CopyFileW(planted.c_str(), (folder + L"\\notepad.exe").c_str(), FALSE));
  ASSERT_TRUE(WriteWholeFile(here.File("successions.txt"), "Text del mestre"));

  std::string general;
  ASSERT_TRUE(ReadWholeFile(g_help_dir + "\\infogeneral.txt", general));
  Vantel v(From1252(here.path()), program);
  ASSERT_TRUE(v.Open());
  const std::string shown = HelpShown(v, IDM_GENERAL_HELP, "infogeneral.txt");
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(shown.substr(0, 40), general.substr(0, 40)) << "the text beside the program";
  EXPECT_EQ(HelpShown(v, IDM_SEQUENCES_HELP, "successions.txt"), "Text del mestre") << "the current folder's own";
  CloseNormally(v);
  for (const std::wstring& folder : folders)
    EXPECT_EQ(GetFileAttributesW((folder + L"\\planted-ran.txt").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted notepad.exe ran";
  user_places::RemoveTree(program_folder);  // TempFolder removes only what Windows-1252 can name
}

}  // namespace
}  // namespace e2e
