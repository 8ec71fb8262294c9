// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli compose / show / image, run as the real program from the program folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "dialog/ldat_file.h"
#include "fonts/font_engine.h"
#include "lines/led_type.h"
#include "lines/message_rows.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}
std::vector<uint8_t> Bytes(const fs::path& p) {
  const std::string s = Slurp(p);
  return {s.begin(), s.end()};
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kirrup-cli-lines-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs kirrup-cli with the arguments in the temporary folder.
  Result Run(const std::vector<std::string>& args) {
    std::string cmd = "cd " + Quote(dir_.string()) + " && " + Quote(std::string(KIRRUP_BIN_DIR) + "/kirrup-cli");
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote((dir_ / "stdout").string()) + " 2>" + Quote((dir_ / "stderr").string());
    Result r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(dir_ / "stdout");
    r.err = Slurp(dir_ / "stderr");
    return r;
  }
  fs::path Path(const std::string& name) const { return dir_ / name; }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  fs::path dir_;
};

// The 7-LED file of two hand-made characters: "A" (top-left and bottom-right dots) and "B"
// (one column, top and bottom), effects open 4 / close 2.
std::vector<uint8_t> TwoLetters() {
  LdatHeader h;
  h.ledType = 0, h.maxWidth = 108, h.height = 7, h.lineCount = 1;
  h.effects[0] = 0x0204;
  h.counts[0] = 2;
  std::vector<uint8_t> bytes(140);
  h.Write(std::span<uint8_t, 140>(bytes.data(), 140));
  CharColumns a{}, b{};
  a.code = 'A', a.width = 2, a.height = 7, a.byteCount = 2, a.columns[0] = 0x80, a.columns[1] = 0x02;
  b.code = 'B', b.width = 1, b.height = 7, b.byteCount = 1, b.columns[0] = 0x82;
  const CharColumns recs[] = {a, b};
  const auto r = WriteRecords(recs);
  bytes.insert(bytes.end(), r.begin(), r.end());
  return bytes;
}

