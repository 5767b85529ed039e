// The arguments of the program's command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "format/short_string.h"

// Splits a whole command line (the program's own name first) into its
// arguments, without the program's name. Arguments are separated by blanks and
// tabs; double quotes group a part that holds blanks and are themselves dropped.
std::vector<std::string> SplitArguments(std::string_view command_line);

// What the dialog starts with: the formula is argument 1 when there is one; n is
// argument 2 only when there are exactly two arguments. Both cut to 255.
struct StartArguments {
  ShortString formula;
  ShortString n;
};
StartArguments ReadStartArguments(const std::vector<std::string>& arguments);
