// The history file "ults.rel": what a start loads from it and what a close writes.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/small_disk.h"
#include "tests/vantel_e2e/texts.h"

namespace e2e {
namespace {

const char kHistory[] = "ults.rel";

struct FileCase {
  const char* name;
  bool exists;
  std::string before;                // the file at start
  std::vector<std::string> entries;  // the list the dialog loads
  std::vector<std::string> typed;    // formulas computed before closing
  std::string after;                 // the file after the close
};

TEST(History, FileRoundTrip) {
  const std::string long_line(300, '7');
  const std::vector<FileCase> cases = {
      {"no file", false, "", {}, {"n^2"}, "n^2\r\n"},
      {"empty file", true, "", {}, {}, ""},
      {"empty line kept", true, "n^2\r\n\r\n1/n\r\n", {"n^2", "", "1/n"}, {}, "n^2\r\n\r\n1/n\r\n"},
      {"LF line ends", true, "n\n1/n\n", {"n", "1/n"}, {}, "n\r\n1/n\r\n"},
      {"CR line ends, last line open", true, "n\r1/n", {"n", "1/n"}, {}, "n\r\n1/n\r\n"},
      {"duplicates kept", true, "n\r\nn\r\n", {"n", "n"}, {}, "n\r\nn\r\n"},
      {"long line cut",
       true,
       long_line + "\r\nn\r\n",
       {long_line.substr(0, 255), "n"},
       {},
       long_line.substr(0, 255) + "\r\nn\r\n"},
      {"Ctrl-Z ends the file", true, "n\r\n\032\r\n", {"n"}, {}, "n\r\n"},
      {"bytes kept as they are", true, " a B\t\351\r\n", {" a B\t\351"}, {}, " a B\t\351\r\n"},
      {"upper case match adds nothing", true, "n^2\r\n", {"n^2"}, {"N^2", "n", "1/n"}, "n^2\r\nn\r\n1/n\r\n"},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    if (c.exists) {
      ASSERT_TRUE(WriteWholeFile(folder.File(kHistory), c.before));
    }
    Vantel v(folder.path());
    ASSERT_TRUE(v.Open());
    EXPECT_EQ(v.History(), c.entries);
    for (const std::string& formula : c.typed) ExpectNoBox(v.Calculate(formula, "1"));
    CloseNormally(v);
    std::string after;
    EXPECT_TRUE(ReadWholeFile(folder.File(kHistory), after));
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kHistory}) << "nothing else is left in the folder";
  }
}

TEST(History, UnreadableFileIsNotOverwritten) {
  TempFolder folder;
  const std::string path = folder.File(kHistory);
  ASSERT_TRUE(WriteWholeFile(path, "n^2\r\n"));
  // Held open without sharing, the file cannot be read while the program starts.
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Vantel v(folder.path());
  const bool opened = v.Open();
  CloseHandle(lock);
  ASSERT_TRUE(opened);
  ExpectOneBox(v.startup_boxes, kHistoryCaption, kHistoryUnreadable);
  if (!v.startup_boxes.empty()) {
    EXPECT_FALSE(v.startup_boxes[0].dialog_visible) << "told at start";
  }
  EXPECT_TRUE(v.History().empty());
  ExpectNoBox(v.Calculate("1/n", "2"));
  CloseNormally(v);
  std::string after;
  EXPECT_TRUE(ReadWholeFile(path, after));
  EXPECT_EQ(after, "n^2\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{kHistory});
}

// A file read only in part, or not read at all, is reported at start and kept
// byte for byte: the formulas of the run are not saved into it.
TEST(History, PartlyReadFileIsKeptAndReported) {
  struct PartCase {
    const char* name;
    std::string bytes;
    DWORD attributes;
    std::vector<std::string> entries;  // what the list shows
  };
  const std::vector<PartCase> cases = {
      {"UTF-16, as Notepad saves it",
       std::string("\xFF\xFE"
                   "1\0/\0n\0\r\0\n\0",
                   12),
       FILE_ATTRIBUTE_NORMAL,
       {}},
      {"a NUL in a line", std::string("n^2\r\n1/\0n\r\n", 11), FILE_ATTRIBUTE_NORMAL, {"n^2"}},
      {"text after a Ctrl-Z", "n\r\n\032junk\r\n", FILE_ATTRIBUTE_NORMAL, {"n"}},
      {"a system file, not read", "n\r\n", FILE_ATTRIBUTE_SYSTEM, {}},
  };
  for (const PartCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string path = folder.File(kHistory);
    ASSERT_TRUE(WriteWholeFile(path, c.bytes));
    SetFileAttributesA(path.c_str(), c.attributes);
    Vantel v(folder.path());
    ASSERT_TRUE(v.Open());
    ExpectOneBox(v.startup_boxes, kHistoryCaption, kHistoryUnreadable);
    EXPECT_EQ(v.History(), c.entries);
    ExpectNoBox(v.Calculate("2^n", "2"));
    CloseNormally(v);
    std::string after;
    EXPECT_TRUE(ReadWholeFile(path, after));
    EXPECT_TRUE(after == c.bytes) << "the file changed";
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_SYSTEM, c.attributes & FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kHistory});
  }
}

