// vantel-cli: the calculator's term request from a console.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes.
enum : int { kExitComputed = 0, kExitFormulaRejected = 2, kExitBadN = 3, kExitUsage = 64 };

// Runs the command with its arguments (UTF-8, without the program name) and
// returns the exit code. Everything printed is UTF-8.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
