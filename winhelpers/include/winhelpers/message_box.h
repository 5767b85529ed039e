// The plain message box through which the user is told that an input was rejected.
#pragma once

#include "format/short_string.h"

// A modal box owned by the active window, with the caption, the text and an OK
// button only; returns when the user has closed it.
void ShowMessage(const ShortString& caption, const ShortString& text);
