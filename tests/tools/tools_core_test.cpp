// The list file "Tools.rel", its items, and the language choice of Tools.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/small_disk.h"
#include "tools/items.h"
#include "tools/language.h"
#include "tools/tool_list.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Items(std::string_view text) {
  ItemReader reader{text};
  std::vector<std::string> items;
  while (HasData(reader)) items.push_back(ReadItem(reader));
  return items;
}

ToolList ListOf(std::vector<ToolEntry> tools) {
  ToolList list;
  for (auto& t : tools) list.ToolTable[++list.ToolCount] = t;
  return list;
}

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

// A fresh folder for the files of one test.
class ToolsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tools_core_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

}  // namespace

TEST(ItemRule, ReadsItemsOfLines) {
  struct Row {
    const char* text;
    std::vector<std::string> items;
  } rows[] = {
      {"Notepad\r\n", {"Notepad"}},
      {"  lead\r\n", {"lead"}},
      {"trail  \r\n", {"trail  "}},
      {"a,b\r\n", {"a", "b"}},
      {"a, b ,c\r\n", {"a", "b ", "c"}},
      {"\"x, y\"\r\n", {"x, y"}},
      {"  \"quoted\" tail,next\r\n", {"quoted", "next"}},
      {"\"he said \"\"hi\"\"\"\r\n", {"he said \"hi\""}},
      {"\"two\r\nlines\"\r\nz\r\n", {"two\r\nlines", "z"}},
      {"\r\n\r\n", {"", ""}},
      {"a,\r\n", {"a", ""}},
      {"no end", {"no end"}},
      {"lf\nonly\n", {"lf", "only"}},
      {"\"open", {"open"}},
      {"   \r\nx\r\n", {"", "x"}},
      {"\tTab\r\n", {"\tTab"}},
  };
  for (const auto& row : rows) EXPECT_EQ(Items(row.text), row.items) << row.text;
}

TEST(ItemRule, WrittenFieldsReadBackUnchanged) {
  const char* fields[] = {"plain",      "C:\\Program Files\\x.exe",
                          "a,b",        " lead",
                          "\"quoted\"", "say \"hi\", go",
                          "trail  ",    "\"",
                          "\"\"",       ",",
                          "x\r\ny",     "-a -b \"c d\"",
                          "",           "\251 caf\351"};
  for (const char* field : fields) {
    std::string text = ItemText(field) + "\r\n";
    ItemReader reader{text};
    EXPECT_EQ(ReadItem(reader), field) << text;
    EXPECT_FALSE(HasData(reader)) << text;
  }
}

TEST(ItemRule, FieldsTheRuleKeepsAreWrittenUnchanged) {
  for (const char* field : {"Notepad", "C:\\Windows\\notepad.exe", "-a \"b\"", "trail ", "", "x\"y"})
    EXPECT_EQ(ItemText(field), field);
}

TEST(ToolsFile, ParsesTools) {
  ToolList list;
  EXPECT_EQ(ParseTools("Notepad\r\nnotepad.exe\r\nC:\\Windows\r\n\r\nCalc\r\ncalc.exe\r\n\r\n-x\r\n\r\n", list).dropped,
            0);
  ASSERT_EQ(list.ToolCount, 2);
  EXPECT_EQ(list.ToolTable[1].Title, "Notepad");
  EXPECT_EQ(list.ToolTable[1].File, "notepad.exe");
  EXPECT_EQ(list.ToolTable[1].WorkDirectory, "C:\\Windows");
  EXPECT_EQ(list.ToolTable[1].Parameters, "");
  EXPECT_EQ(list.ToolTable[2].Title, "Calc");
  EXPECT_EQ(list.ToolTable[2].WorkDirectory, "");
  EXPECT_EQ(list.ToolTable[2].Parameters, "-x");
}

TEST(ToolsFile, ReadingStopsAtTheFirstEmptyTitle) {
  ToolList list;
  ParseTools("A\r\na\r\n\r\n\r\n\r\nB\r\nb\r\n\r\n\r\n", list);
  ASSERT_EQ(list.ToolCount, 1);
  EXPECT_EQ(list.ToolTable[1].Title, "A");
}

