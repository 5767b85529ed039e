// vantel-cli: the calculator's term request from a console.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes; 64, 73 and 74 are the usual codes of a usage fault, of a file
// that cannot be created and of an output fault.
enum : int {
  kExitComputed = 0,
  kExitFormulaRejected = 2,
  kExitBadN = 3,
  kExitUsage = 64,
  kExitPlotNotWritten = 73,  // --plot: the picture's file cannot be written
  kExitOutputFailed = 74,
};

// Runs the command with its arguments (UTF-8, without the program name) and
// returns the exit code. Everything printed is valid UTF-8 with its control
// characters escaped; output that could not be written gives kExitOutputFailed.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
