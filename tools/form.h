// The form FTools: the window of Tools.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "tools/language.h"
#include "tools/tool_list.h"

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

extern ToolsProgram g_tools;

// The text shown when RefreshToolMenu finds no host form, in every language.
inline constexpr const char* kNoFormText = "No Form";
// The caption of message boxes that have none of their own: the program's title.
inline constexpr const char* kProgramTitle = "Tools";

// Registers the form's class, creates the form, loads it (language, list) and
// shows it. commandText is the argument text of the command line.
HWND OpenToolsForm(HINSTANCE instance, const std::string& commandText, int show);

// The form's message loop (Tab moves between the controls); returns when the form closes.
int RunToolsForm(HWND form);

// The open-file dialog DlgFtx: a full path, or false on a cancel or a failure.
// The current folder stays where it was.
bool ShowOpenFileDialog(HWND owner, std::wstring& path);
