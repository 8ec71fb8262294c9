// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the built kirrup-cli with help requests and wrong arguments: help goes to standard
// output with status 0; wrong arguments say what is wrong and what is allowed, status 2.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Result {
  std::string out, err;
  int status = -1;
};

Result RunCli(const std::string& args) {
  Result r;
  char errPath[] = "/tmp/kirrup-cli-err-XXXXXX";
  const int fd = mkstemp(errPath);
  if (fd < 0) return r;
  close(fd);
  const std::string cmd = std::string(KIRRUP_BIN_DIR) + "/kirrup-cli " + args + " 2>" + errPath;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  std::ifstream in(errPath);
  std::stringstream ss;
  ss << in.rdbuf();
  r.err = ss.str();
  unlink(errPath);
  return r;
}

TEST(CliHelp, GoesToStandardOutputWithStatusZero) {
  struct Case {
    const char* args;
    const char* starts;
  } cases[] = {
      {"help", "usage: kirrup-cli COMMAND [ARGS...]\n"},
      {"--help", "usage: kirrup-cli COMMAND [ARGS...]\n"},
      {"help glyph", "usage: kirrup-cli glyph [--led 7|11|16]"},
      {"simulate --help", "usage: kirrup-cli simulate IN.LDAT -o OUT.gif"},
      {"compose -h", "usage: kirrup-cli compose --led 7|11|16"},
  };
  for (const Case& c : cases) {
    const Result r = RunCli(c.args);
    EXPECT_EQ(r.status, 0) << c.args;
    EXPECT_EQ(r.out.rfind(c.starts, 0), 0u) << c.args << ":\n" << r.out;
    EXPECT_EQ(r.err, "") << c.args;
  }
}

TEST(CliArguments, WrongArgumentsSayWhatIsWrongAndWhatIsAllowed) {
  struct Case {
    const char* command;
    const char* args;
    const char* why;
  } cases[] = {
      {"simulate", "a.LDAT -o x.gif --color pink", "--color takes red, green, blue or yellow, not 'pink'"},
      {"simulate", "a.LDAT -o x.gif --ticks -5", "--ticks takes a whole number, 0 or more, not '-5'"},
      {"simulate", "a.LDAT b.LDAT -o x.gif", "one IN.LDAT only, not also 'b.LDAT'"},
      {"simulate", "a.LDAT -o x.gif --speed 3", "unknown option '--speed'"},
      {"simulate", "a.LDAT", "-o OUT.gif is missing"},
      {"glyph", "--led 9 A", "--led takes 7, 11 or 16, not '9'"},
      {"glyph", "--bold A", "unknown option '--bold'"},
      {"glyph", "AB", "bad code 'AB': one character, or a number 0..65535"},
      {"glyph", "--builtin-font", "no CODE given"},
      {"show", "a.LDAT b.LDAT", "one IN.LDAT only, not also 'b.LDAT'"},
      {"show", "", "IN.LDAT is missing"},
      {"image", "a.LDAT -o", "-o needs a file name"},
      {"compose", "--led 7 --line A --open 9 -o x.LDAT", "--open takes 0..8"},
      {"help", "nothing", "no command 'nothing'"},
  };
  for (const Case& c : cases) {
    const std::string args = std::string(c.command) + " " + c.args;
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    const std::string head = std::string("kirrup-cli ") + c.command + ": " + c.why;
    EXPECT_EQ(r.err.rfind(head, 0), 0u) << args << ":\n" << r.err;
    EXPECT_NE(r.err.find(std::string("\nusage: kirrup-cli ") + c.command), std::string::npos) << args;
  }
}

// A middle effect in a file without middle options would be dropped without a word.
TEST(CliArguments, ComposeRefusesAMiddleEffectWithoutMiddleOptions) {
  char dir[] = "/tmp/kirrup-cli-compose-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  const std::string out = std::string(dir) + "/x.LDAT";
  const Result r = RunCli("compose --led 7 --line A --line B --middle-effect 2 -o " + out);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("kirrup-cli compose: --middle-effect of line 2 needs --middle", 0), 0u) << r.err;
  EXPECT_NE(access(out.c_str(), F_OK), 0);  // nothing written
  EXPECT_EQ(RunCli("compose --led 7 --middle --line A --middle-effect 2 -o " + out).status, 0);
  EXPECT_EQ(access(out.c_str(), F_OK), 0);
  unlink(out.c_str());
  rmdir(dir);
}

}  // namespace
