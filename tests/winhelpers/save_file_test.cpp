// Saving a whole file: the old file survives every fault byte for byte.
#include "winhelpers/save_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "tests/small_disk.h"

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

std::string ReadBytes(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool ReadOnly(const fs::path& name) {
  return (fs::status(name).permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Gives every entry of the folder its write permission back and removes them all.
void Empty(const fs::path& folder) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(entry.path(), ignored);
  }
}

struct SaveCase {
  const char* name;
  std::function<void(const fs::path& file)> before;
  SaveFault fault;
  std::string after;  // the file's bytes after the save
};

TEST(SavingAWholeFile, FaultsLeaveTheOldFileAsItWas) {
  const fs::path folder = fs::path(::testing::TempDir()) / "save_file_test";
  fs::create_directories(folder);
  Empty(folder);
  const fs::path file = folder / "ults.rel";
  const fs::path temporary = folder / "ults.rel.tmp";
  const std::string old = "n^2\r\n1/n\r\n";
  const std::string next = "n^2\r\n1/n\r\nn\r\n";
  const SaveCase cases[] = {
      {"new file", [](const fs::path&) {}, SaveFault::kNone, next},
      {"old file replaced", [&](const fs::path& f) { WriteBytes(f, old); }, SaveFault::kNone, next},
      {"stale partial temporary replaced",
       [&](const fs::path& f) {
         WriteBytes(f, old);
         WriteBytes(temporary, std::string(1 << 20, 'x'));
       },
       SaveFault::kNone, next},
      {"read-only file left as it is",
       [&](const fs::path& f) {
         WriteBytes(f, old);
         fs::permissions(f, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
       },
       SaveFault::kReadOnly, old},
      {"folder of the file's name", [](const fs::path& f) { fs::create_directory(f); }, SaveFault::kFolder, ""},
      {"folder in the temporary file's place",
       [&](const fs::path& f) {
         WriteBytes(f, old);
         fs::create_directory(temporary);
       },
       SaveFault::kTemporaryFolder, old},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    Empty(folder);
    c.before(file);
    EXPECT_EQ(SaveWholeFile(file.string().c_str(), next), c.fault);
    EXPECT_EQ(ReadBytes(file), c.after);
    if (c.fault == SaveFault::kReadOnly) {
      EXPECT_TRUE(ReadOnly(file)) << "the file lost its read-only flag";
    }
    // Only a folder of the temporary file's name stays in its place.
    EXPECT_EQ(fs::exists(temporary), c.fault == SaveFault::kTemporaryFolder);
  }
  Empty(folder);
}

// Small contents fit in the C runtime's buffer and reach the disk only at the
// final flush; large ones fail part-way through.
TEST(SavingAWholeFile, FullDiskKeepsTheOldFile) {
  const fs::path folder = small_disk::Folder();
  if (folder.empty()) GTEST_SKIP() << "no small filesystem to fill (mounting one needs root)";
  const fs::path file = folder / "ults.rel";
  std::string old;
  for (int i = 0; i < 500; ++i) old += "n^" + std::to_string(i) + "+1/(n+" + std::to_string(i) + ")*2.5\r\n";
  WriteBytes(file, old);
  ASSERT_TRUE(small_disk::Fill(folder / "filler"));
  for (const std::string& next : {std::string("n\r\n"), old + "n\r\n"}) {
    SCOPED_TRACE(next.size());
    EXPECT_EQ(SaveWholeFile(file.string().c_str(), next), SaveFault::kDiskFull);
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_FALSE(fs::exists(folder / "ults.rel.tmp"));
  }
  Empty(folder);
}

}  // namespace
