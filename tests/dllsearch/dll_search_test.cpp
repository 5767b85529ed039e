// A DLL planted beside a program. Windows takes a known DLL from its system folder;
// any other it looks for in the program's own folder first, where a DLL of that name
// planted beside a portable copy would run. msimg32.dll is such a DLL, one that
// programs commonly import for TransparentBlt. Arguments: the planted DLL, the
// probe, then the programs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path g_plantedDll, g_probe;
std::vector<fs::path> g_programs;

// One program run in a folder of its own beside a planted msimg32.dll. Under Wine
// the test runs with WINEDLLOVERRIDES holding msimg32=n,b, so that Wine, like
// Windows, prefers a msimg32.dll it finds to its own.
class PlantedDll : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Copies the program beside the planted DLL, runs it with the arguments until it
  // ends (a window program: until it waits for input, when its DLLs are loaded) and
  // says whether the planted DLL ran.
  bool PlantedDllRan(const fs::path& program, const std::wstring& arguments, bool window, DWORD* exitCode = nullptr) {
    dir_ = fs::temp_directory_path() / ("planted_" + program.stem().string());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy_file(program, dir_ / program.filename());
    fs::copy_file(g_plantedDll, dir_ / "msimg32.dll");

    std::wstring commandLine = L"\"" + (dir_ / program.filename()).wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(), &startup,
                               &process))
        << program;
    if (!process.hProcess) return false;
    if (window) {
      EXPECT_EQ(WaitForInputIdle(process.hProcess, 10000), 0u) << program;
      TerminateProcess(process.hProcess, 1);
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << program;
    if (exitCode) GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return fs::exists(dir_ / "planted-ran.txt");
  }

  fs::path dir_;
};

TEST_F(PlantedDll, BesideAProgramNeverRuns) {
  ASSERT_EQ(g_programs.size(), 3u);
  for (const fs::path& program : g_programs) {
    bool console = program.stem() == "vantel-cli";
    EXPECT_FALSE(PlantedDllRan(program, console ? L"1/n 3" : L"", !console))
        << "the msimg32.dll beside " << program.filename() << " ran";
  }
}

// A DLL loaded by its bare name while a program runs: found beside the program by
// default (which shows that the planted DLL would be seen), from the system folder
// once the search is limited as the programs limit it.
TEST_F(PlantedDll, LoadedLaterComesFromTheSystemFolder) {
  DWORD exitCode = 99;
  EXPECT_TRUE(PlantedDllRan(g_probe, L"", false, &exitCode)) << "under Wine, is msimg32=n,b in WINEDLLOVERRIDES?";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(PlantedDllRan(g_probe, L"limit", false, &exitCode));
  EXPECT_EQ(exitCode, 0u) << "1: the system's msimg32.dll was not loaded; 2: the search could not be limited";
}

// A path of the host system is reached through drive Z: under Wine.
fs::path WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') {
    path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
  }
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 6) {
    std::fprintf(stderr, "usage: dll_search_test PLANTED.dll PROBE.exe Vantel.exe Tools.exe vantel-cli.exe\n");
    return 2;
  }
  g_plantedDll = WindowsPath(argv[1]);
  g_probe = WindowsPath(argv[2]);
  for (int i = 3; i < argc; ++i) g_programs.push_back(WindowsPath(argv[i]));
  return RUN_ALL_TESTS();
}
