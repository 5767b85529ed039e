// Loads msimg32.dll by its bare name, as a program or a system DLL on its behalf
// may do while it runs; with the argument "limit" it first limits the search as the
// programs do at their start. Ends with 0 when the DLL was loaded.
#include <windows.h>

#include <cstring>

#include "dllsearch/dll_search.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "limit") == 0 && !SearchDllsInSystemFolderOnly()) return 2;
  return LoadLibraryW(L"msimg32.dll") != nullptr ? 0 : 1;
}
