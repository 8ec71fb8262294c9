// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kirrup {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, Parse) {
  struct Case {
    std::vector<std::string> args;
    Action action;
    std::string file;
  };
  const Case cases[] = {
      {{}, Action::Run, ""},
      {{"a.LDAT"}, Action::Run, "a.LDAT"},
      {{"-"}, Action::Run, "-"},
      {{"--", "-odd.LDAT"}, Action::Run, "-odd.LDAT"},
      {{"-platform", "offscreen", "a.LDAT"}, Action::Run, "a.LDAT"},
      {{"a.LDAT", "--style", "Fusion", "-reverse"}, Action::Run, "a.LDAT"},
      {{"-h"}, Action::Help, ""},
      {{"a.LDAT", "--help"}, Action::Help, ""},
      {{"--version"}, Action::Version, ""},
      {{"-x"}, Action::Usage, ""},
      {{"--open", "a.LDAT"}, Action::Usage, ""},
      {{"a.LDAT", "b.LDAT"}, Action::Usage, ""},
      {{"-platform"}, Action::Usage, ""},  // its value is missing
      {{"--", "a", "b"}, Action::Usage, ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const CommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.action, c.action) << shown;
    if (c.action == Action::Run) {
      EXPECT_EQ(line.file, c.file) << shown;
    }
    EXPECT_EQ(line.action == Action::Usage, !line.error.empty()) << shown;
  }
}

std::string Captured(std::FILE* f) {
  std::rewind(f);
  std::string s;
  for (int ch; (ch = std::fgetc(f)) != EOF;) s.push_back(static_cast<char>(ch));
  return s;
}

TEST(CommandLine, UsageGoesToStandardErrorWithStatus2HelpToStandardOutput) {
  struct Case {
    std::vector<std::string> args;
    int status;
    bool onOut;
    std::string first;
  };
  const Case cases[] = {
      {{"--bogus"}, 2, false, "kirrup: unknown option --bogus\nusage: kirrup [FILE.LDAT]\n"},
      {{"--help"}, 0, true, "usage: kirrup [FILE.LDAT]\n"},
      {{"--version"}, 0, true, "kirrup 2.0\n"},
  };
  for (const Case& c : cases) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(FinishCommandLine(ParseCommandLine(c.args), out, err), c.status) << c.args[0];
    const std::string o = Captured(out), e = Captured(err);
    EXPECT_EQ((c.onOut ? o : e).rfind(c.first, 0), 0u) << c.args[0] << ": " << o << e;
    EXPECT_TRUE((c.onOut ? e : o).empty()) << c.args[0];
    std::fclose(out);
    std::fclose(err);
  }
}

}  // namespace
}  // namespace kirrup
