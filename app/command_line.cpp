// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kirrup {
namespace {

constexpr const char* kUsage =
    "usage: kirrup [FILE.LDAT]\n"
    "Composes the messages of a spinning LED toy; FILE.LDAT is opened as the Open button\n"
    "does, once the main window is shown.\n"
    "  -h, --help     print this text\n"
    "  --version      print the version\n"
    "Qt's own options (-platform NAME, -display DISPLAY, -style NAME, ...) are accepted.\n";

// Qt's options that take the next argument as their value, and those that take none.
constexpr std::array<std::string_view, 17> kToolkitWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-geometry",
    "-qwindowicon", "-icon", "-qwindowtitle", "-title", "-session", "-display", "-name", "-style",
    "-stylesheet", "-visual", "-fontengine"};
constexpr std::array<std::string_view, 5> kToolkitFlags = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                                          "-sync"};

bool Contains(const auto& list, std::string_view s) { return std::find(list.begin(), list.end(), s) != list.end(); }

CommandLine UsageError(std::string error) {
  CommandLine c;
  c.action = CommandLine::Action::Usage;
  c.error = std::move(error);
  return c;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine c;
  bool optionsEnded = false;
  bool haveFile = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      if (haveFile) return UsageError("only one file can be opened");
      c.file = a;
      haveFile = true;
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
    } else if (a == "-h" || a == "--help") {
      c.action = CommandLine::Action::Help;
      return c;
    } else if (a == "--version") {
      c.action = CommandLine::Action::Version;
      return c;
    } else {
      // The toolkit takes its options with one dash or two.
      std::string_view name = a;
      if (name.starts_with("--")) name.remove_prefix(1);
      if (Contains(kToolkitWithValue, name)) {
        if (++i >= args.size()) return UsageError("option " + a + " needs a value");
      } else if (!Contains(kToolkitFlags, name)) {
        return UsageError("unknown option " + a);
      }
    }
  }
  return c;
}

int FinishCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
  switch (line.action) {
    case CommandLine::Action::Help:
      std::fputs(kUsage, out);
      return 0;
    case CommandLine::Action::Version:
      std::fputs("kirrup 2.0\n", out);
      return 0;
    case CommandLine::Action::Usage:
      std::fprintf(err, "kirrup: %s\n%s", line.error.c_str(), kUsage);
      return 2;
    case CommandLine::Action::Run:
      break;
  }
  return 0;
}

}  // namespace kirrup
