#include "tests/vantel_e2e/driver.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>

namespace e2e {

std::string g_vantel_exe;
std::string g_help_dir;

const char kDialogTitle[] = "S\350ries: c\340lcul dels termes an, Sn, Pn";

namespace {

constexpr DWORD kSendMs = 5000;  // for a message that opens nothing modal
constexpr UINT kCodePage = 1252;

LRESULT SendNow(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

struct WindowWalk {
  DWORD pid;
  const std::function<void(HWND)>* visit;
};

BOOL CALLBACK VisitIfOwned(HWND window, LPARAM data) {
  auto* walk = reinterpret_cast<WindowWalk*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == walk->pid) (*walk->visit)(window);
  return TRUE;
}

// The ids of the running processes whose program is Vantel.exe.
std::vector<DWORD> VantelProcesses() {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "Vantel.exe") == 0) found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

// Calls `visit` for every top-level window that belongs to process `pid`.
void ForEachWindowOf(DWORD pid, const std::function<void(HWND)>& visit) {
  WindowWalk walk{pid, &visit};
  EnumWindows(VisitIfOwned, reinterpret_cast<LPARAM>(&walk));
}

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

// The title of a top-level window as the system keeps it (nothing is sent).
std::string TitleOf(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return To1252(buffer);
}

void SendKeys(HWND edit, const std::string& text) {
  const std::wstring wide = From1252(text);
  for (wchar_t c : wide) SendNow(edit, WM_CHAR, c, 1);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string To1252(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size =
      WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(size, '\0');
  WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

std::wstring From1252(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string WindowText(HWND window) {
  const LRESULT length = SendNow(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendNow(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return To1252(buffer);
}

std::string ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return To1252(buffer);
}

TempFolder::TempFolder() {
  static int counter = 0;
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  for (;;) {
    path_ = std::string(base) + "vantel-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot create " << path_;
      break;
    }
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

Vantel::Vantel(const std::string& folder, const std::string& arguments, const std::string& program) {
  std::string line = "\"" + program + "\"";
  if (!arguments.empty()) line += " " + arguments;
  std::vector<char> command(line.begin(), line.end());
  command.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info_)) {
    ADD_FAILURE() << "cannot start " << line << " (error " << GetLastError() << ")";
    info_ = {};
  }
}

Vantel::Vantel(const std::wstring& folder, const std::wstring& program) {
  std::wstring line = L"\"" + program + L"\"";
  std::vector<wchar_t> command(line.begin(), line.end());
  command.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info_)) {
    ADD_FAILURE() << "cannot start the program (error " << GetLastError() << ")";
    info_ = {};
  }
}

Vantel::Vantel(const Shortcut& shortcut) {
  const std::vector<DWORD> before = VantelProcesses();
  SHELLEXECUTEINFOA execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS;
  execute.lpVerb = "open";
  execute.lpFile = shortcut.link.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&execute)) {
    ADD_FAILURE() << "cannot open " << shortcut.link << " (error " << GetLastError() << ")";
    return;
  }
  if (execute.hProcess) {
    info_.hProcess = execute.hProcess;
    info_.dwProcessId = GetProcessId(execute.hProcess);
    return;
  }
  // Wine's shell hands back no process for a shortcut: the program is the Vantel.exe
  // that was not running before.
  DWORD pid = 0;
  WaitFor(
      [&] {
        for (DWORD candidate : VantelProcesses())
          if (std::find(before.begin(), before.end(), candidate) == before.end()) pid = candidate;
        return pid != 0;
      },
      kStartWaitMs);
  info_.hProcess = pid ? OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid) : nullptr;
  if (!info_.hProcess) {
    ADD_FAILURE() << "no Vantel.exe started by " << shortcut.link;
    return;
  }
  info_.dwProcessId = pid;
}

Vantel::~Vantel() {
  if (info_.hProcess) {
    if (Running()) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, kExitWaitMs);
    }
  }
  // With the process gone every pending send returns.
  for (auto& sender : senders_) sender.join();
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

bool Vantel::Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool Vantel::Open() {
  const ULONGLONG end = GetTickCount64() + kStartWaitMs;
  for (;;) {
    if (!dialog_) {
      ForEachWindowOf(info_.dwProcessId, [&](HWND window) {
        if (ClassOf(window) == "#32770" && TitleOf(window) == kDialogTitle) dialog_ = window;
      });
    }
    if (HWND box = FindMessageBox()) {
      startup_boxes.push_back(Answer(box));
      continue;
    }
    if (dialog_ && IsWindowVisible(dialog_)) return true;
    if (!Running() || GetTickCount64() > end) return false;
    Sleep(10);
  }
}

HWND Vantel::FormulaEdit() const { return FindWindowExW(Item(101), nullptr, L"Edit", nullptr); }

HWND Vantel::FindMessageBox() const {
  HWND box = nullptr;
  ForEachWindowOf(info_.dwProcessId, [&](HWND window) {
    if (!box && window != dialog_ && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        TitleOf(window) != kDialogTitle)
      box = window;
  });
  return box;
}

HWND Vantel::FindAboutWindow(int* count) const {
  HWND about = nullptr;
  int seen = 0;
  ForEachWindowOf(info_.dwProcessId, [&](HWND window) {
    if (IsWindowVisible(window) && ClassOf(window) == "FerSobre") {
      ++seen;
      if (!about) about = window;
    }
  });
  if (count) *count = seen;
  return about;
}

