// Copies of Vantel in one folder (a class share) that all end at the same moment,
// closed by their pupils or by the log-off at the end of the lesson: every
// formula of every copy is in "ults.rel" afterwards, every time.
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

enum class Ending { kClose, kLogOff };

struct TogetherCase {
  const char* name;
  int copies;
  int history_lines;  // in the file before the copies start
  Ending ending;
  int rounds = 20;  // each in a fresh folder
};

// The history file's lines, without their line ends.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

// Ends every copy at once: one thread per copy, released together, posts the
// close or sends the log-off messages (as Windows sends them, one after the other).
void EndTogether(const std::vector<std::unique_ptr<Vantel>>& copies, Ending ending) {
  std::atomic<int> ready = 0;
  std::atomic<bool> go = false;
  std::vector<std::thread> threads;
  for (const auto& copy : copies) {
    HWND dialog = copy->dialog();
    threads.emplace_back([&, dialog] {
      ++ready;
      while (!go) std::this_thread::yield();
      if (ending == Ending::kClose) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ENOUGH, BN_CLICKED), 0);
        return;
      }
      DWORD_PTR result = 0;
      SendMessageTimeoutW(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kActionWaitMs, &result);
      SendMessageTimeoutW(dialog, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 4 * kActionWaitMs, &result);
    });
  }
  while (ready < static_cast<int>(copies.size())) std::this_thread::yield();
  go = true;
  for (std::thread& thread : threads) thread.join();
}

// Runs each case its number of rounds.
void RunRounds(const std::vector<TogetherCase>& cases) {
  for (const TogetherCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string before;
    for (int i = 1; i <= c.history_lines; ++i) before += "n+" + std::to_string(i) + "\r\n";
    for (int round = 0; round < c.rounds; ++round) {
      SCOPED_TRACE("round " + std::to_string(round + 1));
      TempFolder folder;
      ASSERT_TRUE(WriteWholeFile(folder.File("ults.rel"), before));
      std::vector<std::unique_ptr<Vantel>> copies;
      for (int i = 0; i < c.copies; ++i) copies.push_back(std::make_unique<Vantel>(folder.path()));
      std::vector<std::string> formulas;
      for (int i = 0; i < c.copies; ++i) {
        ASSERT_TRUE(copies[i]->Open());
        formulas.push_back("2*n+" + std::to_string(i + 1));
        ExpectNoBox(copies[i]->Calculate(formulas.back(), "1"));
      }
      EndTogether(copies, c.ending);
      if (c.ending == Ending::kClose) {
        for (const auto& copy : copies) {
          if (copy->WaitExit()) continue;
          const HWND box = copy->FindMessageBox();
          const HWND text = box ? GetDlgItem(box, 0xFFFF) : nullptr;
          ADD_FAILURE() << "a copy did not end" << (text ? ": it says \"" + WindowText(text) + "\"" : "");
        }
      }
      std::string after;
      ASSERT_TRUE(ReadWholeFile(folder.File("ults.rel"), after));
      std::vector<std::string> lines = Lines(after);
      ASSERT_GE(lines.size(), static_cast<std::size_t>(c.history_lines));
      EXPECT_TRUE(std::equal(lines.begin(), lines.begin() + c.history_lines, Lines(before).begin()))
          << "the history the copies started with changed";
      std::vector<std::string> added(lines.begin() + c.history_lines, lines.end());
      std::sort(added.begin(), added.end());
      EXPECT_EQ(added, formulas) << "formulas lost or doubled";
    }  // copies still running after a log-off are ended here, as Windows ends them
  }
}

// The pupils close their copies at the same moment; none of them is told anything.
TEST(TogetherClosed, EveryFormulaOfEveryCopyIsKept) {
  RunRounds({
      {"two copies", 2, 2, Ending::kClose},
      {"two copies, 60,000-line history", 2, 60000, Ending::kClose, 5},  // each round takes long
      {"five copies", 5, 2, Ending::kClose},
  });
}

// The log-off at the end of the lesson reaches every copy at once.
TEST(TogetherLoggedOff, EveryFormulaOfEveryCopyIsKept) {
  RunRounds({
      {"two copies", 2, 2, Ending::kLogOff},
      {"five copies", 5, 2, Ending::kLogOff},
  });
}

}  // namespace
}  // namespace e2e
