// Finding files, opening text files, Notepad with a help text, the program's name and file year, captions.
#include "winhelpers/files.h"

#include <vector>

#include "format/number_text.h"
#include "portable/paths.h"
#include "userfiles/file_place.h"
#include "userfiles/folders.h"

namespace {

constexpr DWORD kVolumeLabel = 0x8;  // the old volume-label attribute bit
constexpr int kModuleNameBuffer = 255;
// What a file whose year is shown may not be.
constexpr DWORD kNotForYear = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | kVolumeLabel;

// Calls accept for each entry that matches the name until it returns true.
template <typename Accept>
bool FindEntry(const ShortString& name, Accept accept) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool result = false;
  do {
    if (accept(found)) {
      result = true;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

// The year of a file's last change in local time.
ShortString YearText(FILETIME written) {
  FILETIME local{};
  FileTimeToLocalFileTime(&written, &local);
  // The packed file date counts years from 1980 in seven bits.
  WORD date = 0, time = 0;
  if (FileTimeToDosDateTime(&local, &date, &time)) return IntText(1980 + (date >> 9));
  SYSTEMTIME parts{};
  FileTimeToSystemTime(&local, &parts);
  return IntText(parts.wYear);
}

}  // namespace

bool FileExists(const ShortString& name) {
  constexpr DWORD kExcluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | kVolumeLabel;
  return FindEntry(name, [](const WIN32_FIND_DATAA& entry) { return (entry.dwFileAttributes & kExcluded) == 0; });
}

bool OpenTextForReading(const ShortString& name, TextFile* file) {
  if (!FileExists(name)) return false;
  OpenForReading(file, name.c_str());
  return true;
}

FileOpening OpenTextAt(const std::string& path, TextFile* file) {
  unsigned long attributes = 0;
  if (!PathIsFile(path, &attributes)) return FileOpening::kMissing;
  if (attributes & (FILE_ATTRIBUTE_SYSTEM | kVolumeLabel)) return FileOpening::kNotRead;
  AttachForReading(file, OpenFileForReading(path));
  return FileOpening::kOpened;
}

bool OpenHelpText(const char* name) {
  wchar_t system[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::wstring notepad = WideOf(JoinPath(Utf8Of(system), "notepad.exe"));
  const std::wstring line = WideOf(OpenFileCommandLine(Utf8Of(notepad), HelpTextPath(name)));
  std::vector<wchar_t> command(line.begin(), line.end());
  command.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  // The program is named, so the command line is never searched for along the path.
  if (!CreateProcessW(notepad.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

bool OpenTextForWriting(const ShortString& name, TextFile* file) { return OpenForWriting(file, name.c_str()); }

ShortString ProgramPath() {
  char buffer[kModuleNameBuffer] = {};
  GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, kModuleNameBuffer);
  buffer[kModuleNameBuffer - 1] = '\0';
  return ShortString(buffer);
}

ShortString ProgramName() { return BaseNameOf(ProgramPath()); }

ShortString FileYearText(const ShortString& name) {
  FILETIME written{};
  bool found = FindEntry(name, [&](const WIN32_FIND_DATAA& entry) {
    if ((entry.dwFileAttributes & kNotForYear) != 0) return false;
    written = entry.ftLastWriteTime;
    return true;
  });
  return found ? YearText(written) : ShortString();
}

ShortString ProgramFileYearText() {
  // The wide path: a folder named outside the ANSI code page, or a path longer
  // than 254 characters, still names the file.
  WIN32_FILE_ATTRIBUTE_DATA entry{};
  if (!GetFileAttributesExW(WideOf(ProgramFile()).c_str(), GetFileExInfoStandard, &entry)) return {};
  if ((entry.dwFileAttributes & kNotForYear) != 0) return {};
  return YearText(entry.ftLastWriteTime);
}

std::uint16_t RunProgram(const ShortString& command_line) {
  return static_cast<std::uint16_t>(WinExec(command_line.c_str(), SW_SHOWNORMAL) & 0xFFFF);
}

void SetCaption(HWND window, const ShortString& text) { SetWindowTextA(window, text.c_str()); }
