#pragma once
// kirrup-cli: the command-line companion. Each command lives in its own file and is
// listed in main.cpp; all of them use the same core code as the program.
#include <string>
#include <vector>

namespace kirrup::cli {

struct Command {
  const char* name;
  const char* usage;  // one line: "name ARGS..."
  int (*run)(const std::vector<std::string>& args);  // args after the command name
};

// The folder of the running program file (its LIB/ holds the data).
std::string ProgramFolder();

// Commands (one file each).
int RunGlyph(const std::vector<std::string>& args);  // cmd_glyph.cpp

// Prints the usage of every command to standard error; returns 2 (the status for bad arguments).
int Usage();

}  // namespace kirrup::cli
