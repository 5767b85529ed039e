// Quoting of texts for the CLI's console, JSON, CSV and tab-separated output.
// Every text comes out as valid UTF-8.
#pragma once

#include <string>
#include <string_view>

// A text as the console shows it: malformed UTF-8 becomes U+FFFD, and control
// characters (C0, DEL and C1) are written as "\x1B" and the like, so that no
// text can move the cursor or retitle the terminal. With keep_line_breaks the
// pairs CR LF stay as they are (the line breaks of a result text).
std::string ConsoleText(std::string_view utf8, bool keep_line_breaks = false);
// A JSON string literal (malformed UTF-8 becomes U+FFFD; control characters
// escaped).
std::string JsonString(std::string_view utf8);
// An RFC 4180 field: quoted when it holds a comma, a double quote or a line break.
std::string CsvField(std::string_view text);
// A tab-separated field: each line break (CR LF, CR or LF) and tab becomes one space.
std::string TabField(std::string_view text);
