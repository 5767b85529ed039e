// What Tools keeps while it runs: the list, the form's state and its window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "tools/language.h"
#include "tools/tool_list.h"
#include "tools_ids.h"

// Everything Tools keeps while it runs.
struct ToolsProgram {
  ToolList list;                             // ToolTable and ToolCount
  std::uint16_t CurrentTool = 0;             // slot shown in the edit panel; 0: a new tool
  std::int16_t language = kLanguageCatalan;  // the interface language
  bool HostMode = false;                     // the language came neither from the command line nor from "Lng.txt"
  bool FormLoaded = false;                   // false until the end of loading
  std::filesystem::path StartFolder;         // the current folder when the form loads
  std::filesystem::path listFile;            // the full path of "Tools.rel", taken when the form loads
  bool listWritable = true;                  // false when no folder can take it (told at start)
  ToolsFileReading listRead;                 // what reading it then found
  const ::HostForm* HostForm = nullptr;      // never set in Tools itself

  HWND form = nullptr;
  int dpi = 96;              // the form's DPI: its layout in twips is scaled to it
  HFONT font = nullptr;      // the form's font
  HFONT signFont = nullptr;  // of "+" and "-"
  HBITMAP okEditPicture = nullptr;
  WNDPROC editProc = nullptr;  // the edit class's own procedure, under the Enter handling
  HWND lastFocus = nullptr;    // given back the focus when the form is activated again
  bool quitOnClose = true;     // closing the form ends the message loop

  // The dialogs the form shows; tests put their own answers here.
  int (*messageBox)(HWND owner, const char* text, const char* caption, UINT type) = nullptr;
  bool (*openFile)(HWND owner, std::wstring& path) = nullptr;
};

inline ToolsProgram g_tools;

// A control of the form by its id.
inline HWND FormItem(int id) { return GetDlgItem(g_tools.form, id); }

// The edit field Ed(k), k from 0 to 3: title, file, work directory, parameters.
inline HWND Ed(int k) { return FormItem(IDC_ED0 + k); }
