// Taking a path apart: "\" separates folders, the last "." starts the extension.
#pragma once

#include "format/short_string.h"

// The part after the last "\"; the whole path when it has none.
ShortString FileNameOf(const ShortString& path);

// FileNameOf(path) without its extension: the part before the last "." of the
// file name; the whole file name when it has no ".". Dots in folder names are not
// looked at.
ShortString BaseNameOf(const ShortString& path);
