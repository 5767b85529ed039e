// Vantel as a school laptop has it: installed by its package into a folder the user
// cannot write, started from its Start-menu shortcut. Run by scripts/test-release
// after the installation, which names the shortcut and the installed folder in
// VANTEL_SHORTCUT and VANTEL_INSTALLED; skipped without them. The first test expects
// no starting history in the program folder, the second one.
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(Installed, FromItsShortcutComputesKeepsItsHistoryPerUserAndOpensHelp) {
  const std::string link = Environment("VANTEL_SHORTCUT");
  const std::string installed = Environment("VANTEL_INSTALLED");
  const std::string appdata = Environment("APPDATA");
  if (link.empty() || installed.empty()) GTEST_SKIP() << "no installed Vantel named";
  ASSERT_FALSE(appdata.empty());
  const std::string history = appdata + "\\Vantel\\ults.rel";
  DeleteFileA(history.c_str());

  // The precondition: nothing can be written where the program runs.
  const std::string probe = installed + "\\probe.tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    FAIL() << installed << " can be written";
  }

  {
    Vantel v(Vantel::Shortcut{link});
    ASSERT_TRUE(v.Open());
    ExpectNoBox(v.startup_boxes);
    ExpectNoBox(v.Calculate("1/n", "3"));
    ExpectResults(v, "0.33333333333333331", "1.8333333333333333", "0.16666666666666666");
    // Notepad finds the help text by its bare name in the program's working folder.
    ExpectNoBox(v.Menu(IDM_SEQUENCES_HELP));
    HWND notepad = nullptr;
    std::string text;
    EXPECT_TRUE(WaitFor([&] {
      notepad = FindNotepad(v.process_id());
      HWND edit = notepad ? FindWindowExW(notepad, nullptr, L"Edit", nullptr) : nullptr;
      text = edit ? WindowText(edit) : "";
      return !text.empty();
    })) << "no Notepad with text";
    EXPECT_EQ(text.substr(0, text.find('\r')), "INTRODUCCI\323 DE SUCCESSIONS");
    if (notepad) EndNotepad(notepad);
    CloseNormally(v);
  }
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(history, kept)) << "no history in " << history;
  EXPECT_EQ(kept, "1/n\r\n");

  {
    Vantel v(Vantel::Shortcut{link});
    ASSERT_TRUE(v.Open());
    ExpectNoBox(v.startup_boxes);
    EXPECT_EQ(v.History(), std::vector<std::string>{"1/n"});
    ExpectNoBox(v.Calculate("2^n", "4"));
    ExpectResults(v, "16", "30", "1024");
    CloseNormally(v);
  }
  ASSERT_TRUE(ReadWholeFile(history, kept));
  EXPECT_NE(kept.find("2^n\r\n"), std::string::npos) << kept;
  EXPECT_NE(kept.find("1/n\r\n"), std::string::npos) << kept;
}

// A school ships a starting history beside the package, which copies it into the
// program folder; a pupil who has never run Vantel finds it in the list, and it
// becomes the pupil's own file in the user's folder.
TEST(Installed, ANewUserStartsWithTheHistoryShippedWithThePackage) {
  const std::string link = Environment("VANTEL_SHORTCUT");
  const std::string installed = Environment("VANTEL_INSTALLED");
  const std::string appdata = Environment("APPDATA");
  if (link.empty() || installed.empty()) GTEST_SKIP() << "no installed Vantel named";
  ASSERT_FALSE(appdata.empty());
  std::string shipped;
  ASSERT_TRUE(ReadWholeFile(installed + "\\ults.rel", shipped)) << "no starting history in " << installed;
  std::vector<std::string> formulas;
  for (size_t at = 0, end; (end = shipped.find("\r\n", at)) != std::string::npos; at = end + 2)
    formulas.push_back(shipped.substr(at, end - at));
  ASSERT_FALSE(formulas.empty());
  const std::string history = appdata + "\\Vantel\\ults.rel";
  DeleteFileA(history.c_str());

  Vantel v(Vantel::Shortcut{link});
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.startup_boxes);
  EXPECT_EQ(v.History(), formulas);
  CloseNormally(v);
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(history, kept)) << "no history in " << history;
  EXPECT_EQ(kept, shipped);
}

}  // namespace
}  // namespace e2e
