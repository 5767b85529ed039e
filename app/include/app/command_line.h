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

// The caption of the message about the command line.
inline constexpr char kStartCaption[] = "* error *";

// What the dialog starts with: the formula is argument 1 when there is one; n is
// argument 2 only when there are exactly two arguments, cut to 255. A formula
// longer than the formula field holds (kFieldTextLength) is refused rather than
// cut: the formula stays empty, so nothing is computed or stored, and refusal
// holds the message, in the dialog's language, shown before the dialog opens.
struct StartArguments {
  ShortString formula;
  ShortString n;
  ShortString refusal;  // empty when there is nothing to tell
};
StartArguments ReadStartArguments(const std::vector<std::string>& arguments);
