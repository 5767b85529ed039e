// Saving a whole file: the old file survives every fault byte for byte, and
// copies that save the same file at the same moment lose nothing.
#include "safesave/save_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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

// The names in the folder that end in ".tmp".
std::set<std::string> Temporaries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".tmp") names.insert(entry.path().filename().string());
  return names;
}

fs::path EmptyFolder(const char* name) {
  const fs::path folder = fs::path(::testing::TempDir()) / name;
  fs::create_directories(folder);
  Empty(folder);
  return folder;
}

TEST(SavingAWholeFile, FaultsLeaveTheOldFileAsItWas) {
  const fs::path folder = EmptyFolder("save_file_test");
  const fs::path file = folder / "ults.rel";
  const std::string old = "n^2\r\n1/n\r\n";
  const std::string next = "n^2\r\n1/n\r\nn\r\n";
  const SaveCase cases[] = {
      {"new file", [](const fs::path&) {}, SaveFault::kNone, next},
      {"old file replaced", [&](const fs::path& f) { WriteBytes(f, old); }, SaveFault::kNone, next},
      {"temporary files of saves cut short removed",
       [&](const fs::path& f) {
         WriteBytes(f, old);
         WriteBytes(folder / "ults.rel.tmp", std::string(1 << 20, 'x'));
         WriteBytes(folder / "ults.rel.4242.tmp", "n^");
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
      {"folder in the lock file's place",
       [&](const fs::path& f) {
         WriteBytes(f, old);
         fs::create_directory(folder / "ults.rel.lock");
       },
       SaveFault::kNotWritten, old},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    Empty(folder);
    WriteBytes(folder / "ults.rel.old.tmp", "not a save's");  // kept: no temporary file of a save
    c.before(file);
    EXPECT_EQ(SaveWholeFile(file.string().c_str(), next), c.fault);
    EXPECT_EQ(ReadBytes(file), c.after);
    if (c.fault == SaveFault::kReadOnly) {
      EXPECT_TRUE(ReadOnly(file)) << "the file lost its read-only flag";
    }
    EXPECT_EQ(Temporaries(folder), std::set<std::string>{"ults.rel.old.tmp"});
    EXPECT_EQ(fs::exists(folder / "ults.rel.lock"), c.fault == SaveFault::kNotWritten) << "the lock stays behind";
  }
  Empty(folder);
}

// Copies of a program in one folder, each adding its own line to what the file
// holds when it saves, all at the same moment (threads stand for the copies: the
// lock keeps them apart as it keeps processes apart).
TEST(SavingAWholeFile, CopiesSavingAtOnceLoseNothing) {
  const fs::path folder = EmptyFolder("save_file_copies");
  const std::string file = (folder / "ults.rel").string();
  constexpr int kCopies = 6, kSavesEach = 15;
  std::atomic<int> ready = 0;
  std::vector<SaveFault> faults(kCopies * kSavesEach, SaveFault::kNotWritten);
  std::vector<std::thread> copies;
  for (int copy = 0; copy < kCopies; ++copy) {
    copies.emplace_back([&, copy] {
      ++ready;
      while (ready < kCopies) std::this_thread::yield();
      for (int save = 0; save < kSavesEach; ++save) {
        const std::string line = std::to_string(copy) + "/" + std::to_string(save) + "\r\n";
        faults[copy * kSavesEach + save] = SaveMergedFile(
            file.c_str(), std::chrono::seconds(60), [&] { return std::optional<std::string>(ReadBytes(file) + line); });
      }
    });
  }
  for (std::thread& copy : copies) copy.join();
  for (SaveFault fault : faults) EXPECT_EQ(fault, SaveFault::kNone);
  std::istringstream saved(ReadBytes(file));
  std::set<std::string> lines;
  for (std::string line; std::getline(saved, line);) lines.insert(line);
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(kCopies * kSavesEach)) << "lines were lost";
  EXPECT_TRUE(Temporaries(folder).empty());
  EXPECT_FALSE(fs::exists(folder / "ults.rel.lock"));
  Empty(folder);
}

// The folder that tests/linked_file.sh prepared, in this system's form; empty
// outside ctest.
fs::path LinkedFolder() {
  const char* named = std::getenv("VANTEL_LINKED_FOLDER");
  if (named == nullptr || *named == '\0') return {};
#ifdef _WIN32
  std::string path = std::string("Z:") + named;  // the host's files under Wine
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
#else
  return named;
#endif
}

// A file that is a symbolic link is saved through it: the file it names gets the
// new contents, and the link stays, so a change to that file shows through it.
TEST(SavingAWholeFile, ALinkIsSavedThroughAndStays) {
  const fs::path folder = LinkedFolder();
  if (folder.empty()) GTEST_SKIP() << "no linked file (made by ctest)";
  const fs::path link = folder / "ults.rel", shared = folder / "shared" / "ults.rel";
  WriteBytes(shared, "n\r\n");
  ASSERT_EQ(ReadBytes(link), "n\r\n");
  ASSERT_EQ(SaveMergedFile(link.string().c_str(), kSaveWait,
                           [&] { return std::optional<std::string>(ReadBytes(link) + "1/n\r\n"); }),
            SaveFault::kNone);
  EXPECT_EQ(ReadBytes(shared), "n\r\n1/n\r\n");
  WriteBytes(shared, "2^n\r\n");
  EXPECT_EQ(ReadBytes(link), "2^n\r\n") << "the link was replaced by a file of its own";
  EXPECT_TRUE(Temporaries(folder).empty() && Temporaries(folder / "shared").empty());
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
    EXPECT_TRUE(Temporaries(folder).empty());
  }
  Empty(folder);
}

}  // namespace
