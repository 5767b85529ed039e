// Vantel: a calculator for the terms, partial sums and partial products of a
// sequence given by its general term a(n).
#include <windows.h>

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "app/vantel_state.h"
#include "dllsearch/dll_search.h"
#include "engine/dialog_state.h"
#include "winhelpers/message_box.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  SearchDllsInSystemFolderOnly();
  EngineStartup();
  StartArguments start = ReadStartArguments(SplitArguments(GetCommandLineA()));
  App.ArgFormula = start.formula;
  App.ArgN = start.n;
  if (!start.refusal.empty()) ShowMessage(kStartCaption, start.refusal);
  DialogBoxParamA(instance, "dialegserie", nullptr, MainDialogProc, 0);
  return 0;
}
