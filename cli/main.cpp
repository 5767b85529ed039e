// vantel-cli entry: collects the arguments as UTF-8 and runs the command.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
// windows.h comes first: shellapi.h needs its types.
#include <windows.h>
// after windows.h
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "dllsearch/dll_search.h"
#include "widenames/wide_names.h"

// Windows hands the arguments over as UTF-16: convert them to UTF-8.
static std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i) args.push_back(Utf8Of(wide[i]));
  LocalFree(wide);
  return args;
}
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  SearchDllsInSystemFolderOnly();
  // UTF-8 bytes go out unchanged: no text-mode translation of line ends.
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  (void)argc;
  (void)argv;
  std::vector<std::string> args = Arguments();
#else
  std::vector<std::string> args(argv + 1, argv + argc);
#endif
  // RunCli flushes the output itself and reports what could not be written.
  return RunCli(args, std::cout, std::cerr);
}
