// The form's four edit fields Ed(0) to Ed(3): Unicode windows whose texts are
// moved to and from the list file's code page, and in which Enter moves on.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Creates the field with the control id, in the form, and puts the Enter
// handling under it.
HWND CreateField(DWORD exStyle, DWORD style, int id, HINSTANCE instance);

// The text of field k in the list file's code page; false when it holds what
// the list file cannot keep.
bool FieldText(int k, std::string& text);

// Sets field k to a text of the list file's code page.
void SetFieldText(int k, std::string_view text);
