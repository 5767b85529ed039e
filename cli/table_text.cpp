// The lines of a table: a header, then k, a_k, S_k and P_k for each k, as tab-separated text or CSV.
#include "cli/table_text.h"

#include "cli/output.h"
#include "encoding/cp1252.h"
#include "engine/result.h"
#include "engine/table.h"
#include "format/number_text.h"

std::string ShownText(std::int32_t code, const ShortString& text) {
  return code == kNoError ? text.str() : ConsoleText(Cp1252ToUtf8(text.view()), true);
}

void WriteTable(const ShortString& formula, std::uint16_t n, TableForm form, Language language,
                const std::function<bool(std::string_view)>& write) {
  const bool csv = form != TableForm::kTabs;
  const bool semicolon = form == TableForm::kCsvSemicolon;
  const std::string end = csv ? "\r\n" : "\n";
  const char sep = semicolon ? ';' : csv ? ',' : '\t';
  auto field = [&](std::int32_t code, double value) {
    std::string text =
        ShownText(code, code == kNoError ? FormatNumber(value) : ShortString(ResultText(language, code)));
    if (semicolon && code == kNoError) text = DecimalCommaNumber(text);
    return csv ? CsvField(text, sep) : TabField(text);
  };
  bool writing =
      write(std::string(semicolon ? kUtf8ByteOrderMark : "") + "k" + sep + "a_k" + sep + "S_k" + sep + "P_k" + end);
  ComputeTable(formula, n, [&](const TableRow& row) {
    if (!writing) return;  // the output is lost already: only the rest of the computation is left
    writing = write(std::to_string(row.k) + sep + field(row.a_code, row.a) + sep + field(row.s_code, row.s) + sep +
                    field(row.p_code, row.p) + end);
  });
}
