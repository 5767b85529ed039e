// Tools: the editor of the tool list "Tools.rel".
#include <windows.h>

#include "dllsearch/dll_search.h"
#include "tools/form.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  SearchDllsInSystemFolderOnly();
  HWND form = OpenToolsForm(instance, CommandText(GetCommandLineA()), show);
  if (!form) return 1;
  return RunToolsForm(form);
}
