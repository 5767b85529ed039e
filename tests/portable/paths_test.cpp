#include "portable/paths.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
  const char* path;
  const char* file_name;
  const char* base_name;
};

TEST(PathParts, FileAndBaseNames) {
  const PathCase cases[] = {
      {"C:\\a\\b.txt", "b.txt", "b"},
      {"b.txt", "b.txt", "b"},
      {"C:\\a\\", "", ""},
      {"C:\\a.d\\prog", "prog", "prog"},
      {"C:\\a\\prog.tar.gz", "prog.tar.gz", "prog.tar"},
      {"C:\\a\\.rel", ".rel", ""},
      {"C:\\Programs\\Vantel.exe", "Vantel.exe", "Vantel"},
      {"", "", ""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(FileNameOf(c.path), c.file_name) << c.path;
    EXPECT_EQ(BaseNameOf(c.path), c.base_name) << c.path;
  }
}

}  // namespace
