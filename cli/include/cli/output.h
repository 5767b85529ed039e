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
// An RFC 4180 field: quoted when it holds the separator, a double quote or a
// line break.
std::string CsvField(std::string_view text, char separator = ',');
// The byte-order mark that spreadsheets need to read a CSV file as UTF-8.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// A FormatNumber text as a spreadsheet with the decimal comma reads it as a
// number: "," for the point, no blank in front, no point left alone before the
// exponent and no leading zeros in it ("1.E+20" gives "1E+20", " 1.5000000000000000E+0036"
// gives "1,5000000000000000E+36"). The digits stay, so the value is the same.
std::string DecimalCommaNumber(std::string_view number);
// A tab-separated field: each line break (CR LF, CR or LF) and tab becomes one space.
std::string TabField(std::string_view text);
