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

}  // namespace
}  // namespace e2e
