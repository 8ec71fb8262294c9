// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// kirrup-cli: the command-line companion. Each command lives in its own file, with its
// usage text beside it, and is listed in main.cpp; all of them use the same core code as
// the program.
#include <string>
#include <string_view>
#include <vector>

namespace kirrup::cli {

struct Command {
  const char* name;
  // First line "name ARGS...", as the command list shows it; then what the options mean.
  const char* usage;
  int (*run)(const std::vector<std::string>& args);  // args after the command name
};

// The status of wrong arguments.
inline constexpr int kBadArguments = 2;

// Prints the list of commands to standard error; returns kBadArguments.
int Usage();
// For wrong arguments to a command: "kirrup-cli COMMAND: why" and the command's usage
// line on standard error; returns kBadArguments.
int BadArguments(std::string_view command, const std::string& why);

// The commands, one file each, with their usage texts.
int RunSettings(const std::vector<std::string>& args);  // cmd_settings.cpp
int RunSettingsSet(const std::vector<std::string>& assignments);  // cmd_settings_set.cpp
extern const char kSettingsUsage[];
// Message lines, LED data files and the device image.
int RunCompose(const std::vector<std::string>& args);
extern const char kComposeUsage[];
int RunShow(const std::vector<std::string>& args);
extern const char kShowUsage[];
int RunImage(const std::vector<std::string>& args);
extern const char kImageUsage[];
// The toy: sending an LED data file, the connection state.
int RunSend(const std::vector<std::string>& args);  // cmd_send.cpp
extern const char kSendUsage[];
int RunStatus(const std::vector<std::string>& args);  // cmd_status.cpp
extern const char kStatusUsage[];
// The display simulation as an animated GIF.
int RunSimulate(const std::vector<std::string>& args);
extern const char kSimulateUsage[];
// One character as the program renders it.
int RunGlyph(const std::vector<std::string>& args);  // cmd_glyph.cpp
extern const char kGlyphUsage[];

}  // namespace kirrup::cli
