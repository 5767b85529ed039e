#include "cli/cli.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "cli/encoding.h"
#include "cli/output.h"
#include "engine/check.h"
#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/sequence.h"
#include "engine/table.h"
#include "format/number_text.h"
#include "format/text.h"
#include "winhelpers/int_reading.h"

namespace {

constexpr std::string_view kUsage =
    "usage: vantel-cli [--lang ca|en|es] [--json] FORMULA [N]\n"
    "       vantel-cli [--lang ca|en|es] --table [--csv] FORMULA N\n"
    "       vantel-cli --help\n"
    "\n"
    "Computes the term a_n, the partial sum S_n and the partial product P_n of the\n"
    "sequence whose general term is FORMULA (in the variable n), as Vantel does.\n"
    "N is a natural number from 1 to 65535 (1 when missing).\n"
    "\n"
    "  --lang ca|en|es  language of the messages and result texts (default ca)\n"
    "  --json           one JSON object on one line\n"
    "  --table          one row for each k from 1 to N: k, a_k, S_k, P_k\n"
    "  --csv            with --table: CSV instead of tab-separated text\n"
    "  --               ends the options (a FORMULA or N may begin with \"-\")\n"
    "\n"
    "Exit codes: 0 computed, 2 formula rejected, 3 bad n, 64 usage.\n";

// The message of the n field, which exists in Catalan only.
constexpr std::string_view kBadNCaption = "* error *";
constexpr std::string_view kBadNText = "nom\351s nombres naturals (enters positius)";
constexpr std::int32_t kLargestN = 65535;  // the quantities count terms in 16 bits

struct Options {
  int language = kCatalan;
  bool json = false;
  bool table = false;
  bool csv = false;
  bool help = false;
  std::vector<std::string> positional;
};

bool ParseLanguage(std::string_view word, int* language) {
  if (word == "ca")
    *language = kCatalan;
  else if (word == "en")
    *language = kEnglish;
  else if (word == "es")
    *language = kSpanish;
  else
    return false;
  return true;
}

// Only the long options of the usage are options; "--" ends them, and every
// other word (also one beginning with "-") is an argument.
bool ParseOptions(const std::vector<std::string>& args, Options* o, std::string* problem) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options_ended) {
      if (a == "--") {
        options_ended = true;
        continue;
      }
      // The flags that take no value.
      const std::pair<const char*, bool*> flags[] = {
          {"--help", &o->help}, {"--json", &o->json}, {"--table", &o->table}, {"--csv", &o->csv}};
      bool* flag = nullptr;
      for (const auto& [word, target] : flags) {
        if (a == word) flag = target;
      }
      if (flag) {
        *flag = true;
        continue;
      }
      if (a == "--lang") {
        if (i + 1 >= args.size() || !ParseLanguage(args[i + 1], &o->language)) {
          *problem = "--lang takes ca, en or es";
          return false;
        }
        ++i;
        continue;
      }
    }
    o->positional.push_back(a);
  }
  if (o->help) return true;
  if (o->positional.empty() || o->positional.size() > 2) {
    *problem = o->positional.empty() ? "a FORMULA is needed" : "too many arguments";
    return false;
  }
  if (o->csv && !o->table) {
    *problem = "--csv goes with --table";
    return false;
  }
  if (o->json && o->table) {
    *problem = "--json and --table do not go together";
    return false;
  }
  return true;
}

// What a result box shows: the number text, or the text of the code.
struct Shown {
  std::int32_t code;
  std::string text;  // UTF-8
};

Shown Show(double value, std::int32_t code) {
  ShortString text = code == kNoError ? FormatNumber(value) : ShortString(ResultTexts[code]);
  return {code, Cp1252ToUtf8(text.view())};
}

int Rejected(const Options& o, const std::string& formula_utf8, std::string_view caption, std::string_view text,
             int exit_code, std::ostream& out, std::ostream& err) {
  if (o.json) {
    out << "{\"formula\": " << JsonString(formula_utf8) << ", \"error\": {\"caption\": " << JsonString(caption)
        << ", \"text\": " << JsonString(text) << "}}\n";
  } else if (caption.empty() && text.empty()) {
    err << "vantel-cli: the formula is empty\n";
  } else {
    err << caption << '\n' << text << '\n';
  }
  return exit_code;
}

void PrintTable(const Options& o, const ShortString& formula, std::uint16_t n, std::ostream& out) {
  const char* end = o.csv ? "\r\n" : "\n";
  auto field = [&](std::string_view text) { return o.csv ? CsvField(text) : TabField(text); };
  char sep = o.csv ? ',' : '\t';
  out << "k" << sep << "a_k" << sep << "S_k" << sep << "P_k" << end;
  ComputeTable(formula, n, [&](const TableRow& row) {
    out << row.k << sep << field(Show(row.a, row.a_code).text) << sep << field(Show(row.s, row.s_code).text) << sep
        << field(Show(row.p, row.p_code).text) << end;
  });
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  std::string problem;
  if (!ParseOptions(args, &o, &problem)) {
    err << "vantel-cli: " << problem << "\n\n" << kUsage;
    return kExitUsage;
  }
  if (o.help) {
    out << kUsage;
    return kExitComputed;
  }

  LanguageIndex = o.language;
  EngineStartup();

  const std::string& formula_utf8 = o.positional[0];
  const ShortString formula(Utf8ToCp1252(formula_utf8));
  CheckMessage message;
  if (!CheckFormula(formula, &message)) {
    return Rejected(o, formula_utf8, Cp1252ToUtf8(message.caption.view()), Cp1252ToUtf8(message.text.view()),
                    kExitFormulaRejected, out, err);
  }

  // N is read as the n field is: blanks around it, "$" and "%" forms, 1 to 65535.
  std::int32_t n = 1;
  if (o.positional.size() == 2 && !Trim(o.positional[1]).empty()) {
    std::int32_t error = 0;
    n = ReadInteger(Utf8ToCp1252(o.positional[1]), &error);
    if (error != 0) n = 0;
  }
  if (n < 1 || n > kLargestN) {
    return Rejected(o, formula_utf8, kBadNCaption, Cp1252ToUtf8(kBadNText), kExitBadN, out, err);
  }
  const auto count = static_cast<std::uint16_t>(n);

  if (o.table) {
    PrintTable(o, formula, count, out);
    return kExitComputed;
  }

  // Each quantity is read right after it is computed: the code belongs to it.
  double value = TermValue(formula, count);
  const Shown a = Show(value, ResultCode);
  value = PartialSum(formula, count);
  const Shown s = Show(value, ResultCode);
  value = PartialProduct(formula, count);
  const Shown p = Show(value, ResultCode);
  if (o.json) {
    auto quantity = [](const Shown& q) {
      return "{\"code\": " + std::to_string(q.code) + ", \"text\": " + JsonString(q.text) + "}";
    };
    out << "{\"formula\": " << JsonString(formula_utf8) << ", \"n\": " << n << ", \"a\": " << quantity(a)
        << ", \"S\": " << quantity(s) << ", \"P\": " << quantity(p) << "}\n";
  } else {
    out << "a_n = " << a.text << "\nS_n = " << s.text << "\nP_n = " << p.text << '\n';
  }
  return kExitComputed;
}
