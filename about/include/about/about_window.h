// The about window: a top-level window of class "FerSobre" with the program's
// name, a description, the author line, the web (and mail) line, the program
// icon and a button with a random exclamation.
#pragma once

#include <windows.h>

#include "engine/messages.h"
#include "format/short_string.h"

// Opens the about window with the description and the author's mail address,
// its texts in the language, and returns when it has been closed. While it is
// open a second request only brings it to the front.
void ShowAboutWindow(const ShortString& description, Language language);

// Opens the window, runs its message loop until the window is destroyed and
// cleans up. The result is the quit code: wParam of the WM_CLOSE that closed
// it. A registration or creation failure is shown in a message box and gives -1
// at once.
int RunAboutWindow(const ShortString& description, const ShortString& mail, Language language);

// The open about window, or none.
HWND AboutWindowHandle();

// Closes the about window if it is open (its loop then ends).
void CloseAboutWindow();

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
