// The form FTools: the window of Tools.
#pragma once

#include <windows.h>

#include <string>

#include "tools/program.h"

// Registers the form's class, creates the form, loads it (language, list) and
// shows it. commandText is the argument text of the command line.
HWND OpenToolsForm(HINSTANCE instance, const std::string& commandText, int show);

// The form's message loop (Tab moves between the controls); returns when the form closes.
int RunToolsForm(HWND form);

// The open-file dialog DlgFtx: a full path, or false on a cancel or a failure.
// The current folder stays where it was.
bool ShowOpenFileDialog(HWND owner, std::wstring& path);
