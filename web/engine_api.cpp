// The web page's C functions: term requests, tables, pictures and the history, each answered as JSON text.
#include "web/engine_api.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/history.h"
#include "cli/output.h"
#include "cli/plot.h"
#include "cli/table_text.h"
#include "encoding/cp1252.h"
#include "portable/field_text.h"
#include "portable/text_file.h"
#include "resources/version.h"
#include "termrequest/term_texts.h"

namespace {

// The answer of the last call, kept for the caller until the next one.
std::string last_answer;

const char* Answer(std::string json) {
  last_answer = std::move(json);
  return last_answer.c_str();
}

std::string_view Text(const char* utf8) { return utf8 ? std::string_view(utf8) : std::string_view(); }

// A Windows-1252 text as a JSON string.
std::string Json(std::string_view cp1252) { return JsonString(Cp1252ToUtf8(cp1252)); }

std::string Bool(bool b) { return b ? "true" : "false"; }

// The check and the reading of n, as the dialog's fields would hold the texts:
// true to go on with *request, false with the stop's JSON in *stop.
bool Start(const char* formula_utf8, const char* n_utf8, const TickedSlots& ticked, Language language,
           TermTexts* request, std::string* stop) {
  const std::string formula = Utf8ToCp1252(Text(formula_utf8));
  if (formula.size() > kFieldTextLength) {
    // The field holds no more, and a formula cut short would compute another one.
    *stop = "{\"stop\":\"formula\",\"caption\":\"* error *\",\"text\":" +
            JsonString("the formula is longer than " + std::to_string(kFieldTextLength) + " characters (it has " +
                       std::to_string(formula.size()) + ")") +
            ",\"shown\":true}";
    return false;
  }
  *request = RequestTerms(ShortString(formula), Utf8ToCp1252(Text(n_utf8)), ticked, language);
  const CheckMessage& m = request->message;
  switch (request->stop) {
    case RequestStop::kNone:
      return true;
    case RequestStop::kFormulaRejected:
      *stop = "{\"stop\":\"formula\",\"caption\":" + Json(m.caption) + ",\"text\":" + Json(m.text) +
              ",\"shown\":" + Bool(m.shown) + "}";
      return false;
    case RequestStop::kBadN:
      break;
  }
  *stop = "{\"stop\":\"n\",\"caption\":" + Json(m.caption) + ",\"text\":" + Json(m.text) + "}";
  return false;
}

// The entries of a list with one entry per line (LF between them), as the
// history holds them: Windows-1252, at most 255 characters each.
std::vector<ShortString> Entries(const char* lines_utf8) {
  std::vector<ShortString> entries;
  const std::string_view lines = Text(lines_utf8);
  if (lines.empty()) return entries;
  for (std::size_t start = 0;;) {
    const std::size_t end = lines.find('\n', start);
    entries.emplace_back(Utf8ToCp1252(lines.substr(start, end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return entries;
}

std::string JsonList(const std::vector<ShortString>& entries) {
  std::string json = "[";
  for (const ShortString& entry : entries) {
    if (json.size() > 1) json += ',';
    json += Json(entry.view());
  }
  return json + "]";
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = bytes.size() - i < 3 ? bytes.size() - i : 3;
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) out += k <= count ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

}  // namespace

const char* vantel_request(const char* formula, const char* n_text, int want, int lang) {
  const TickedSlots ticked = {(want & 1) != 0, (want & 2) != 0, (want & 4) != 0};
  TermTexts request;
  std::string stop;
  if (!Start(formula, n_text, ticked, ValidLanguage(lang), &request, &stop)) return Answer(stop);
  std::string json = "{\"stop\":\"none\",\"n\":" + std::to_string(request.n) + ",\"nFilled\":" + Bool(request.n_filled);
  static constexpr const char* kNames[kSlotCount] = {"a", "S", "P"};
  for (int i = 0; i < kSlotCount; ++i) {
    const SlotResult& slot = request.slots[i];
    json += std::string(",\"") + kNames[i] + "\":";
    json += slot.computed ? "{\"code\":" + std::to_string(slot.code) + ",\"text\":" + Json(slot.text.view()) + "}"
                          : std::string("null");
  }
  return Answer(json + "}");
}

const char* vantel_table(const char* formula, const char* n_text, int lang, int form) {
  const Language language = ValidLanguage(lang);
  TermTexts request;
  std::string stop;
  if (!Start(formula, n_text, {false, false, false}, language, &request, &stop)) return Answer(stop);
  std::string text;
  const TableForm table_form = form == 2 ? TableForm::kCsvSemicolon : form == 1 ? TableForm::kCsv : TableForm::kTabs;
  WriteTable(ShortString(Utf8ToCp1252(Text(formula))), static_cast<std::uint16_t>(request.n), table_form, language,
             [&](std::string_view line) {
               text += line;
               return true;
             });
  return Answer("{\"stop\":\"none\",\"text\":" + JsonString(text) + "}");
}

const char* vantel_plot(const char* formula, const char* n_text, int lang, int log_axis) {
  const Language language = ValidLanguage(lang);
  TermTexts request;
  std::string stop;
  if (!Start(formula, n_text, {false, false, false}, language, &request, &stop)) return Answer(stop);
  const std::string svg = PlotSvg(ShortString(Utf8ToCp1252(Text(formula))), static_cast<std::uint16_t>(request.n),
                                  log_axis != 0 ? PlotScale::kLog : PlotScale::kLinear, language);
  return Answer("{\"stop\":\"none\",\"svg\":" + JsonString(svg) + "}");
}

const char* vantel_history_read(const unsigned char* bytes, int length) {
  std::vector<ShortString> entries;
  bool whole = true;  // an empty file is read whole
  if (bytes != nullptr && length > 0) {
    TextFile file;
    // The bytes are only read: the stream is opened read-only.
    AttachForReading(&file, fmemopen(const_cast<unsigned char*>(bytes), static_cast<std::size_t>(length), "rb"));
    whole = ReadHistoryLines(&file, 0, [&](const ShortString& line) { entries.push_back(line); });
  }
  return Answer("{\"whole\":" + Bool(whole) + ",\"entries\":" + JsonList(entries) + "}");
}

const char* vantel_history_merge(const char* held, const char* added) {
  bool full = false;
  const std::vector<ShortString> merged = MergeHistory(Entries(held), Entries(added), &full);
  return Answer("{\"entries\":" + JsonList(merged) + ",\"full\":" + Bool(full) + "}");
}

const char* vantel_history_write(const char* entries) {
  return Answer("{\"base64\":\"" + Base64(HistoryFileBytes(Entries(entries))) + "\"}");
}

const char* vantel_version(void) { return Answer("{\"version\":\"" VANTEL_VERSION_TEXT "\"}"); }
