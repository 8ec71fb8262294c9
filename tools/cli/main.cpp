// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

#include "tools/cli/cli.h"

namespace kirrup::cli {
namespace {

int Help(const std::vector<std::string>& args);

const char kHelpUsage[] =
    "help [COMMAND]\n"
    "  The commands, or what one command takes. 'kirrup-cli COMMAND --help' says the same.\n";

// Every command of the tool, in the order the command list shows them.
const Command kCommands[] = {
    {"help", kHelpUsage, Help},
    {"settings", kSettingsUsage, RunSettings},
    {"compose", kComposeUsage, RunCompose},
    {"show", kShowUsage, RunShow},
    {"image", kImageUsage, RunImage},
    {"send", kSendUsage, RunSend},
    {"status", kStatusUsage, RunStatus},
    {"simulate", kSimulateUsage, RunSimulate},
    {"glyph", kGlyphUsage, RunGlyph},
};

const Command* Find(std::string_view name) {
  for (const Command& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

std::string_view FirstLine(const char* text) {
  const std::string_view t(text);
  return t.substr(0, t.find('\n'));
}

void PrintCommands(FILE* out) {
  std::fprintf(out, "usage: kirrup-cli COMMAND [ARGS...]\ncommands:\n");
  for (const Command& c : kCommands) {
    const std::string_view line = FirstLine(c.usage);
    std::fprintf(out, "  %.*s\n", static_cast<int>(line.size()), line.data());
  }
  std::fprintf(out, "'kirrup-cli COMMAND --help' shows what a command takes.\n");
}

void PrintUsage(const Command& c) { std::printf("usage: kirrup-cli %s", c.usage); }

int Help(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintCommands(stdout);
    std::printf(
        "\nKirrup is free software under the GNU General Public License, version 2 or later\n"
        "(GPL-2.0-or-later), with NO WARRANTY; see the file LICENSE.\n");
    return 0;
  }
  if (args.size() > 1) return BadArguments("help", "one COMMAND at most");
  const Command* c = Find(args[0]);
  if (!c) return BadArguments("help", "no command '" + args[0] + "'");
  PrintUsage(*c);
  return 0;
}

bool IsHelpOption(const char* arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

}  // namespace

int Usage() {
  PrintCommands(stderr);
  return kBadArguments;
}

int BadArguments(std::string_view command, const std::string& why) {
  std::fprintf(stderr, "kirrup-cli %.*s: %s\n", static_cast<int>(command.size()), command.data(), why.c_str());
  if (const Command* c = Find(command)) {
    const std::string_view line = FirstLine(c->usage);
    std::fprintf(stderr, "usage: kirrup-cli %.*s\n('kirrup-cli %s --help' for more)\n", static_cast<int>(line.size()),
                 line.data(), c->name);
  }
  return kBadArguments;
}

}  // namespace kirrup::cli

int main(int argc, char** argv) {
  using namespace kirrup::cli;
  if (argc < 2) return Usage();
  if (IsHelpOption(argv[1])) return Help({});
  const Command* c = Find(argv[1]);
  if (!c) {
    std::fprintf(stderr, "kirrup-cli: unknown command '%s'\n", argv[1]);
    return Usage();
  }
  // COMMAND --help: that command's usage, whatever it would make of the option.
  if (argc >= 3 && IsHelpOption(argv[2])) return Help({c->name});
  return c->run(std::vector<std::string>(argv + 2, argv + argc));
}
