// The tables of vantel-cli --table: a_k, S_k and P_k for k = 1 to n as
// tab-separated text, RFC 4180 CSV, or CSV for spreadsheets with the decimal
// comma. The web page's engine writes the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/messages.h"
#include "format/short_string.h"

enum class TableForm {
  kTabs,          // --table
  kCsv,           // --table --csv
  kCsvSemicolon,  // --table --csv-semicolon: ";", the decimal comma, a UTF-8 byte-order mark, CR LF
};

// What a result box shows, as the console shows it: the number text, or the
// text of the code (Windows-1252) in UTF-8 with its own line breaks.
std::string ShownText(std::int32_t code, const ShortString& text);

// Writes the table of a formula that has passed the check, line by line (each
// with its line end), through write; once write gives false (the output is
// lost), the rest is computed but not written.
void WriteTable(const ShortString& formula, std::uint16_t n, TableForm form, Language language,
                const std::function<bool(std::string_view)>& write);
