// The end-to-end tests of Vantel.exe: main takes the program's path and the folder of
// the help texts, as Linux or Windows paths, after GoogleTest's own options.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/vantel_e2e/driver.h"

namespace {

// Under Wine a Linux path given on the command line is turned into the Windows path
// of the same file; elsewhere the path is used as it is.
std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  using ToDos = LPWSTR(CDECL*)(LPCSTR);
  auto to_dos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (!to_dos) return path;
  LPWSTR dos = to_dos(path.c_str());
  if (!dos) return path;
  std::string result = e2e::To1252(dos);
  HeapFree(GetProcessHeap(), 0, dos);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: vantel_e2e [gtest options] VANTEL_EXE [HELP_FOLDER]\n");
    return 2;
  }
  e2e::g_vantel_exe = WindowsPath(argv[1]);
  if (argc > 2) e2e::g_help_dir = WindowsPath(argv[2]);
  if (GetFileAttributesA(e2e::g_vantel_exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "no program at %s\n", e2e::g_vantel_exe.c_str());
    return 2;
  }
  return RUN_ALL_TESTS();
}
