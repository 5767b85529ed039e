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
    EXPECT_TRUE(start.refusal.empty());
  }
}

// The formula field holds 254 characters: a longer formula is refused whole,
// never cut to a different formula, and the n beside it is kept.
TEST(CommandLine, FormulaLongerThanTheFieldIsRefused) {
  std::string longest = "11";
  while (longest.size() + 2 <= 254) longest += "+1";
  ASSERT_EQ(longest.size(), 254u);
  StartArguments start = ReadStartArguments({longest, "1"});
  EXPECT_EQ(start.formula.str(), longest);
  EXPECT_TRUE(start.refusal.empty());

  std::string too_long = "11";
  while (too_long.size() < 302) too_long += "+1";
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{too_long, "1"}, std::vector<std::string>{too_long}}) {
    start = ReadStartArguments(arguments);
    EXPECT_TRUE(start.formula.empty());
    EXPECT_EQ(start.n.str(), arguments.size() == 2 ? "1" : "");
    EXPECT_EQ(start.refusal.str(),
              "La f\363rmula de la l\355nia d'ordres t\351 302 car\340cters i el camp en pot contenir 254: "
              "no s'ha calculat ni desat.");
  }
  EXPECT_FALSE(ReadStartArguments({longest + "1"}).refusal.empty());
}

}  // namespace
