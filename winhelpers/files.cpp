#include "winhelpers/files.h"

#include "format/number_text.h"
#include "winhelpers/paths.h"

namespace {

constexpr DWORD kVolumeLabel = 0x8;  // the old volume-label attribute bit
constexpr int kModuleNameBuffer = 255;

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

bool OpenTextForWriting(const ShortString& name, TextFile* file) { return OpenForWriting(file, name.c_str()); }

ShortString ProgramPath() {
  char buffer[kModuleNameBuffer] = {};
  GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, kModuleNameBuffer);
  buffer[kModuleNameBuffer - 1] = '\0';
  return ShortString(buffer);
}

ShortString ProgramName() { return BaseNameOf(ProgramPath()); }

ShortString FileYearText(const ShortString& name) {
  constexpr DWORD kExcluded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | kVolumeLabel;
  FILETIME written{};
  bool found = FindEntry(name, [&](const WIN32_FIND_DATAA& entry) {
    if ((entry.dwFileAttributes & kExcluded) != 0) return false;
    written = entry.ftLastWriteTime;
    return true;
  });
  if (!found) return {};
  FILETIME local{};
  FileTimeToLocalFileTime(&written, &local);
  // The packed file date counts years from 1980 in seven bits.
  WORD date = 0, time = 0;
  if (FileTimeToDosDateTime(&local, &date, &time)) return IntText(1980 + (date >> 9));
  SYSTEMTIME parts{};
  FileTimeToSystemTime(&local, &parts);
  return IntText(parts.wYear);
}

std::uint16_t RunProgram(const ShortString& command_line) {
  return static_cast<std::uint16_t>(WinExec(command_line.c_str(), SW_SHOWNORMAL) & 0xFFFF);
}

void SetCaption(HWND window, const ShortString& text) { SetWindowTextA(window, text.c_str()); }
