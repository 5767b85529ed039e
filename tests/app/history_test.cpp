#include "app/history.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class HistoryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) / "history_test";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    name_ = (folder_ / kHistoryFileName).string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, ignored);
    fs::remove_all(folder_, ignored);
  }

  void Write(const std::string& bytes) { std::ofstream(name_, std::ios::binary) << bytes; }
  std::string Read() {
    std::ifstream in(name_, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::vector<ShortString> Load(bool* ok, std::size_t already_held = 0) {
    std::vector<ShortString> entries;
    TextFile file;
    OpenForReading(&file, name_.c_str());
    *ok = ReadHistoryLines(&file, already_held, [&](const ShortString& line) { entries.push_back(line); });
    Close(&file);
    return entries;
  }

  fs::path folder_;
  std::string name_;
};

struct RoundTripCase {
  const char* name;
  std::string stored;
  std::vector<std::string> entries;
  std::string written;
};

TEST_F(HistoryFile, RoundTrip) {
  const RoundTripCase cases[] = {
      {"CR LF kept byte for byte", "n^2\r\n\r\n1/n\r\n", {"n^2", "", "1/n"}, "n^2\r\n\r\n1/n\r\n"},
      {"LF becomes CR LF", "n^2\n\n1/n\n", {"n^2", "", "1/n"}, "n^2\r\n\r\n1/n\r\n"},
      {"duplicates both kept", "1/n\r\n1/n\r\n", {"1/n", "1/n"}, "1/n\r\n1/n\r\n"},
      {"last line without end", "n^2", {"n^2"}, "n^2\r\n"},
      {"empty file", "", {}, ""},
      {"300 characters become 255",
       std::string(300, 'n') + "\r\n",
       {std::string(255, 'n')},
       std::string(255, 'n') + "\r\n"},
  };
  for (const RoundTripCase& c : cases) {
    Write(c.stored);
    bool ok = false;
    std::vector<ShortString> entries = Load(&ok);
    EXPECT_TRUE(ok) << c.name;
    std::vector<std::string> texts;
    for (const ShortString& e : entries) texts.push_back(e.str());
    EXPECT_EQ(texts, c.entries) << c.name;
    EXPECT_EQ(WriteHistoryFile(name_.c_str(), entries), SaveFault::kNone) << c.name;
    EXPECT_EQ(Read(), c.written) << c.name;
  }
}

TEST_F(HistoryFile, NewFileHoldsExactlyTheFormulaAndCrLf) {
  EXPECT_EQ(WriteHistoryFile(name_.c_str(), {"n^2"}), SaveFault::kNone);
  EXPECT_EQ(Read(), "n^2\r\n");
  EXPECT_FALSE(fs::exists(name_ + ".tmp"));
}

TEST_F(HistoryFile, UnopenedFileIsReportedUnreadable) {
  bool ok = true;
  EXPECT_TRUE(Load(&ok).empty());  // there is no file at all
  EXPECT_FALSE(ok);
}

TEST_F(HistoryFile, ReadingStopsAtTheEntryLimit) {
  Write("a\r\nb\r\nc\r\n");
  bool ok = false;
  EXPECT_EQ(Load(&ok, kMaxHistoryEntries - 3).size(), 3u);
  EXPECT_TRUE(ok);
  // Lines past the limit stay in the file, which must then not be rewritten.
  EXPECT_EQ(Load(&ok, kMaxHistoryEntries - 2).size(), 2u);
  EXPECT_FALSE(ok);
}

// A file whose reading stops before its end with text left, or whose lines the
// list would cut, is reported: it must not be replaced by the part that was read.
TEST_F(HistoryFile, PartlyReadFilesAreNotWhole) {
  struct PartCase {
    const char* name;
    std::string stored;
    bool whole;
  };
  const PartCase cases[] = {
      {"UTF-16 with its byte-order mark",
       std::string("\xFF\xFE"
                   "1\0/\0n\0\r\0\n\0",
                   12),
       false},
      {"UTF-16 big-endian, no NUL in the first line", "\xFE\xFF\x04\x34", false},
      {"a NUL inside a line", std::string("n^2\r\n1/\0n\r\n", 11), false},
      {"text after a Ctrl-Z", "n\r\n\x1Ajunk\r\n", false},
      {"Ctrl-Z then only blanks and line ends", "n\r\n\x1A \r\n\x1A", true},
      {"UTF-8 is read byte for byte", "\xEF\xBB\xBFn^2\r\n\xD0\x90\r\n", true},
      {"a long line is read as its first 255", std::string(300, 'n') + "\r\nx\r\n", true},
  };
  for (const PartCase& c : cases) {
    Write(c.stored);
    bool whole = !c.whole;
    Load(&whole);
    EXPECT_EQ(whole, c.whole) << c.name;
  }
}

// Two copies in one folder: the file as the other copy left it, then this copy's
// new formulas that match none of its entries.
TEST(HistoryMerging, KeepsWhatAnotherCopySaved) {
  struct MergeCase {
    const char* name;
    std::vector<ShortString> on_disk, added, saved;
  };
  const MergeCase cases[] = {
      {"both copies' formulas kept", {"1/n", "n^2"}, {"2^n"}, {"1/n", "n^2", "2^n"}},
      {"the same formula once, as the file has it", {"1/n", "N^2"}, {"n^2", "2^n"}, {"1/n", "N^2", "2^n"}},
      {"the file's duplicates stay", {"n", "n"}, {"1/n"}, {"n", "n", "1/n"}},
      {"nothing new: the file as it is", {"1/n", "n^2"}, {}, {"1/n", "n^2"}},
      {"an emptied file keeps this run's formulas", {}, {"2^n"}, {"2^n"}},
  };
  for (const MergeCase& c : cases) {
    bool full = false;
    std::vector<ShortString> saved = MergeHistory(c.on_disk, c.added, &full);
    EXPECT_EQ(saved, c.saved) << c.name;
    EXPECT_FALSE(full) << c.name;
  }
  std::vector<ShortString> nearly_full(kMaxHistoryEntries - 1, ShortString("n"));
  bool full = false;
  EXPECT_EQ(MergeHistory(nearly_full, {"a", "b"}, &full).size(), kMaxHistoryEntries);
  EXPECT_TRUE(full);
}

TEST_F(HistoryFile, FailedWriteKeepsTheOldFile) {
  Write("n^2\r\n");
  // A folder in the lock file's place makes the save fail.
  fs::create_directories(name_ + ".lock");
  EXPECT_EQ(WriteHistoryFile(name_.c_str(), {"1/n"}), SaveFault::kNotWritten);
  EXPECT_EQ(Read(), "n^2\r\n");
}

struct MatchCase {
  const char* entry;
  const char* formula;
  bool matches;
};

TEST(HistoryMatching, OnlyEqualIgnoringCase) {
  const MatchCase cases[] = {
      {"n^2", "n^2", true},     {"n^2", "N^2", true},   {"n^2", "n", false},  // a prefix is a different formula
      {"n", "n^2", false},      {"n^2", "n^2 ", false}, {"", "", true},
      {"\xC0n", "\xE0n", true},  // Windows-1252 capital and small a-grave
      {"[n]", "{n}", false},     // brackets are not letters
  };
  for (const MatchCase& c : cases) EXPECT_EQ(HistoryEntryMatches(c.entry, c.formula), c.matches) << c.entry;
}

}  // namespace
