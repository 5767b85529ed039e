// vantel-dialog-times: how long Vantel.exe takes to open and to close with a long
// formula history, for one or more builds of it side by side in one run.
//
//   vantel-dialog-times [--lines N] [--runs R] [--managed] VANTEL_EXE...
//
// Each run writes an "ults.rel" of N lines (65535 by default, the most the list
// holds) into a fresh folder and starts every build in turn there. Opening is the
// time from starting the process until its dialog shows with the whole list;
// closing is the time from the close command (command 2, "&Prou!") until the
// process has ended, the file written back. Wine, when used, should already be
// running, so that its own start-up is not counted. The medians are printed, and
// each build's ratio to the first one.
//
// Under Wine without a window manager (Xvfb) every shown window that is destroyed
// waits two seconds for the manager's answer, which would be counted in every
// close; as the end-to-end tests do, Wine is told for the time of the run not to
// hand Vantel.exe's windows to a manager (--managed keeps Wine's default).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kDialogTitle[] = "S\350ries: c\340lcul dels termes an, Sn, Pn";
constexpr int kFormulaCombo = 101;
constexpr DWORD kWaitMs = 120000;  // for one opening or closing, whatever the build

struct Found {
  DWORD pid;
  HWND dialog;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (owner == found->pid && IsWindowVisible(window) && std::string(title) == kDialogTitle) {
    found->dialog = window;
    return FALSE;
  }
  return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

bool WriteHistory(const std::string& path, int lines, std::string* bytes) {
  bytes->clear();
  for (int i = 0; i < lines; ++i) *bytes += "n+" + std::to_string(i) + "\r\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr) && written == bytes->size();
  CloseHandle(file);
  return ok;
}

std::string ReadHistory(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

struct Times {
  double open = 0;
  double close = 0;
  bool ok = false;
};

// One opening and closing of `program` in `folder`.
Times TimeOnce(const std::string& program, const std::string& folder, int lines, const std::string& history) {
  Times times;
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const LARGE_INTEGER started = Now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start %s\n", program.c_str());
    return times;
  }
  Found found{process.dwProcessId, nullptr};
  const ULONGLONG deadline = GetTickCount64() + kWaitMs;
  while (found.dialog == nullptr && GetTickCount64() < deadline) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&found));
    if (found.dialog == nullptr) Sleep(1);
  }
  const LARGE_INTEGER shown = Now();
  if (found.dialog != nullptr) {
    const LRESULT count = SendDlgItemMessageA(found.dialog, kFormulaCombo, CB_GETCOUNT, 0, 0);
    if (count != lines) std::fprintf(stderr, "%s: %ld entries instead of %d\n", program.c_str(), (long)count, lines);
    const LARGE_INTEGER closing = Now();
    PostMessageA(found.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    const bool ended = WaitForSingleObject(process.hProcess, kWaitMs) == WAIT_OBJECT_0;
    const LARGE_INTEGER closed = Now();
    times.open = Seconds(started, shown);
    times.close = Seconds(closing, closed);
    times.ok = ended && count == lines;
    if (ReadHistory(folder + "\\ults.rel") != history) {
      std::fprintf(stderr, "%s: the history was not written back as it was\n", program.c_str());
      times.ok = false;
    }
  } else {
    std::fprintf(stderr, "%s: no dialog within %lu s\n", program.c_str(), kWaitMs / 1000);
  }
  if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return times;
}

// Wine's setting that keeps Vantel.exe's windows away from a window manager,
// removed again at the end; nothing happens outside Wine.
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
  UnmanagedWindows(const UnmanagedWindows&) = delete;
  UnmanagedWindows& operator=(const UnmanagedWindows&) = delete;

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\Vantel.exe\\X11 Driver";
  HKEY key_ = nullptr;
  bool had_value_ = false;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  int lines = 65535;
  int runs = 3;
  bool managed = false;
  std::vector<std::string> programs;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--lines" && i + 1 < argc) {
      lines = std::atoi(argv[++i]);
    } else if (word == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (word == "--managed") {
      managed = true;
    } else {
      programs.push_back(word);
    }
  }
  if (programs.empty() || lines < 0 || runs < 1) {
    std::fprintf(stderr, "usage: vantel-dialog-times [--lines N] [--runs R] [--managed] VANTEL_EXE...\n");
    return 64;
  }

  std::unique_ptr<UnmanagedWindows> unmanaged;
  if (!managed) unmanaged = std::make_unique<UnmanagedWindows>();

  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + "vantel-dialog-times-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\ults.rel";

  std::vector<std::vector<double>> opens(programs.size()), closes(programs.size());
  bool all_ok = true;
  for (int run = 1; run <= runs; ++run) {
    // The builds take turns within each run, so that a slow moment of the
    // machine falls on all of them alike.
    for (std::size_t p = 0; p < programs.size(); ++p) {
      std::string history;
      if (!WriteHistory(file, lines, &history)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return 1;
      }
      const Times t = TimeOnce(programs[p], folder, lines, history);
      all_ok = all_ok && t.ok;
      std::printf("run %d  %-40s open %7.3f s  close %7.3f s%s\n", run, programs[p].c_str(), t.open, t.close,
                  t.ok ? "" : "  (failed)");
      std::fflush(stdout);
      if (t.ok) {
        opens[p].push_back(t.open);
        closes[p].push_back(t.close);
      }
    }
  }
  DeleteFileA(file.c_str());
  DeleteFileA((file + ".tmp").c_str());
  RemoveDirectoryA(folder.c_str());

  std::printf("\n%d lines, median of %d runs:\n", lines, runs);
  const double open0 = Median(opens[0]), close0 = Median(closes[0]);
  for (std::size_t p = 0; p < programs.size(); ++p) {
    const double open = Median(opens[p]), close = Median(closes[p]);
    std::printf("%-40s open %7.3f s (%.2fx)  close %7.3f s (%.2fx)\n", programs[p].c_str(), open,
                open0 > 0 ? open / open0 : 0.0, close, close0 > 0 ? close / close0 : 0.0);
  }
  return all_ok ? 0 : 1;
}
