// What the form does: loading it, and what the user does in it.
#pragma once

#include <windows.h>

#include <string>

#include "tools/language.h"

// Shows a notice (wParam) once the form is on the screen.
inline constexpr UINT kShowNotice = WM_APP;

// Loads the form: the list file's place, the language with its captions, the list.
// commandText is the argument text of the command line.
void LoadForm(const std::string& commandText);

// Posts what the user is to be told about the list file once the form is shown.
void PostReadNotice();

// A command of the form's controls.
void OnCommand(int id, int code);

// Tells the user a notice in a message box with an OK button.
void Notify(Notice notice);
