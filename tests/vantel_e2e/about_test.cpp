// The about window opened from the menu, and the help texts opened in Notepad.
#include <set>
#include <string>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

const std::set<std::string> kExclamations = {"buenu", "Ah!", "Oh!", "vaja!", "hum!", "mmm..", "i v\351s!"};
const char kAboutTitle[] = "Quant a Vantel...";

// Opens the about window: the menu command returns only when the window has closed,
// so it is sent from a helper thread and `done` tells when it came back.
HWND OpenAbout(Vantel& v, std::shared_ptr<std::atomic<bool>>& done) {
  done = v.SendLater(v.dialog(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
  HWND about = nullptr;
  WaitFor([&] { return (about = v.FindAboutWindow()) != nullptr || *done; });
  return about;
}

bool Closed(HWND about, const std::shared_ptr<std::atomic<bool>>& done) {
  return WaitFor([&] { return !IsWindow(about) && *done; });
}

TEST(About, OpensWithTitleAndExclamationAndClosesWithItsButton) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  std::shared_ptr<std::atomic<bool>> done;
  HWND about = OpenAbout(v, done);
  ASSERT_NE(about, nullptr) << "no window of class FerSobre";
  EXPECT_EQ(WindowText(about), kAboutTitle);
  EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr) << "the about window has no owner";
  HWND button = GetDlgItem(about, IDC_ABOUT_BUTTON);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(kExclamations.count(WindowText(button)), 1u) << "button caption \"" << WindowText(button) << "\"";
  EXPECT_FALSE(*done) << "the menu command waits for the window to close";
  EXPECT_TRUE(IsWindowEnabled(v.dialog()));

  // Meanwhile the main dialog takes typing and clicks...
  ExpectNoBox(v.Calculate("n", "4"));
  ExpectResults(v, "4", "10", "24");
  // ...but keys have no dialog meaning in it: Esc does not close the program.
  v.PostKey(IDC_N, VK_ESCAPE);
  Sleep(500);
  EXPECT_TRUE(v.Running());
  EXPECT_TRUE(IsWindowVisible(v.dialog()));

  // Commands other than 1 and 2 leave the window open.
  SendMessageTimeoutW(about, WM_COMMAND, 5, 0, SMTO_NORMAL, kActionWaitMs, nullptr);
  EXPECT_TRUE(IsWindow(about));
  SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, kActionWaitMs, nullptr);
  EXPECT_TRUE(Closed(about, done)) << "the button closes the window and the menu command returns";

  // With the window gone the dialog keys work again.
  v.PostKey(IDC_N, VK_ESCAPE);
  DWORD code = 1;
  EXPECT_TRUE(v.WaitExit(&code)) << "Esc closes the program";
  EXPECT_EQ(code, 0u);
}

TEST(About, EveryWayOfClosingEndsTheMenuCommand) {
  struct Way {
    const char* name;
    UINT message;
    WPARAM wparam;
  };
  const std::vector<Way> ways = {
      {"command 1", WM_COMMAND, 1},
      {"command 2", WM_COMMAND, 2},
      {"close box", WM_SYSCOMMAND, SC_CLOSE},
      {"WM_CLOSE", WM_CLOSE, 0},
  };
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  std::set<std::string> drawn;
  for (int round = 0; round < 3; ++round) {
    for (const Way& way : ways) {
      SCOPED_TRACE(way.name);
      std::shared_ptr<std::atomic<bool>> done;
      HWND about = OpenAbout(v, done);
      ASSERT_NE(about, nullptr);
      EXPECT_EQ(WindowText(about), kAboutTitle);
      drawn.insert(WindowText(GetDlgItem(about, IDC_ABOUT_BUTTON)));
      PostMessageW(about, way.message, way.wparam, 0);
      EXPECT_TRUE(Closed(about, done));
    }
  }
  for (const std::string& e : drawn) EXPECT_EQ(kExclamations.count(e), 1u) << e;
  EXPECT_GE(drawn.size(), 2u) << "each opening draws its exclamation anew";
  EXPECT_TRUE(v.Running());
  CloseNormally(v);
}

TEST(About, SecondRequestWhileOpenKeepsOneWindow) {
  TempFolder folder;
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  std::shared_ptr<std::atomic<bool>> first;
  HWND about = OpenAbout(v, first);
  ASSERT_NE(about, nullptr);
  auto second = v.SendLater(v.dialog(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
  EXPECT_TRUE(WaitFor([&] { return static_cast<bool>(*second); })) << "the second request returns at once";
  int count = 0;
  v.FindAboutWindow(&count);
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(*first);
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed(about, first));
  CloseNormally(v);
}

TEST(About, TitleFollowsTheProgramFileName) {
  TempFolder folder;
  const std::string renamed = folder.File("Serie.exe");
  ASSERT_TRUE(CopyFileA(g_vantel_exe.c_str(), renamed.c_str(), FALSE));
  Vantel v(folder.path(), "", renamed);
  ASSERT_TRUE(v.Open());
  std::shared_ptr<std::atomic<bool>> done;
  HWND about = OpenAbout(v, done);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(about), "Quant a Serie...");
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed(about, done));
  CloseNormally(v);
}

TEST(About, HelpMenuOpensTheHelpTextsInNotepad) {
  if (g_help_dir.empty()) GTEST_SKIP() << "no help folder given";
  struct HelpCase {
    int command;
    const char* file;
    const char* first_line;
  };
  const std::vector<HelpCase> cases = {
      {IDM_SEQUENCES_HELP, "successions.txt", "INTRODUCCI\323 DE SUCCESSIONS"},
      {IDM_GENERAL_HELP, "infogeneral.txt", "VANTEL - C\340lcul del terme en\350ssim de successions i s\350ries"},
  };
  TempFolder folder;
  for (const HelpCase& c : cases) {
    ASSERT_TRUE(CopyFileA((g_help_dir + "\\" + c.file).c_str(), folder.File(c.file).c_str(), FALSE)) << c.file;
  }
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  for (const HelpCase& c : cases) {
    SCOPED_TRACE(c.file);
    ExpectNoBox(v.Menu(c.command));
    HWND notepad = nullptr;
    HWND edit = nullptr;
    std::string text;
    const bool shown = WaitFor([&] {
      notepad = FindNotepad(v.process_id());
      edit = notepad ? FindWindowExW(notepad, nullptr, L"Edit", nullptr) : nullptr;
      text = edit ? WindowText(edit) : "";
      return !text.empty();
    });
    EXPECT_TRUE(shown) << "no Notepad with text";
    EXPECT_EQ(text.substr(0, text.find('\r')), c.first_line);
    if (notepad) EndNotepad(notepad);
  }
  CloseNormally(v);
}

}  // namespace
}  // namespace e2e
