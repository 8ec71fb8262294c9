// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's command line: `kirrup [FILE.LDAT]`. Read before the toolkit starts, so that
// --help and a usage error need no display; the toolkit's own options are let through for
// it to take.
#include <cstdio>
#include <string>
#include <vector>

namespace kirrup {

struct CommandLine {
  enum class Action { Run, Help, Version, Usage };
  Action action = Action::Run;
  std::string file;   // the LED data file to open once the main dialog is shown; empty: none
  std::string error;  // with Usage: what was wrong
};

// args: the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// For every action but Run: prints help or version to out (status 0), or the error and the
// usage text to err (status 2). Returns the process status.
int FinishCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);

}  // namespace kirrup