TEST(ToolsFile, AToolCutShortKeepsTheFieldsOfTheToolBefore) {
  ToolList list;
  ParseTools("A\r\na.exe\r\nC:\\A\r\n-a\r\nB\r\nb.exe", list);
  ASSERT_EQ(list.ToolCount, 2);
  EXPECT_EQ(list.ToolTable[2].Title, "B");
  EXPECT_EQ(list.ToolTable[2].File, "b.exe");
  EXPECT_EQ(list.ToolTable[2].WorkDirectory, "C:\\A");
  EXPECT_EQ(list.ToolTable[2].Parameters, "-a");
}

TEST(ToolsFile, OldFilesWithCommasSplitAsBefore) {
  ToolList list;
  ParseTools("Edit, view\r\nx.exe\r\n\r\n\r\n\r\n", list);
  ASSERT_EQ(list.ToolCount, 1);
  EXPECT_EQ(list.ToolTable[1].Title, "Edit");
  EXPECT_EQ(list.ToolTable[1].File, "view");
  EXPECT_EQ(list.ToolTable[1].WorkDirectory, "x.exe");
}

// A file read only up to a place before its end is noticed, so that it is not
// replaced by the part that was read; blanks, line ends and Ctrl-Z after the list
// are no loss.
TEST(ToolsFile, ReadingThatStopsBeforeTheEndIsNoticed) {
  using namespace std::string_view_literals;
  struct Row {
    std::string_view text;
    int count;
    bool readInPart;
  } rows[] = {
      {""sv, 0, false},
      {"\r\n"sv, 0, false},
      {"A\r\na\r\n\r\n\r\n\r\n"sv, 1, false},
      {"A\r\na\r\n\r\n\r\n"sv, 1, false},
      {"A\r\na\r\n\r\n\r\n\r\n  \r\n\n\r"sv, 1, false},
      {"A\r\na\r\n\r\n\r\n\r\n\x1A\x1A"sv, 1, false},
      {"A\r\na\r\n\r\n\r\n\r\nB\r\nb\r\n\r\n\r\n\r\n"sv, 1, true},  // tools after the end mark
      {"\r\nA\r\na\r\n\r\n\r\n\r\n"sv, 0, true},                    // a blank first line
      {"  \r\nA\r\n"sv, 0, true},
      {",A\r\n"sv, 0, true},
      {"A\r\na\r\n\x1A\r\nB\r\n"sv, 1, true},    // text after a Ctrl-Z
      {"A\r\na\0b\r\n\r\n\r\n\r\n"sv, 1, true},  // a NUL byte
      {"A\r\na\r\n\r\n\r\n\r\n\0"sv, 1, true},
      {"\xFF\xFE"
       "A\0\r\0\n\0a\0\r\0\n\0\r\0\n\0\r\0\n\0\r\0\n\0"sv,
       1, true},  // UTF-16
  };
  for (const Row& row : rows) {
    ToolList list;
    ToolsParse parse = ParseTools(row.text, list);
    EXPECT_EQ(list.ToolCount, row.count) << testing::PrintToString(std::string(row.text));
    EXPECT_EQ(parse.readInPart, row.readInPart) << testing::PrintToString(std::string(row.text));
  }
}

TEST(ToolsFile, KeepsTwelveToolsAndCountsTheOthers) {
  std::string text;
  for (int i = 1; i <= 15; ++i) {
    text += 'T';
    text += std::to_string(i);
    text += "\r\nf\r\nd\r\np\r\n";
  }
  text += "\r\n";
  ToolList list;
  EXPECT_EQ(ParseTools(text, list).dropped, 3);
  EXPECT_EQ(list.ToolCount, 12);
  EXPECT_EQ(list.ToolTable[12].Title, "T12");
}

TEST(ToolsFile, FormatsFourLinesPerToolAndTheEndMark) {
  EXPECT_EQ(FormatTools(ToolList{}), "\r\n");
  ToolList list = ListOf({{"Notepad", "notepad.exe", "C:\\Windows", ""}, {"Calc", "", "", "-x"}});
  EXPECT_EQ(FormatTools(list), "Notepad\r\nnotepad.exe\r\nC:\\Windows\r\n\r\nCalc\r\n\r\n\r\n-x\r\n\r\n");
}

