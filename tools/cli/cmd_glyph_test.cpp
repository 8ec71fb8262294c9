// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the built kirrup-cli glyph and checks what it prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Result {
  std::string out;
  int status = -1;
};

Result RunGlyph(const std::string& args) {
  Result r;
  const std::string cmd = std::string(KIRRUP_BIN_DIR) + "/kirrup-cli glyph " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

TEST(CliGlyph, PrintsTheRecordItsColumnsAndItsDots) {
  const Result r = RunGlyph("--led 7 --builtin-font A");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "code=0x0041 width=6 height=7 kind=3 bytes=6\n"
            "columns=00 fc 12 12 12 fc\n"
            ".###..\n"
            "#...#.\n"
            "#...#.\n"
            "#####.\n"
            "#...#.\n"
            "#...#.\n"
            "#...#.\n");
}

TEST(CliGlyph, CodesAsNumbersHexOrCharacters) {
  const Result a = RunGlyph("--led 16 --builtin-font 65 0x41 A 0x4e2d 中");
  ASSERT_EQ(a.status, 0);
  const std::string first = a.out.substr(0, a.out.find("code=", 1));
  ASSERT_FALSE(first.empty());
  size_t count = 0;
  for (size_t at = 0; (at = a.out.find(first, at)) != std::string::npos; at += first.size()) ++count;
  EXPECT_EQ(count, 3u);
  EXPECT_NE(a.out.find("code=0x4E2D width=16 height=16 kind=1 bytes=32\n"), std::string::npos);
}

TEST(CliGlyph, NoGlyphSetsStatusOne) {
  const Result r = RunGlyph("--led 7 --builtin-font 9 A");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.substr(0, 20), "code=0x0009 no glyph");
  EXPECT_NE(r.out.find("code=0x0041 width=6"), std::string::npos);
}

TEST(CliGlyph, BadArgumentsPrintUsage) {
  EXPECT_EQ(RunGlyph("").status, 2);
  EXPECT_EQ(RunGlyph("--led 8 A").status, 2);
  EXPECT_EQ(RunGlyph("--led").status, 2);
  EXPECT_EQ(RunGlyph("--bogus A").status, 2);
  EXPECT_EQ(RunGlyph("70000").status, 2);
  EXPECT_EQ(RunGlyph("AB").status, 2);
  EXPECT_EQ(RunGlyph("0xZZ").status, 2);
  EXPECT_EQ(RunGlyph("--system-font").status, 2);
}

TEST(CliGlyph, CharacterBeyondSixteenBitsIsItsTwoUnits) {
  const Result r = RunGlyph("--led 7 --builtin-font 😀 A");
  EXPECT_EQ(r.status, 1);  // the built-in fonts have no glyph for a lone surrogate unit
  EXPECT_EQ(r.out.rfind("U+1F600 is beyond 16 bits: its two UTF-16 units 0xD83D 0xDE00, as a line takes it\n"
                        "code=0xD83D no glyph\ncode=0xDE00 no glyph\ncode=0x0041 width=6",
                        0),
            0u)
      << r.out;
}

TEST(CliGlyph, SystemFont) {
  const Result r = RunGlyph("--led 16 --system-font 'DejaVu Sans' H");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("height=16 kind=0"), std::string::npos);
}

}  // namespace
