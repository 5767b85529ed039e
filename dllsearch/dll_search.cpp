// SearchDllsInSystemFolderOnly: SetDefaultDllDirectories, looked up at run time, set to the system folder.
#include "dllsearch/dll_search.h"

#include <windows.h>

bool SearchDllsInSystemFolderOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  auto setDirectories = kernel32 != nullptr ? reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
                                                  GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                                            : nullptr;
  return setDirectories != nullptr && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
