// The DLLs Windows loads for the programs. Windows takes a known DLL from its system
// folder; any other it looks for in the program's own folder first, where a DLL of
// that name planted beside a portable copy would run. Arguments: the planted DLL,
// the probe, then the programs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path g_plantedDll, g_probe;
std::vector<fs::path> g_programs;

// The DLLs that Windows lists as known DLLs on every version from 7 to 11, in lower
// case. ntdll.dll is mapped before any of them and always from the system folder.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "clbcatq.dll",  "comdlg32.dll", "difxapi.dll", "gdi32.dll",    "imagehlp.dll",
    "imm32.dll",    "kernel32.dll", "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",
    "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",
    "setupapi.dll", "shell32.dll",  "shlwapi.dll",  "user32.dll",  "wldap32.dll",  "ws2_32.dll",
};

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names of the DLLs a program imports, loaded at its start or delay-loaded, in
// lower case, read from its import tables; empty when the file is no PE image.
std::vector<std::string> ImportedDlls(const std::string& image) {
  auto fits = [&](std::size_t offset, std::size_t size) {
    return offset <= image.size() && size <= image.size() - offset;
  };
  auto read = [&](auto& value, std::size_t offset) {
    if (!fits(offset, sizeof value)) return false;
    std::memcpy(&value, image.data() + offset, sizeof value);
    return true;
  };
  std::uint32_t peOffset = 0, signature = 0;
  IMAGE_FILE_HEADER header{};
  std::uint16_t magic = 0;
  if (!read(peOffset, 0x3C) || !read(signature, peOffset) || signature != IMAGE_NT_SIGNATURE ||
      !read(header, peOffset + 4) || !read(magic, peOffset + 4 + sizeof header))
    return {};
  const std::size_t optional = peOffset + 4 + sizeof header;
  std::uint64_t imageBase = 0;
  IMAGE_DATA_DIRECTORY imports{}, delayImports{};
  if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    IMAGE_OPTIONAL_HEADER64 h{};
    if (!read(h, optional)) return {};
    imageBase = h.ImageBase;
    imports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    delayImports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  } else if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 h{};
    if (!read(h, optional)) return {};
    imageBase = h.ImageBase;
    imports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    delayImports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  } else {
    return {};
  }
  std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
  for (std::size_t i = 0; i < sections.size(); ++i)
    if (!read(sections[i], optional + header.SizeOfOptionalHeader + i * sizeof(IMAGE_SECTION_HEADER))) return {};
  // The file offset of an address relative to the image; 0 outside every section.
  auto offsetOf = [&](std::uint64_t rva) -> std::size_t {
    for (const IMAGE_SECTION_HEADER& s : sections)
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return static_cast<std::size_t>(rva - s.VirtualAddress + s.PointerToRawData);
    return 0;
  };
  auto nameAt = [&](std::uint64_t rva) {
    std::size_t at = offsetOf(rva);
    std::string name;
    while (at != 0 && at < image.size() && image[at] != '\0')
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(image[at++])));
    return name;
  };

  std::vector<std::string> dlls;
  for (std::size_t at = offsetOf(imports.VirtualAddress); imports.Size != 0 && at != 0;
       at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR entry{};
    if (!read(entry, at) || entry.Name == 0) break;
    dlls.push_back(nameAt(entry.Name));
  }
  for (std::size_t at = offsetOf(delayImports.VirtualAddress); delayImports.Size != 0 && at != 0;
       at += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
    IMAGE_DELAYLOAD_DESCRIPTOR entry{};
    if (!read(entry, at) || entry.DllNameRVA == 0) break;
    // Old linkers wrote addresses, not addresses relative to the image.
    dlls.push_back(nameAt(entry.Attributes.RvaBased ? entry.DllNameRVA : entry.DllNameRVA - imageBase));
  }
  return dlls;
}

TEST(ProgramImports, AreKnownDllsOnly) {
  ASSERT_EQ(g_programs.size(), 3u);
  for (const fs::path& program : g_programs) {
    std::vector<std::string> dlls = ImportedDlls(FileBytes(program));
    // Every program imports kernel32: a list without it was not read.
    EXPECT_NE(std::find(dlls.begin(), dlls.end(), "kernel32.dll"), dlls.end()) << program;
    for (const std::string& dll : dlls) EXPECT_TRUE(kKnownDlls.count(dll)) << program.filename() << " imports " << dll;
  }
}

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
