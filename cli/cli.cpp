// The command: its options and their checks, the request and its output.
#include "cli/cli.h"

#include <cstdint>
#include <string_view>

#include "cli/output.h"
#include "cli/plot.h"
#include "cli/table_text.h"
#include "encoding/cp1252.h"
#include "engine/check.h"
#include "engine/messages.h"
#include "format/text.h"
#include "resources/version.h"
#include "termrequest/term_texts.h"

namespace {

constexpr std::string_view kSynopsis =
    "usage: vantel-cli [--lang ca|en|es] [--json] FORMULA [N]\n"
    "       vantel-cli [--lang ca|en|es] --table [--csv | --csv-semicolon] FORMULA N\n"
    "       vantel-cli [--lang ca|en|es] [--json | --table [--csv | --csv-semicolon]]\n"
    "                  --plot FILE.svg [--plot-y log] FORMULA N\n"
    "       vantel-cli --help | --version\n";

constexpr std::string_view kHelp =
    "\n"
    "Computes the term a_n, the partial sum S_n and the partial product P_n of the\n"
    "sequence whose general term is FORMULA (in the variable n), as Vantel does.\n"
    "FORMULA holds at most 254 characters. N is read as Vantel's n field reads it:\n"
    "a natural number from 1 to 65535, blanks around it allowed, $ for hexadecimal\n"
    "and % for binary; a missing N is 1.\n"
    "\n"
    "Options:\n"
    "  --lang ca|en|es  language of the messages, the result texts and the pictures\n"
    "                   (default ca); --lang=en works as well\n"
    "  --json           one JSON object on one line\n"
    "  --table          one row for each k from 1 to N: k, a_k, S_k, P_k\n"
    "  --csv            with --table: CSV instead of tab-separated text\n"
    "  --csv-semicolon  with --table: CSV for spreadsheets with the decimal comma\n"
    "                   (Catalan, Spanish): \";\" between fields, numbers as 0,5 and\n"
    "                   1,5E-12, a UTF-8 byte-order mark first\n"
    "  --plot FILE.svg  also draws the terms a_k (points) and the partial sums S_k\n"
    "                   (a line) for k = 1 to N into FILE.svg; the usual output\n"
    "                   still goes to stdout; a file that cannot be written\n"
    "                   whole keeps what it held\n"
    "  --plot-y log|linear\n"
    "                   with --plot: the value axis (default linear)\n"
    "  --help           this text\n"
    "  --version        the program's name and version\n"
    "  --               ends the options: a FORMULA or N beginning with \"-\" follows\n"
    "\n"
    "Exit codes:\n"
    "  0   computed (also when a quantity shows an error text)\n"
    "  2   formula rejected: the check's message, an empty formula, or one longer\n"
    "      than 254 characters\n"
    "  3   bad n\n"
    "  64  usage: an unknown option, a missing, empty or extra argument\n"
    "  73  the --plot file could not be written\n"
    "  74  the output could not be written (a full disk, for example)\n"
    "\n"
    "Examples:\n"
    "  vantel-cli \"1/n\" 3\n"
    "  vantel-cli --lang=en --table --csv \"2^n/n!\" 10\n";

struct Options {
  std::string lang = "ca";
  Language language = kCatalan;
  bool json = false;
  bool table = false;
  bool csv = false;
  bool csv_semicolon = false;  // CSV with ";" and the decimal comma
  bool help = false;
  bool version = false;
  std::string plot;    // the picture's file, empty for none
  std::string plot_y;  // "log" or "linear"; empty for linear
  std::vector<std::string> positional;
};

// The options that take no value.
struct Flag {
  std::string_view name;
  bool Options::*target;
};
constexpr Flag kFlags[] = {
    {"--help", &Options::help},   {"--version", &Options::version}, {"--json", &Options::json},
    {"--table", &Options::table}, {"--csv", &Options::csv},         {"--csv-semicolon", &Options::csv_semicolon},
};

// The options that take a value, as the next word or after "=".
struct ValueOption {
  std::string_view name;
  std::string Options::*target;
};
constexpr ValueOption kValueOptions[] = {
    {"--lang", &Options::lang},
    {"--plot", &Options::plot},
    {"--plot-y", &Options::plot_y},
};

bool ParseLanguage(std::string_view word, Language* language) {
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

// A word that begins with two dashes and a letter is meant as an option, unless
// it is a formula ("--n" is one).
bool LooksLikeOption(std::string_view word) {
  if (word.size() < 3 || word.substr(0, 2) != "--" || !IsLetter(word[2])) return false;
  CheckMessage ignored;
  return !CheckFormula(ShortString(Utf8ToCp1252(word)), kCatalan, &ignored);
}

struct Problem {
  std::string text;  // UTF-8, shown as the console shows it
  std::string hint;
};

// One word before "--": a flag, an option with its value (the next word or
// after "="), or an argument; false with *problem for a word that cannot be one.
bool ParseWord(const std::vector<std::string>& args, std::size_t* i, Options* o, Problem* problem) {
  const std::string& a = args[*i];
  const std::string_view name = std::string_view(a).substr(0, a.find('='));
  const bool has_value = name.size() < a.size();
  for (const Flag& f : kFlags) {
    if (f.name != name) continue;
    if (has_value) {
      *problem = {std::string(name) + " takes no value", ""};
      return false;
    }
    o->*f.target = true;
    return true;
  }
  for (const ValueOption& v : kValueOptions) {
    if (v.name != name) continue;
    std::string value;
    if (has_value)
      value = a.substr(name.size() + 1);
    else if (*i + 1 < args.size())
      value = args[++*i];
    // An empty value is none: --plot "" would otherwise pass for no --plot at all.
    if (value.empty()) {
      *problem = {std::string(name) + " needs a value", ""};
      return false;
    }
    o->*v.target = value;
    return true;
  }
  if (LooksLikeOption(a)) {
    *problem = {"unknown option " + a, "to compute it as a formula, put -- before it: vantel-cli -- " + a};
    return false;
  }
  o->positional.push_back(a);
  return true;
}

// The options that go together, and the number of arguments.
bool CheckOptions(Options* o, Problem* problem) {
  if (!ParseLanguage(o->lang, &o->language)) {
    *problem = {"--lang takes ca, en or es", ""};
    return false;
  }
  if (o->help || o->version) return true;
  if (o->positional.empty() || o->positional.size() > 2) {
    *problem = {o->positional.empty() ? "a FORMULA is needed" : "too many arguments", ""};
    return false;
  }
  if ((o->csv || o->csv_semicolon) && !o->table) {
    *problem = {o->csv ? "--csv goes with --table" : "--csv-semicolon goes with --table", ""};
    return false;
  }
  if (o->csv && o->csv_semicolon) {
    *problem = {"--csv and --csv-semicolon do not go together", ""};
    return false;
  }
  if (o->json && o->table) {
    *problem = {"--json and --table do not go together", ""};
    return false;
  }
  if (!o->plot_y.empty() && (o->plot.empty() || (o->plot_y != "log" && o->plot_y != "linear"))) {
    *problem = {o->plot.empty() ? "--plot-y goes with --plot" : "--plot-y takes log or linear", ""};
    return false;
  }
  return true;
}

// Before "--", a word that names an option is one and a word that looks like
// one is an unknown option; every other word (also one beginning with "-") is
// an argument.
bool ParseOptions(const std::vector<std::string>& args, Options* o, Problem* problem) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (options_ended) {
      o->positional.push_back(args[i]);
    } else if (args[i] == "--") {
      options_ended = true;
    } else if (!ParseWord(args, &i, o, problem)) {
      return false;
    }
  }
  return CheckOptions(o, problem);
}

