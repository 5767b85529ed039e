// Quoting of texts for the CLI's JSON, CSV and tab-separated output.
#pragma once

#include <string>
#include <string_view>

// A JSON string literal (UTF-8 in, UTF-8 out; control characters escaped).
std::string JsonString(std::string_view text);
// An RFC 4180 field: quoted when it holds a comma, a double quote or a line break.
std::string CsvField(std::string_view text);
// A tab-separated field: each line break (CR LF, CR or LF) and tab becomes one space.
std::string TabField(std::string_view text);
