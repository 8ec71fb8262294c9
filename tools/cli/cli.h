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

// Prints the usage of every command to standard error; returns 2 (the status for bad arguments).
int Usage();

// The commands, one file each.
int RunSettings(const std::vector<std::string>& args);  // cmd_settings.cpp
int RunSettingsSet(const std::vector<std::string>& assignments);  // cmd_settings_set.cpp
// Message lines, LED data files and the device image.
int RunCompose(const std::vector<std::string>& args);
int RunShow(const std::vector<std::string>& args);
int RunImage(const std::vector<std::string>& args);
// The toy: sending an LED data file, the connection state.
int RunSend(const std::vector<std::string>& args);    // cmd_send.cpp
int RunStatus(const std::vector<std::string>& args);  // cmd_status.cpp
// The display simulation as an animated GIF.
int RunSimulate(const std::vector<std::string>& args);
// One character as the program renders it.
int RunGlyph(const std::vector<std::string>& args);  // cmd_glyph.cpp

}  // namespace kirrup::cli
