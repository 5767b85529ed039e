#include "userfiles/file_place.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr char kHere[] = "D:\\Classe";
constexpr char kUser[] =
    "C:\\Users\\\xD0\x90\xD0\xBB\xD0\xB5\xD0\xBA\xD1\x81\xD0\xB5\xD0\xB9\\AppData\\Roaming\\Vantel";

// A file system of sets: what can be written, created and copied.
struct FakeDisk {
  std::set<std::string> writable;   // folders where a file can be created
  std::set<std::string> creatable;  // folders that exist or can be made
  std::set<std::string> files;      // files that exist
  bool copies_work = true;
  std::vector<std::string> copied;  // the targets of the copies made

  FolderQueries Queries() {
    return {[this](const std::string& f) { return writable.count(f) > 0; },
            [this](const std::string& f) { return creatable.count(f) > 0; },
            [this](const std::string& p) { return files.count(p) > 0; },
            [this](const std::string&, const std::string& to) {
              if (!copies_work) return false;
              copied.push_back(to);
              files.insert(to);
              return true;
            }};
  }
};

struct PlaceCase {
  const char* name;
  bool here_writable, user_folder_made, user_writable, here_file, user_file, copies_work;
  const char* user_folder;  // as the system names it
  std::string expected;
  bool writable;  // whether the place can take the file: told at start when not
  bool seeded;
};

TEST(FilePlaces, CurrentFolderWhenWritableElseThePerUserFolderSeededOnce) {
  const std::string here_file = std::string(kHere) + "\\ults.rel";
  const std::string user_file = std::string(kUser) + "\\ults.rel";
  const PlaceCase cases[] = {
      {"portable copy: current folder as always", true, true, true, true, true, true, kUser, here_file, true, false},
      {"installed, first run, starter file copied", false, true, true, true, false, true, kUser, user_file, true, true},
      {"installed, later runs keep the user's file", false, true, true, true, true, true, kUser, user_file, true,
       false},
      {"installed, no starter file", false, true, true, false, false, true, kUser, user_file, true, false},
      {"per-user folder cannot be made", false, false, false, true, false, true, kUser, here_file, false, false},
      {"per-user folder cannot be written", false, true, false, true, false, true, kUser, here_file, false, false},
      {"per-user folder cannot be written, the user's file read", false, true, false, true, true, true, kUser,
       user_file, false, false},
      {"no application-data folder", false, true, true, true, false, true, "", here_file, false, false},
      {"starter file cannot be copied: read where it is", false, true, true, true, false, false, kUser, here_file,
       false, false},
  };
  for (const PlaceCase& c : cases) {
    FakeDisk disk;
    if (c.here_writable) disk.writable.insert(kHere);
    if (c.user_folder_made) disk.creatable.insert(kUser);
    if (c.user_writable) disk.writable.insert(kUser);
    if (c.here_file) disk.files.insert(here_file);
    if (c.user_file) disk.files.insert(user_file);
    disk.copies_work = c.copies_work;
    const FilePlacement place = FilePlace(kHere, c.user_folder, "ults.rel", disk.Queries());
    EXPECT_EQ(place.path, c.expected) << c.name;
    EXPECT_EQ(place.writable, c.writable) << c.name;
    EXPECT_EQ(disk.copied, c.seeded ? std::vector<std::string>{user_file} : std::vector<std::string>{}) << c.name;
  }
}

TEST(FilePlaces, OnlyAPathFromARootOrAShareIsFull) {
  for (const char* full : {"C:\\Users\\a\\AppData", "d:/x", "\\\\server\\share\\profile", "//server/share"})
    EXPECT_TRUE(IsFullPath(full)) << full;
  for (const char* relative : {"AppData", "C:AppData", ".\\AppData", "\\AppData", "", "1:\\x"})
    EXPECT_FALSE(IsFullPath(relative)) << relative;
}

TEST(FilePlaces, HelpTextInTheCurrentFolderFirstThenBesideTheProgram) {
  const std::string program = "C:\\Program Files\\Vantel";
  struct HelpCase {
    bool here, beside;
    std::string expected;
  };
  const HelpCase cases[] = {
      {true, true, std::string(kHere) + "\\infogeneral.txt"},
      {false, true, program + "\\infogeneral.txt"},
      {false, false, std::string(kHere) + "\\infogeneral.txt"},
  };
  for (const HelpCase& c : cases) {
    FakeDisk disk;
    if (c.here) disk.files.insert(std::string(kHere) + "\\infogeneral.txt");
    if (c.beside) disk.files.insert(program + "\\infogeneral.txt");
    EXPECT_EQ(HelpTextPlace(kHere, program, "infogeneral.txt", disk.Queries()), c.expected);
  }
  EXPECT_EQ(OpenFileCommandLine("C:\\Windows\\system32\\notepad.exe", program + "\\infogeneral.txt"),
            "\"C:\\Windows\\system32\\notepad.exe\" \"C:\\Program Files\\Vantel\\infogeneral.txt\"");
}

}  // namespace