TEST(ToolsFile, RoundTripKeepsEveryField) {
  ToolList list =
      ListOf({{" spaced", "a,b.exe", "\"C:\\x\"", " -p, \"q\""}, {"Plain", "", "", ""}, {"\"", ",", " ", "end"}});
  ToolList back;
  EXPECT_EQ(ParseTools(FormatTools(list), back).dropped, 0);
  ASSERT_EQ(back.ToolCount, list.ToolCount);
  for (int i = 1; i <= list.ToolCount; ++i) {
    EXPECT_EQ(back.ToolTable[i].Title, list.ToolTable[i].Title);
    EXPECT_EQ(back.ToolTable[i].File, list.ToolTable[i].File);
    EXPECT_EQ(back.ToolTable[i].WorkDirectory, list.ToolTable[i].WorkDirectory);
    EXPECT_EQ(back.ToolTable[i].Parameters, list.ToolTable[i].Parameters);
  }
}

TEST_F(ToolsFolder, EmptyListIsOneEmptyLineAndReadsBackEmpty) {
  ToolList list;
  ASSERT_TRUE(WriteTools(list, Path("Tools.rel")));
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "\r\n");
  list.ToolCount = 5;
  EXPECT_TRUE(ReadTools(list, Path("Tools.rel")));
  EXPECT_EQ(list.ToolCount, 0);
}

TEST_F(ToolsFolder, MissingFileFailsWithAnEmptyList) {
  ToolList list = ListOf({{"A", "", "", ""}});
  EXPECT_FALSE(ReadTools(list, Path("Tools.rel")));
  EXPECT_EQ(list.ToolCount, 0);
}

TEST_F(ToolsFolder, WriteReplacesTheOldFileAndLeavesNoTemporary) {
  WriteFile(dir_ / "Tools.rel", "Old\r\no\r\n\r\n\r\n\r\n");
  WriteFile(dir_ / "Tools.rel.tmp", std::string(100000, 'x'));  // left by writes cut short
  WriteFile(dir_ / "Tools.rel.4242.tmp", "Ne");
  ASSERT_TRUE(WriteTools(ListOf({{"New", "n.exe", "", ""}}), Path("Tools.rel")));
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "New\r\nn.exe\r\n\r\n\r\n\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "Tools.rel.tmp") || fs::exists(dir_ / "Tools.rel.4242.tmp"));
  int dropped = -1;
  ToolList back;
  EXPECT_TRUE(ReadTools(back, Path("Tools.rel"), &dropped));
  EXPECT_EQ(dropped, 0);
  EXPECT_EQ(back.ToolTable[1].File, "n.exe");
}