TEST_F(Cli, ShowPrintsHeaderArtAndCodes) {
  Write("two.LDAT", TwoLetters());
  const Result r = Run({"show", "two.LDAT"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "magic: 0x20112345 (no middle options)\n"
            "LED type: 0 (7 LEDs)\n"
            "max width: 108\n"
            "height: 7\n"
            "lines: 1\n"
            "records: 2\n"
            "line 1: open 4, close 2 (effect word 0x0204), 2 characters, 3 / 108 columns\n"
            "  #.#\n  ...\n  ...\n  ...\n  ...\n  ...\n  .##\n"
            "  | |\n"
            "   0: U+0041 'A' column 0, width 2, height 7, 2 bytes\n"
            "   1: U+0042 'B' column 2, width 1, height 7, 1 bytes\n"
            "device image: 6 of 2047 bytes\n");
  EXPECT_EQ(Run({"show", "missing.LDAT"}).status, 1);
  EXPECT_EQ(Run({"show"}).status, 2);
}

// More than the toy holds: show says so, image warns and exits 1 but writes the file (as
// Send writes its own), compose warns and saves.
TEST_F(Cli, OverTheToysLimit) {
  {
    auto rows = std::make_unique<MessageRows>(kLed16);
    for (int r = 0; r < 8; ++r) {
      (*rows)[r].enabled = true;
      CharColumns rec{};
      rec.code = 'W', rec.width = 16, rec.height = 16, rec.byteCount = 32;
      for (int c = 0; c < 9; ++c) {
        ASSERT_TRUE((*rows)[r].line.InsertRecord(rec));
        (*rows)[r].line.MoveCaret(+1, false);
      }
    }
    ASSERT_TRUE(WriteLdatFile(Path("big.LDAT").string(), *rows));
  }
  Result r = Run({"show", "big.LDAT"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(", 9 characters, 144 / 144 columns\n"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1), "device image: 2321 of 2047 bytes over the limit\n");

  r = Run({"image", "big.LDAT", "-o", "big.bin"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "lines: 8\nlength: 2321\n");
  EXPECT_EQ(r.err,
            "kirrup-cli image: warning: IC ROM Over: 2321 bytes, the toy holds at most 2047; big.bin written all the "
            "same\n");
  EXPECT_EQ(fs::file_size(Path("big.bin")), 2321u);

  std::vector<std::string> args = {"compose", "--led", "16", "--builtin-font", "-o", "composed.LDAT"};
  for (int i = 0; i < 8; ++i) args.insert(args.end(), {"--line", std::string(30, 'W')});
  r = Run(args);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("kirrup-cli compose: warning: IC ROM Over: "), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(Path("composed.LDAT")));
}

TEST_F(Cli, ImageWritesTheDeviceImage) {
  Write("two.LDAT", TwoLetters());
  Result r = Run({"image", "two.LDAT"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "lines: 1\nlength: 6\n");
  // LineEnd 3, open 4 / close 2 -> 0x53, then the columns transformed for 7 LEDs.
  EXPECT_EQ(Bytes(Path("USBSendData.bin")), (std::vector<uint8_t>{0x01, 0x03, 0x53, 0x01, 0x80, 0x81}));
  r = Run({"image", "two.LDAT", "-o", "out.bin"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(Bytes(Path("out.bin")).size(), 6u);

  // Nothing to send, a file that promises more than it holds, no such file.
  std::vector<uint8_t> empty = TwoLetters();
  empty.resize(140);
  empty[76] = 0;
  Write("empty.LDAT", empty);
  fs::remove(Path("out.bin"));
  r = Run({"image", "empty.LDAT", "-o", "out.bin"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("No Data Send!"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("out.bin")));
  std::vector<uint8_t> cut = TwoLetters();
  cut.resize(cut.size() - 1);
  Write("cut.LDAT", cut);
  for (const char* name : {"cut.LDAT", "none.LDAT"}) {
    r = Run({"image", name});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Open file error!"), std::string::npos);
  }
  EXPECT_EQ(Run({"image"}).status, 2);
  EXPECT_EQ(Run({"image", "a", "b"}).status, 2);
}

TEST_F(Cli, ComposeArguments) {
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"compose", "--line", "A", "-o", "x.LDAT"},                      // no --led
           {"compose", "--led", "8", "--line", "A", "-o", "x.LDAT"},
           {"compose", "--led", "7", "--open", "1", "--line", "A", "-o", "x.LDAT"},
           {"compose", "--led", "7", "--line", "A", "--close", "7", "-o", "x.LDAT"},
           {"compose", "--led", "7", "--line", "A", "--middle-effect", "4", "-o", "x.LDAT"},
           {"compose", "--led", "7", "--line", "A"},
           {"compose", "--led", "7", "--line", "A", "-o", "x.LDAT", "--bogus"},
           {"compose", "--led", "7", "--builtin-font", "--system-font", "X", "--line", "A", "-o", "x.LDAT"},
           {"compose", "--led", "7", "--line"},
       }) {
    EXPECT_EQ(Run(bad).status, 2) << bad[1] << " " << bad.back();
  }
  std::vector<std::string> thirteen = {"compose", "--led", "16", "-o", "x.LDAT"};
  for (int i = 0; i < 13; ++i) thirteen.insert(thirteen.end(), {"--line", ""});
  EXPECT_EQ(Run(thirteen).status, 2);
  EXPECT_FALSE(fs::exists(Path("x.LDAT")));
}

TEST_F(Cli, ComposeStoresEveryLineWithItsEffects) {
  // An empty text and one that begins with a dash are texts like any other.
  const Result r = Run({"compose", "--led", "11", "--middle", "--line", "", "--open", "3", "--middle-effect", "2",
                        "--close", "5", "--line", "-1", "--close", "6", "-o", "m.LDAT"});
  ASSERT_EQ(r.status, 0) << r.err;
  LdatData data;
  ASSERT_TRUE(ReadLdatFile(Path("m.LDAT").string(), data));
  EXPECT_EQ(data.header.magic, LdatHeader::kMagicMiddle);
  EXPECT_EQ(data.header.ledType, 1);
  EXPECT_EQ(data.header.maxWidth, 156);  // the default LedScrW11
  EXPECT_EQ(data.header.lineCount, 2);
  EXPECT_EQ(data.header.effects[0], 0x0523);
  EXPECT_EQ(data.header.effects[1], 0x0600);
  EXPECT_EQ(data.header.counts[0], 0);
}


TEST_F(Cli, ElevenLedLineWidthComesFromTheSettingsBesideTheTool) {
  // A program folder of its own: the tool and LIB/Kirrup.ini with LedScrW11.
  fs::create_directories(Path("prog/LIB"));
  fs::copy_file(std::string(KIRRUP_BIN_DIR) + "/kirrup-cli", Path("prog/kirrup-cli"));
  std::ofstream(Path("prog/LIB/Kirrup.ini")) << "[Set]\r\nLedScrW11=170\r\n";
  const std::string cmd = "cd " + Quote(dir_.string()) + " && prog/kirrup-cli compose --led 11 --line '' -o w.LDAT";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  LdatData data;
  ASSERT_TRUE(ReadLdatFile(Path("w.LDAT").string(), data));
  EXPECT_EQ(data.header.maxWidth, 170);
}


// Compose types with the program's own glyphs: the stored records are what RenderGlyph
// gives, a full line leaves the rest out with a warning, and image takes the result.
TEST_F(Cli, ComposeTypesRealGlyphs) {
  FontEngine fonts;
  fonts.builtInSwitch = 1;
  fonts.LoadLibraries(KIRRUP_BIN_DIR);
  CharColumns a{}, b{};
  if (!fonts.RenderGlyph(kLed7, 'A', a) || !fonts.RenderGlyph(kLed7, 'B', b))
    GTEST_SKIP() << "no built-in font data in " << KIRRUP_BIN_DIR << "/LIB";
  a.code = 'A', b.code = 'B';

  Result r = Run({"compose", "--led", "7", "--builtin-font", "--line", "AB", "--open", "2", "-o", "ab.LDAT"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  LdatData data;
  ASSERT_TRUE(ReadLdatFile(Path("ab.LDAT").string(), data));
  EXPECT_EQ(fs::file_size(Path("ab.LDAT")), 140u + 2 * 84u);
  EXPECT_EQ(data.header.lineCount, 1);
  EXPECT_EQ(data.header.effects[0], 2);
  ASSERT_EQ(data.records.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const CharColumns& want = i == 0 ? a : b;
    const CharColumns& got = data.records[static_cast<size_t>(i)];
    EXPECT_EQ(got.code, want.code);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, 7);
    EXPECT_EQ(got.kind, 0);
    ASSERT_EQ(got.byteCount, std::min(want.width, 72));
    for (int k = 0; k < got.byteCount; ++k) EXPECT_EQ(got.columns[k], want.columns[k]) << k;
  }

  r = Run({"image", "ab.LDAT"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "lines: 1\nlength: " + std::to_string(1 + 2 + a.width + b.width) + "\n");

  // A line of 'A's until it is full; the rest is left out and named.
  int accepted = 0;
  while (accepted < 50 && (accepted + 1) * a.width <= 108) ++accepted;
  r = Run({"compose", "--led", "7", "--builtin-font", "--line", std::string(60, 'A'), "-o", "full.LDAT"});
  ASSERT_EQ(r.status, 0);
  ASSERT_TRUE(ReadLdatFile(Path("full.LDAT").string(), data));
  EXPECT_EQ(data.header.counts[0], accepted);
  EXPECT_NE(r.err.find(std::to_string(60 - accepted) + " characters left out"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("U+0041 'A' ("), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kirrup
