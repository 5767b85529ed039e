#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
  const char* command_line;
  std::vector<std::string> arguments;
};

TEST(CommandLine, SplitsAtBlanksAndGroupsQuotes) {
  const SplitCase cases[] = {
      {"Vantel.exe", {}},
      {"\"C:\\Program Files\\Vantel.exe\" 1/n 3", {"1/n", "3"}},
      {"Vantel.exe   1/n\t 3  ", {"1/n", "3"}},
      {"Vantel.exe \"1 / n\" 3", {"1 / n", "3"}},
      {"Vantel.exe n^2\"+\"1", {"n^2+1"}},
      {"Vantel.exe \"\" 3", {"", "3"}},
      {"Vantel.exe \"open quote", {"open quote"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitArguments(c.command_line), c.arguments) << c.command_line;
}

struct StartCase {
  std::vector<std::string> arguments;
  const char* formula;
  const char* n;
};

TEST(CommandLine, FormulaAlwaysFirstAndNOnlyWithExactlyTwo) {
  const StartCase cases[] = {
      {{}, "", ""},
      {{"1/n"}, "1/n", ""},
      {{"1/n", "3"}, "1/n", "3"},
      {{"1/n", "3", "4"}, "1/n", ""},
  };
  for (const StartCase& c : cases) {
    StartArguments start = ReadStartArguments(c.arguments);
    EXPECT_EQ(start.formula, c.formula);
    EXPECT_EQ(start.n, c.n);
  }
}

}  // namespace