// A message in the engine's texts (Windows-1252) in place of results.
int Rejected(const Options& o, std::string_view formula, std::string_view caption, std::string_view text, int exit_code,
             std::ostream& out, std::ostream& err) {
  if (o.json) {
    out << "{\"formula\": " << JsonString(Cp1252ToUtf8(formula))
        << ", \"error\": {\"caption\": " << JsonString(Cp1252ToUtf8(caption))
        << ", \"text\": " << JsonString(Cp1252ToUtf8(text)) << "}}\n";
  } else if (caption.empty() && text.empty()) {
    err << "vantel-cli: the formula is empty\n";
  } else {
    err << ConsoleText(Cp1252ToUtf8(caption)) << '\n' << ConsoleText(Cp1252ToUtf8(text)) << '\n';
  }
  return exit_code;
}

// a_n, S_n and P_n as the result boxes show them, or as JSON.
void PrintQuantities(const Options& o, std::string_view formula, std::uint16_t n, const TermTexts& result,
                     std::ostream& out) {
  const SlotResult& a = result.slots[0];
  const SlotResult& s = result.slots[1];
  const SlotResult& p = result.slots[2];
  if (o.json) {
    auto quantity = [](const SlotResult& q) {
      return "{\"code\": " + std::to_string(q.code) + ", \"text\": " + JsonString(ShownText(q.code, q.text)) + "}";
    };
    out << "{\"formula\": " << JsonString(Cp1252ToUtf8(formula)) << ", \"n\": " << n << ", \"a\": " << quantity(a)
        << ", \"S\": " << quantity(s) << ", \"P\": " << quantity(p) << "}\n";
  } else {
    out << "a_n = " << ShownText(a.code, a.text) << "\nS_n = " << ShownText(s.code, s.text)
        << "\nP_n = " << ShownText(p.code, p.text) << '\n';
  }
}

