#include "portable/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string TempName(const char* tag) { return ::testing::TempDir() + "text_file_" + tag; }

void WriteBytes(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

std::string ReadBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> ReadAllLines(const std::string& bytes) {
  std::string name = TempName("read");
  WriteBytes(name, bytes);
  TextFile file;
  EXPECT_TRUE(OpenForReading(&file, name.c_str()));
  std::vector<std::string> lines;
  while (!AtEnd(&file)) lines.push_back(ReadLine(&file).str());
  EXPECT_TRUE(Close(&file));
  std::remove(name.c_str());
  return lines;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST(TextFileReading, LineEndsAndEndOfFile) {
  const ReadCase cases[] = {
      {"CR LF", "n^2\r\n\r\n1/n\r\n", {"n^2", "", "1/n"}},
      {"LF alone", "n^2\n\n1/n\n", {"n^2", "", "1/n"}},
      {"CR alone", "a\rb\r", {"a", "b"}},
      {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"last line without end", "a\r\nb", {"a", "b"}},
      {"empty file", "", {}},
      {"one empty line", "\r\n", {""}},
      {"Ctrl-Z at a line start ends",
       "a\r\n\x1a"
       "b\r\n",
       {"a"}},
      {"Ctrl-Z inside a line stays",
       "a\x1a"
       "b\r\nc\r\n",
       {"a\x1a"
        "b",
        "c"}},
      {"blanks and case kept", "  N^2 \r\n", {"  N^2 "}},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(ReadAllLines(c.bytes), c.lines) << c.name;
}

TEST(TextFileReading, LongLineKeepsFirst255AndSkipsTheRest) {
  std::string long_line(300, 'x');
  long_line[254] = 'y';
  long_line[255] = 'z';
  std::vector<std::string> lines = ReadAllLines(long_line + "\r\nnext\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], long_line.substr(0, 255));
  EXPECT_EQ(lines[1], "next");
}

TEST(TextFileReading, UnopenedFileReadsAsEmpty) {
  TextFile file;
  EXPECT_FALSE(OpenForReading(&file, (TempName("missing") + "/nowhere").c_str()));
  EXPECT_FALSE(IsOpen(file));
  EXPECT_TRUE(AtEnd(&file));
  EXPECT_EQ(ReadLine(&file), "");
  EXPECT_FALSE(Close(&file));
}

TEST(TextFileWriting, EveryLineEndsWithCrLf) {
  std::string name = TempName("write");
  WriteBytes(name, "old contents that must go");
  TextFile file;
  ASSERT_TRUE(OpenForWriting(&file, name.c_str()));
  WriteLine(&file, "n^2");
  WriteLine(&file, "");
  WriteLine(&file, "1/n");
  EXPECT_TRUE(Close(&file));
  EXPECT_EQ(ReadBytes(name), "n^2\r\n\r\n1/n\r\n");
  std::remove(name.c_str());
}

TEST(TextFileWriting, MissingFolderFails) {
  TextFile file;
  EXPECT_FALSE(OpenForWriting(&file, (TempName("missing") + "/nowhere/file.txt").c_str()));
  WriteLine(&file, "ignored");
  EXPECT_FALSE(Close(&file));
}

}  // namespace