TEST(History, ReadOnlyFileLosesNothing) {
  TempFolder folder;
  const std::string path = folder.File(kHistory);
  ASSERT_TRUE(WriteWholeFile(path, "n\r\n"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  Vantel v(folder.path());
  ASSERT_TRUE(v.Open());
  EXPECT_EQ(v.History(), std::vector<std::string>{"n"});
  ExpectNoBox(v.Calculate("1/n", "2"));
  // Left as it is, where Wine's rename would replace it and drop the flag.
  ExpectOneBox(v.Click(IDC_ENOUGH), kHistoryCaption,
               kHistoryNotSaved + "ults.rel \351s de nom\351s lectura i no s'ha modificat.");
  ASSERT_TRUE(v.WaitExit());
  std::string after;
  EXPECT_TRUE(ReadWholeFile(path, after));
  EXPECT_EQ(after, "n\r\n");
  EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{kHistory});
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// On a full disk the old file stays byte for byte, whether the new history would
// fit in one buffer or not, and the user is told before the dialog goes.
TEST(History, FullDiskKeepsTheFileAndSaysSo) {
  const std::filesystem::path disk = small_disk::Folder();
  if (disk.empty()) GTEST_SKIP() << "no small filesystem to fill (mounting one needs root)";
  const std::string path = (disk / kHistory).string();
  std::string long_history;
  for (int i = 0; i < 700; ++i) long_history += "n^" + std::to_string(i) + "+1/(n+" + std::to_string(i) + ")\r\n";
  for (const std::string& before : {std::string("n\r\n"), long_history}) {
    SCOPED_TRACE(before.size());
    ASSERT_TRUE(WriteWholeFile(path, before));
    ASSERT_TRUE(small_disk::Fill(disk / "filler"));
    {
      Vantel v(disk.string());
      ASSERT_TRUE(v.Open());
      ExpectNoBox(v.Calculate("1/n", "2"));
      const std::vector<SeenBox> boxes = v.Click(IDC_ENOUGH);
      ExpectOneBox(boxes, kHistoryCaption, kHistoryNotSaved + "el disc \351s ple; ults.rel no s'ha modificat.");
      if (!boxes.empty()) {
        EXPECT_TRUE(boxes[0].dialog_visible) << "told after the dialog went";
      }
      ASSERT_TRUE(v.WaitExit());
    }
    std::string after;
    EXPECT_TRUE(ReadWholeFile(path, after));
    EXPECT_TRUE(after == before) << "the file now has " << after.size() << " bytes of " << before.size();
    std::filesystem::remove(disk / "filler");
    for (const auto& entry : std::filesystem::directory_iterator(disk))
      EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();
  }
  std::filesystem::remove(path);
}

// The list holds at most 65535 entries: a full list takes no more, and a file with
// more lines than that is left as it was.
TEST(History, FullListStopsGrowing) {
  constexpr int kMost = 65535;
  std::string full;
  for (int i = 1; i <= kMost; ++i) full += std::to_string(i) + "\r\n";
  struct FullCase {
    const char* name;
    std::string before, after;
    std::string told_at_start;  // the message at start; empty: none
    std::string told_at_close;
  };
  const std::string none;
  const std::vector<FullCase> cases = {
      {"exactly full", full, full, none, kHistoryFull},
      {"one line too many", full + "n\r\n", full + "n\r\n", kHistoryUnreadable, none},
  };
  for (const FullCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File(kHistory), c.before));
    Vantel v(folder.path());
    ASSERT_TRUE(v.Open());
    if (c.told_at_start.empty())
      ExpectNoBox(v.startup_boxes);
    else
      ExpectOneBox(v.startup_boxes, kHistoryCaption, c.told_at_start);
    ExpectNoBox(v.Calculate("1/n", "2"));
    EXPECT_EQ(v.Text(IDC_AN_BOX), "0.5");
    EXPECT_LE(SendMessageW(v.Item(IDC_FORMULA), CB_GETCOUNT, 0, 0), kMost);
    if (c.told_at_close.empty())
      ExpectNoBox(v.Click(IDC_ENOUGH));
    else
      ExpectOneBox(v.Click(IDC_ENOUGH), kHistoryCaption, c.told_at_close);
    ASSERT_TRUE(v.WaitExit());
    std::string after;
    EXPECT_TRUE(ReadWholeFile(folder.File(kHistory), after));
    EXPECT_TRUE(after == c.after) << "the file changed; it now has " << after.size() << " bytes";
  }
}

// Two copies in one folder: each keeps what the other saved meanwhile.
TEST(History, TwoCopiesKeepEachOthersFormulas) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder.File(kHistory), "1/n\r\n"));
  Vantel first(folder.path());
  ASSERT_TRUE(first.Open());
  Vantel second(folder.path());
  ASSERT_TRUE(second.Open());
  ExpectNoBox(first.Calculate("2^n", "1"));
  ExpectNoBox(second.Calculate("n^2", "1"));
  ExpectNoBox(second.Calculate("2^N", "1"));  // matches the first copy's formula
  CloseNormally(second);
  CloseNormally(first);
  std::string after;
  EXPECT_TRUE(ReadWholeFile(folder.File(kHistory), after));
  EXPECT_EQ(after, "1/n\r\nn^2\r\n2^N\r\n");
}

}  // namespace
}  // namespace e2e
