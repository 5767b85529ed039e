// Splitting the command line into words, and the formula and n the dialog starts with.
#include "app/command_line.h"

#include "format/number_text.h"
#include "portable/field_text.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

// In Catalan, like every text of the dialog, in Windows-1252.
ShortString FormulaTooLongText(std::size_t length) {
  return ShortString("La f\363rmula de la l\355nia d'ordres t\351 ") +
         IntText(static_cast<std::int32_t>(length)).view() + " car\340cters i el camp en pot contenir " +
         IntText(static_cast<std::int32_t>(kFieldTextLength)).view() + ": no s'ha calculat ni desat.";
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view command_line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  for (;;) {
    while (i < command_line.size() && IsSeparator(command_line[i])) ++i;
    if (i >= command_line.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < command_line.size() && (quoted || !IsSeparator(command_line[i])); ++i) {
      if (command_line[i] == '"') {
        quoted = !quoted;
      } else {
        word += command_line[i];
      }
    }
    words.push_back(std::move(word));
  }
  if (!words.empty()) words.erase(words.begin());  // the program's own name
  return words;
}

StartArguments ReadStartArguments(const std::vector<std::string>& arguments) {
  StartArguments start;
  if (!arguments.empty()) {
    if (arguments[0].size() > kFieldTextLength) {
      start.refusal = FormulaTooLongText(arguments[0].size());
    } else {
      start.formula = ShortString(arguments[0]);
    }
  }
  if (arguments.size() == 2) start.n = ShortString(arguments[1]);
  return start;
}
