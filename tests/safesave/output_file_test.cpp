// Where --plot writes: a failed write never costs what the path held, links are
// followed, devices and FIFOs are written in place and never removed, and
// nothing this run did not create is removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "cli/cli.h"
#include "tests/small_disk.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace {

namespace fs = std::filesystem;

int Plot(const fs::path& target, const char* n, std::string* err = nullptr) {
  std::ostringstream out, errors;
  int code = RunCli({"--plot", target.string(), "n", n}, out, errors);
  if (err) *err = errors.str();
  return code;
}

std::string Read(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void Write(const fs::path& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

bool IsPicture(const std::string& bytes) {
  return bytes.rfind("<?xml", 0) == 0 && bytes.size() > 20 && bytes.substr(bytes.size() - 7) == "</svg>\n";
}

std::size_t Entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// On a full disk the earlier good picture stays byte for byte, and the temporary
// file goes again; a file of the temporary file's name that was there before stays.
TEST(PlotTarget, FullDiskKeepsTheEarlierPicture) {
  const fs::path folder = small_disk::Folder();
  if (folder.empty()) GTEST_SKIP() << "no small filesystem to fill (mounting one needs root)";
  const fs::path picture = folder / "p.svg";
  ASSERT_EQ(Plot(picture, "20"), kExitComputed);
  const std::string earlier = Read(picture);
  ASSERT_TRUE(IsPicture(earlier));
  Write(folder / "p.svg.tmp", "not ours");
  ASSERT_TRUE(small_disk::Fill(folder / "filler"));
  std::string err;
  for (const char* n : {"2", "3000"}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Plot(picture, n, &err), kExitPlotNotWritten);
    EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
    EXPECT_TRUE(Read(picture) == earlier) << "the earlier picture was changed";
    EXPECT_EQ(Read(folder / "p.svg.tmp"), "not ours");
    EXPECT_EQ(Entries(folder), 3u);  // the picture, the file of the other name and the filler
  }
  fs::remove(folder / "filler");
  EXPECT_EQ(Plot(picture, "2"), kExitComputed);
  EXPECT_TRUE(IsPicture(Read(picture)) && Read(picture) != earlier);
  EXPECT_EQ(Read(folder / "p.svg.tmp"), "not ours");
  EXPECT_EQ(Entries(folder), 2u);
}

#ifndef _WIN32
fs::path EmptyFolder(const char* name) {
  const fs::path folder = fs::path(::testing::TempDir()) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

bool IsCharacterDevice(const char* name) {
  struct stat s;
  return stat(name, &s) == 0 && S_ISCHR(s.st_mode);
}

// A device is written in place: /dev/full fails without being removed (run as
// root, removing it would succeed), /dev/null takes the picture.
TEST(PlotTarget, DevicesAreWrittenInPlace) {
  if (!IsCharacterDevice("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::string err;
  EXPECT_EQ(Plot("/dev/full", "3", &err), kExitPlotNotWritten);
  EXPECT_EQ(err, "vantel-cli: cannot write the picture /dev/full: No space left on device\n");
  if (!IsCharacterDevice("/dev/full")) {
    ADD_FAILURE() << "/dev/full was removed";
    mknod("/dev/full", S_IFCHR | 0666, makedev(1, 7));  // the machine's own, put back
  }
  EXPECT_EQ(Plot("/dev/null", "3"), kExitComputed);
  EXPECT_TRUE(IsCharacterDevice("/dev/null"));
}

TEST(PlotTarget, FifoIsWrittenInPlace) {
  const fs::path folder = EmptyFolder("plot_target_fifo");
  const fs::path fifo = folder / "pipe.svg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = Read(fifo); });
  EXPECT_EQ(Plot(fifo, "5"), kExitComputed);
  reader.join();
  EXPECT_TRUE(IsPicture(received));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(Entries(folder), 1u);
  fs::remove_all(folder);
}

// A path that names an open descriptor (/dev/fd/N, /proc/self/fd/N, /dev/stdout,
// or a link to one) is written through that descriptor, at its position: a file
// opened for appending keeps what it held, and no file is ever replaced.
TEST(PlotTarget, DescriptorsAreWrittenThrough) {
  const fs::path folder = EmptyFolder("plot_target_descriptors");
  const fs::path file = folder / "o.txt";
  Write(file, "old\n");
  const int appending = open(file.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(appending, 0);
  const std::string fd = std::to_string(appending);
  fs::create_symlink("/dev/fd/" + fd, folder / "link.svg");
  struct stat before, after;
  ASSERT_EQ(stat(file.c_str(), &before), 0);
  for (const std::string& path : {"/dev/fd/" + fd, "/proc/self/fd/" + fd, (folder / "link.svg").string()}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Plot(path, "3"), kExitComputed);
  }
  close(appending);
  const std::string all = Read(file);
  const std::size_t second = all.find("<?xml", 5);
  EXPECT_EQ(all.substr(0, 4), "old\n");
  EXPECT_TRUE(IsPicture(all.substr(4, second - 4)));
  EXPECT_EQ(all.size(), 4 + 3 * (second - 4));
  ASSERT_EQ(stat(file.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));

  // The standard output: the picture at its start, before any other output.
  const int saved = dup(1);
  const int truncating = open(file.c_str(), O_WRONLY | O_TRUNC);
  ASSERT_GE(truncating, 0);
  std::fflush(stdout);
  dup2(truncating, 1);
  const int code = Plot("/dev/stdout", "3");
  dup2(saved, 1);
  close(saved);
  close(truncating);
  EXPECT_EQ(code, kExitComputed);
  EXPECT_TRUE(IsPicture(Read(file)));

  // A descriptor open for reading only, or not open at all, takes no picture and
  // costs the file nothing.
  const int reading = open(file.c_str(), O_RDONLY);
  const std::string earlier = Read(file);
  EXPECT_EQ(Plot("/dev/fd/" + std::to_string(reading), "3"), kExitPlotNotWritten);
  close(reading);
  EXPECT_EQ(Plot("/dev/fd/" + std::to_string(reading), "3"), kExitPlotNotWritten);
  EXPECT_EQ(Read(file), earlier);
  EXPECT_EQ(Entries(folder), 2u);
  fs::remove_all(folder);
}

// The file a link names is replaced and the link stays, also when the link goes
// through another one or names a file that is not there yet.
TEST(PlotTarget, LinksAreFollowed) {
  const fs::path folder = EmptyFolder("plot_target_links");
  fs::create_directory(folder / "pictures");
  Write(folder / "pictures" / "real.svg", "old");
  fs::create_symlink("pictures/real.svg", folder / "link.svg");
  fs::create_symlink("link.svg", folder / "link2.svg");
  fs::create_symlink("new.svg", folder / "pictures" / "dangling.svg");
  EXPECT_EQ(Plot(folder / "link2.svg", "4"), kExitComputed);
  EXPECT_TRUE(IsPicture(Read(folder / "pictures" / "real.svg")));
  EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));
  EXPECT_TRUE(fs::is_symlink(folder / "link2.svg"));
  EXPECT_EQ(Plot(folder / "pictures" / "dangling.svg", "4"), kExitComputed);
  EXPECT_TRUE(fs::is_symlink(folder / "pictures" / "dangling.svg"));
  EXPECT_TRUE(IsPicture(Read(folder / "pictures" / "new.svg")));
  EXPECT_EQ(Entries(folder), 3u);
  EXPECT_EQ(Entries(folder / "pictures"), 3u);
  fs::remove_all(folder);
}
#endif

}  // namespace
