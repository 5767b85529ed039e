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

// Under Wine without a window manager, every window that is hidden (each message box
// that closes) waits two seconds for the manager's answer. The program under test needs
// no manager, so Wine is told, for Vantel.exe alone, not to hand its windows to one;
// the setting is removed again at the end.
class UnmanagedWindows {
 public:
  UnmanagedWindows() {
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) return;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    had_value_ = RegQueryValueExA(key_, "Managed", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    if (!had_value_) RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  }
  ~UnmanagedWindows() {
    if (!key_) return;
    if (!had_value_) RegDeleteValueA(key_, "Managed");
    RegCloseKey(key_);
  }

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\Vantel.exe\\X11 Driver";
  HKEY key_ = nullptr;
  bool had_value_ = false;
};

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
  UnmanagedWindows unmanaged;
  return RUN_ALL_TESTS();
}
