// Every way of closing the dialog saves the history and ends the program.
#include <functional>
#include <string>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

struct CloseCase {
  const char* name;
  std::function<void(Vantel&)> close;
};

TEST(Closing, EveryWaySavesTheHistory) {
  const std::vector<CloseCase> cases = {
      {"button &Prou!", [](Vantel& v) { ExpectNoBox(v.Click(IDC_ENOUGH)); }},
      {"menu Sortir", [](Vantel& v) { ExpectNoBox(v.Menu(IDM_QUIT)); }},
      {"Esc key", [](Vantel& v) { v.PostKey(IDC_N, VK_ESCAPE); }},
      {"close box", [](Vantel& v) { PostMessageW(v.dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4",
       [](Vantel& v) {
         constexpr LPARAM kAltDown = 1 << 29;
         PostMessageW(v.Item(IDC_N), WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
       }},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    Vantel v(folder.path(), "1/n 2");
    ASSERT_TRUE(v.Open());
    ExpectNoBox(v.Calculate("n^2", "3"));
    c.close(v);
    DWORD code = 1;
    ASSERT_TRUE(v.WaitExit(&code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
    std::string after;
    EXPECT_TRUE(ReadWholeFile(folder.File("ults.rel"), after));
    EXPECT_EQ(after, "1/n\r\nn^2\r\n");
  }
}

// A log-off ends the session with the program open: Windows asks whether the
// session may end, tells the program it ends, and then ends the process. The
// formulas of the run are kept, without any message, also when the save fails.
TEST(Closing, LogOffKeepsTheRunsFormulas) {
  struct LogOffCase {
    const char* name;
    bool read_only;  // a read-only ults.rel cannot be saved
    std::string after;
  };
  const LogOffCase cases[] = {{"saved", false, "1/n\r\nn^2\r\n"}, {"read-only file", true, "1/n\r\n"}};
  for (const LogOffCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string file = folder.File("ults.rel");
    if (c.read_only) {
      ASSERT_TRUE(WriteWholeFile(file, "1/n\r\n"));
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    Vantel v(folder.path(), "1/n 2");
    ASSERT_TRUE(v.Open());
    ExpectNoBox(v.Calculate("n^2", "3"));
    DWORD_PTR may_end = 0;
    ASSERT_TRUE(SendMessageTimeoutW(v.dialog(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kActionWaitMs,
                                    &may_end));
    EXPECT_EQ(may_end, static_cast<DWORD_PTR>(TRUE));
    ExpectNoBox(v.Settle(v.SendLater(v.dialog(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF)));
    std::string after;
    EXPECT_TRUE(ReadWholeFile(file, after));
    EXPECT_EQ(after, c.after);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }  // the process is ended here, as Windows ends it after the log-off
}

// A session end that was called off changes nothing.
TEST(Closing, CancelledLogOffSavesNothing) {
  TempFolder folder;
  Vantel v(folder.path(), "1/n 2");
  ASSERT_TRUE(v.Open());
  ExpectNoBox(v.Settle(v.SendLater(v.dialog(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF)));
  EXPECT_EQ(GetFileAttributesA(folder.File("ults.rel").c_str()), INVALID_FILE_ATTRIBUTES);
  CloseNormally(v);
}

}  // namespace
}  // namespace e2e