// A formula longer than the formula field takes is refused rather than cut.
int FormulaTooLong(const Options& o, const std::string& formula, std::ostream& out, std::ostream& err) {
  std::string text = "the formula is longer than " + std::to_string(kFieldTextLength) + " characters (it has " +
                     std::to_string(formula.size()) + ")";
  if (!o.json) {
    err << "vantel-cli: " << text << '\n';
    return kExitFormulaRejected;
  }
  return Rejected(o, formula, "vantel-cli", text, kExitFormulaRejected, out, err);
}

int Run(const Options& o, std::ostream& out, std::ostream& err) {
  if (o.help) {
    out << kSynopsis << kHelp;
    return kExitComputed;
  }
  if (o.version) {
    out << "vantel-cli (" VANTEL_PRODUCT_NAME ") " VANTEL_VERSION_TEXT "\n";
    return kExitComputed;
  }

  // The texts as the fields would hold them.
  const std::string formula = Utf8ToCp1252(o.positional[0]);
  const std::string n_text = o.positional.size() == 2 ? Utf8ToCp1252(o.positional[1]) : std::string();
  if (formula.size() > kFieldTextLength) return FormulaTooLong(o, formula, out, err);

  const TickedSlots ticked = {!o.table, !o.table, !o.table};
  const TermTexts result = RequestTerms(ShortString(formula), n_text, ticked, o.language);
  if (result.stop != RequestStop::kNone) {
    return Rejected(o, formula, result.message.caption.view(), result.message.text.view(),
                    result.stop == RequestStop::kBadN ? kExitBadN : kExitFormulaRejected, out, err);
  }
  const auto n = static_cast<std::uint16_t>(result.n);

  std::string plot_problem;
  if (!o.plot.empty() &&
      !WritePlot(o.plot, ShortString(formula), n, o.plot_y == "log" ? PlotScale::kLog : PlotScale::kLinear, o.language,
                 &plot_problem)) {
    err << "vantel-cli: " << ConsoleText(plot_problem) << '\n';
    return kExitPlotNotWritten;
  }
  if (o.table) {
    const TableForm form = o.csv_semicolon ? TableForm::kCsvSemicolon : o.csv ? TableForm::kCsv : TableForm::kTabs;
    WriteTable(ShortString(formula), n, form, o.language, [&](std::string_view line) { return !!(out << line); });
  } else {
    PrintQuantities(o, formula, n, result, out);
  }
  return kExitComputed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  Problem problem;
  if (!ParseOptions(args, &o, &problem)) {
    err << "vantel-cli: " << ConsoleText(problem.text) << '\n';
    if (!problem.hint.empty()) err << "(" << ConsoleText(problem.hint) << ")\n";
    err << kSynopsis << "vantel-cli --help lists the options and the exit codes.\n";
    return kExitUsage;
  }
  int code = Run(o, out, err);
  // Output lost on a full disk or a closed pipe must not pass for success: the
  // last flush shows whether everything got out.
  out.flush();
  if (!out) {
    err << "vantel-cli: the output could not be written\n";
    return kExitOutputFailed;
  }
  return code;
}
