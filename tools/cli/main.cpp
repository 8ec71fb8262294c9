#include <cstdio>
#include <cstring>
#include <span>

#include "tools/cli/cli.h"

namespace kirrup::cli {
namespace {

// Every command of the tool, in the order the usage text lists them.
const Command kCommands[] = {
    {"help", "help", [](const std::vector<std::string>&) { Usage(); return 0; }},
    {"settings", "settings", RunSettings},
    {"compose",
     "compose --led 7|11|16 [--middle] [--builtin-font | --system-font NAME] --line TEXT [--open N] "
     "[--middle-effect N] [--close N] [--line TEXT ...] -o OUT.LDAT",
     RunCompose},
    {"show", "show IN.LDAT [--png OUT.png [--row N] [--scale K]]", RunShow},
    {"image", "image IN.LDAT [-o OUT]", RunImage},
    {"send", "send IN.LDAT", RunSend},
    {"status", "status   (prints connected / disconnected, status 0 / 1; 3 without a usable link library)",
     RunStatus},
    {"simulate", "simulate IN.LDAT -o OUT.gif [--color red|green|blue|yellow] [--ticks N]",
     RunSimulate},
    {"glyph", "glyph [--led 7|11|16] [--builtin-font | --system-font NAME] CODE...", RunGlyph},
};

}  // namespace

int Usage() {
  std::fprintf(stderr, "usage: kirrup-cli COMMAND [ARGS...]\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
  return 2;
}

}  // namespace kirrup::cli

int main(int argc, char** argv) {
  using namespace kirrup::cli;
  if (argc < 2) return Usage();
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "kirrup-cli: unknown command '%s'\n", argv[1]);
  return Usage();
}