TEST_F(ToolsFolder, FailedWriteKeepsTheOldFile) {
  WriteFile(dir_ / "Tools.rel", "Old\r\n");
  // A folder in the way of the lock file makes the write fail.
  fs::create_directories(dir_ / "Tools.rel.lock");
  EXPECT_FALSE(WriteTools(ListOf({{"New", "", "", ""}}), Path("Tools.rel")));
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "Old\r\n");
  EXPECT_FALSE(WriteTools(ToolList{}, Path("no such folder/Tools.rel")));
  // A read-only list file is left as it is, flag and all.
  fs::remove(dir_ / "Tools.rel.lock");
  fs::permissions(dir_ / "Tools.rel", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(WriteTools(ListOf({{"New", "", "", ""}}), Path("Tools.rel")));
  EXPECT_EQ(FileText(dir_ / "Tools.rel"), "Old\r\n");
  EXPECT_EQ(fs::status(dir_ / "Tools.rel").permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_FALSE(fs::exists(dir_ / "Tools.rel.tmp"));
  fs::permissions(dir_ / "Tools.rel", fs::perms::owner_write, fs::perm_options::add);
}

TEST(ToolsFileOnAFullDisk, WriteKeepsTheOldFile) {
  const fs::path folder = small_disk::Folder();
  if (folder.empty()) GTEST_SKIP() << "no small filesystem to fill (mounting one needs root)";
  const std::string old = "Old\r\nold.exe\r\n\r\n\r\n\r\n";
  WriteFile(folder / "Tools.rel", old);
  ASSERT_TRUE(small_disk::Fill(folder / "filler"));
  EXPECT_FALSE(WriteTools(ListOf({{"New", "new.exe", "", ""}}), (folder / "Tools.rel").string()));
  EXPECT_EQ(FileText(folder / "Tools.rel"), old);
  EXPECT_FALSE(fs::exists(folder / "Tools.rel.tmp"));
  fs::remove(folder / "filler");
  fs::remove(folder / "Tools.rel");
}

TEST_F(ToolsFolder, ReadingTellsWhatASaveMayReplaceAndNoticesChanges) {
  const fs::path file = dir_ / "Tools.rel";
  ToolList list;
  ToolsFileReading read = ReadToolsFile(list, file);
  EXPECT_EQ(read.state, ListFileState::kMissing);
  EXPECT_TRUE(MayReplace(read));
  EXPECT_FALSE(ToolsFileChanged(read, file));
  WriteFile(file, "Other\r\n\r\n\r\n\r\n\r\n");  // created by another copy
  EXPECT_TRUE(ToolsFileChanged(read, file));

  read = ReadToolsFile(list, file);
  EXPECT_EQ(read.state, ListFileState::kRead);
  EXPECT_EQ(list.ToolCount, 1);
  EXPECT_TRUE(MayReplace(read));
  WriteFile(file, "Other\r\n\r\n\r\n\r\n\r\n");  // the same bytes again
  EXPECT_FALSE(ToolsFileChanged(read, file));
  WriteFile(file, "Other\r\n\r\n\r\n\r\nMore\r\n\r\n\r\n\r\n\r\n");
  EXPECT_TRUE(ToolsFileChanged(read, file));
  fs::remove(file);
  EXPECT_TRUE(ToolsFileChanged(read, file));

  WriteFile(file, "\r\nHidden\r\n\r\n\r\n\r\n\r\n");
  read = ReadToolsFile(list, file);
  EXPECT_EQ(read.state, ListFileState::kReadInPart);
  EXPECT_FALSE(MayReplace(read));
  fs::remove(file);
  fs::create_directories(file);  // something that cannot be read as a file
  read = ReadToolsFile(list, file);
  EXPECT_EQ(read.state, ListFileState::kNotRead);
  EXPECT_FALSE(MayReplace(read));
}

TEST_F(ToolsFolder, RefreshToolMenuShowsTheToolsOnTheHost) {
  ToolList list;
  std::vector<std::string> items(kMaxTools + 1, "?");
  HostForm host{[&](int i, const std::string& caption, bool visible) {
    items[i] = visible ? caption : "-";
    return true;
  }};
  EXPECT_EQ(RefreshToolMenu(list, &host, Path("Tools.rel")), MenuRefresh::kNoList);
  EXPECT_EQ(items[1], "?");
  WriteFile(dir_ / "Tools.rel", "A\r\n\r\n\r\n\r\nB\r\n\r\n\r\n\r\n\r\n");
  EXPECT_EQ(RefreshToolMenu(list, nullptr, Path("Tools.rel")), MenuRefresh::kNoForm);
  EXPECT_EQ(RefreshToolMenu(list, &host, Path("Tools.rel")), MenuRefresh::kDone);
  EXPECT_EQ(items[1], "A");
  EXPECT_EQ(items[2], "B");
  EXPECT_EQ(items[3], "-");
  EXPECT_EQ(items[12], "-");
  HostForm broken{[](int i, const std::string&, bool) { return i < 2; }};
  EXPECT_EQ(RefreshToolMenu(list, &broken, Path("Tools.rel")), MenuRefresh::kNoForm);
}

TEST(LanguageChoice, WordsGiveLanguages) {
  struct Row {
    const char* word;
    std::int16_t language;
  } rows[] = {{"cat", kLanguageCatalan}, {"CaT", kLanguageCatalan},  {"ESP", kLanguageSpanish},
              {"esp", kLanguageSpanish}, {"engl", kLanguageEnglish}, {"cat esp", kLanguageEnglish},
              {"x", kLanguageEnglish},   {" cat", kLanguageEnglish}, {"", kUndecided}};
  for (const auto& row : rows) EXPECT_EQ(LanguageOfWord(row.word), row.language) << row.word;
}

TEST(LanguageChoice, CommandTextFollowsTheProgramName) {
  struct Row {
    const char* line;
    const char* text;
  } rows[] = {{"Tools.exe esp", "esp"},
              {"\"C:\\Program Files\\Tools.exe\"  cat x", "cat x"},
              {"\"C:\\a b\\Tools.exe\"", ""},
              {"Tools.exe", ""},
              {"Tools", ""},
              {"Tools.exe \t CAT", "CAT"}};
  for (const auto& row : rows) EXPECT_EQ(CommandText(row.line), row.text) << row.line;
}

TEST_F(ToolsFolder, LanguageFileDecidesWhenTheCommandTextIsEmpty) {
  const std::string lng = Path("Lng.txt");
  struct Row {
    const char* command;
    const char* file;  // nullptr: no Lng.txt
    std::int16_t language;
    bool hostMode;
  } rows[] = {
      {"", nullptr, kLanguageCatalan, true},
      {"", "esp\r\n", kLanguageSpanish, false},
      {"", "ESP", kLanguageSpanish, false},
      {"", "engl\r\n", kLanguageEnglish, false},
      {"", "cat,esp\r\n", kLanguageCatalan, false},
      {"", "  \"esp\" more\r\n", kLanguageSpanish, false},
      {"", "", kLanguageCatalan, true},
      {"", "\r\nesp\r\n", kLanguageCatalan, true},
      {"", ",esp\r\n", kLanguageCatalan, true},
      {"esp", "cat\r\n", kLanguageSpanish, false},
      {"cat engl", nullptr, kLanguageEnglish, false},
  };
  for (const auto& row : rows) {
    fs::remove(lng);
    if (row.file) WriteFile(lng, row.file);
    LanguageChoice choice = SelectLanguage(row.command, kLanguageCatalan, lng);
    EXPECT_EQ(choice.language, row.language) << row.command << "|" << (row.file ? row.file : "(none)");
    EXPECT_EQ(choice.HostMode, row.hostMode) << row.command << "|" << (row.file ? row.file : "(none)");
  }
}

TEST(LanguageTexts, DeletePromptUsesTheTitleInUpperCase) {
  EXPECT_EQ(DeletePrompt("Notepad", kLanguageEnglish), "Erase NOTEPAD ?");
  EXPECT_EQ(DeletePrompt("Edici\363 r\340pida", kLanguageCatalan), "Eliminar EDICI\323 R\300PIDA ?");
  EXPECT_EQ(DeletePrompt("a\361o \377 \234 \232 \337 \367", kLanguageSpanish),
            "\277Eliminar A\321O \237 \214 \212 \337 \367 ?");
  EXPECT_STREQ(DeleteCaption(kLanguageSpanish), "Confirmar eliminaci\363n");
}

TEST(LanguageTexts, EveryLanguageHasEveryText) {
  for (std::int16_t lang : {kLanguageCatalan, kLanguageEnglish, kLanguageSpanish}) {
    const WindowTexts& t = WindowTextsOf(lang);
    for (const char* text : {t.caption, t.tools, t.tool, t.fields[0], t.fields[1], t.fields[2], t.fields[3]})
      EXPECT_TRUE(text && *text);
    for (Notice n : {Notice::kListFull, Notice::kEmptyTitle, Notice::kNotWritten, Notice::kToolsDropped,
                     Notice::kNotRead, Notice::kReadInPart, Notice::kChanged, Notice::kNotCodePage})
      EXPECT_TRUE(*NoticeText(n, lang));
  }
  EXPECT_STREQ(WindowTextsOf(kLanguageSpanish).caption, "Edici\363n utilidades");
  EXPECT_STREQ(WindowTextsOf(kLanguageCatalan).fields[3], "Par\340metres");
}

#ifdef _WIN32
#include <windows.h>

TEST_F(ToolsFolder, HiddenOrSystemLanguageFilesDoNotCount) {
  const std::string lng = Path("Lng.txt");
  for (DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    WriteFile(lng, "esp\r\n");
    SetFileAttributesA(lng.c_str(), attribute);
    LanguageChoice choice = SelectLanguage("", kLanguageCatalan, lng);
    EXPECT_EQ(choice.language, kLanguageCatalan);
    EXPECT_TRUE(choice.HostMode);
    SetFileAttributesA(lng.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove(lng);
  }
}
#endif
