#include "app/command_line.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

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
  if (!arguments.empty()) start.formula = ShortString(arguments[0]);
  if (arguments.size() == 2) start.n = ShortString(arguments[1]);
  return start;
}