SeenBox Vantel::Answer(HWND box) {
  SeenBox seen;
  seen.caption = TitleOf(box);
  seen.dialog_visible = dialog_ && IsWindowVisible(dialog_);
  HWND ok = nullptr;
  std::string longest_static;
  for (HWND child : ChildrenOf(box)) {
    const std::string kind = ClassOf(child);
    if (kind == "Button" && IsWindowVisible(child)) {
      ++seen.buttons;
      if (!ok || GetDlgCtrlID(child) == IDOK) ok = child;
    } else if (kind == "Static") {
      std::string text = WindowText(child);
      if (text.size() > longest_static.size()) longest_static = text;
    }
  }
  // The text of a message box is the static control with id 0xFFFF.
  HWND text = GetDlgItem(box, 0xFFFF);
  seen.text = text ? WindowText(text) : longest_static;
  if (ok) PostMessageW(ok, BM_CLICK, 0, 0);
  if (!WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kSendMs)) {
    ADD_FAILURE() << "message box \"" << seen.caption << "\" did not close";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return seen;
}

std::shared_ptr<std::atomic<bool>> Vantel::SendLater(HWND target, UINT message, WPARAM wparam, LPARAM lparam) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  senders_.emplace_back([=] {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(target, message, wparam, lparam, SMTO_NORMAL, 10 * kActionWaitMs, &result);
    *done = true;
  });
  return done;
}

std::vector<SeenBox> Vantel::Settle(const std::shared_ptr<std::atomic<bool>>& done, DWORD wait_ms) {
  std::vector<SeenBox> seen;
  const ULONGLONG end = GetTickCount64() + wait_ms;
  while (!*done) {
    if (HWND box = FindMessageBox()) {
      seen.push_back(Answer(box));
      continue;
    }
    if (GetTickCount64() > end) {
      ADD_FAILURE() << "the program did not finish handling an action in time";
      break;
    }
    Sleep(5);
  }
  return seen;
}

void Vantel::Type(int id, const std::string& text) {
  HWND edit = id == 101 ? FormulaEdit() : Item(id);
  SendNow(edit, EM_SETSEL, 0, -1);
  SendNow(edit, WM_CHAR, VK_BACK, 1);
  SendKeys(edit, text);
}

void Vantel::TypeMore(int id, const std::string& text) {
  HWND edit = id == 101 ? FormulaEdit() : Item(id);
  const LRESULT length = SendNow(edit, WM_GETTEXTLENGTH, 0, 0);
  SendNow(edit, EM_SETSEL, length, length);
  SendKeys(edit, text);
}

std::string Vantel::Text(int id) const { return WindowText(Item(id)); }

bool Vantel::Checked(int id) const { return SendNow(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool Vantel::Enabled(int id) const { return IsWindowEnabled(Item(id)); }

int Vantel::Thumb() const { return static_cast<int>(SendNow(Item(20), SBM_GETPOS, 0, 0)); }

std::vector<std::string> Vantel::History() const {
  std::vector<std::string> entries;
  HWND combo = Item(101);
  const LRESULT count = SendNow(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendNow(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring buffer(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    const LRESULT got = SendNow(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
    entries.push_back(To1252(buffer));
  }
  return entries;
}

std::vector<SeenBox> Vantel::Click(int id) { return Settle(SendLater(Item(id), BM_CLICK, 0, 0)); }

std::vector<SeenBox> Vantel::Menu(int id) { return Settle(SendLater(dialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0)); }

std::vector<SeenBox> Vantel::Calculate(const std::string& formula, const std::string& n) {
  Type(101, formula);
  Type(102, n);
  return Click(3);
}

std::vector<SeenBox> Vantel::Scroll(int code, int thumb) {
  return Settle(SendLater(dialog_, WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(Item(20))));
}

std::vector<SeenBox> Vantel::Arrow(bool right) {
  std::vector<SeenBox> seen = Scroll(right ? SB_LINERIGHT : SB_LINELEFT);
  std::vector<SeenBox> more = Scroll(SB_ENDSCROLL);
  seen.insert(seen.end(), more.begin(), more.end());
  return seen;
}

std::vector<SeenBox> Vantel::Choose(int position) {
  HWND combo = Item(101);
  SendNow(combo, CB_SETCURSEL, position - 1, 0);
  return Settle(SendLater(dialog_, WM_COMMAND, MAKEWPARAM(101, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo)));
}

void Vantel::PostKey(int id, WPARAM key) {
  HWND target = id == 101 ? FormulaEdit() : Item(id);
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
}

bool Vantel::WaitExit(DWORD* exit_code, DWORD wait_ms) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, wait_ms) != WAIT_OBJECT_0) return false;
  if (exit_code) GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

namespace {

struct NotepadSearch {
  DWORD not_pid;
  HWND found;
};

BOOL CALLBACK CheckForNotepad(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<NotepadSearch*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->not_pid && IsWindowVisible(window) && ClassOf(window) == "Notepad") search->found = window;
  return search->found == nullptr;
}

}  // namespace

HWND FindNotepad(DWORD not_pid) {
  NotepadSearch search{not_pid, nullptr};
  EnumWindows(CheckForNotepad, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void EndNotepad(HWND notepad) {
  DWORD pid = 0;
  GetWindowThreadProcessId(notepad, &pid);
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (process) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, kExitWaitMs);
    CloseHandle(process);
  }
}

}  // namespace e2e
