// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "fonts/glyph_size_tables.h"
#include "lines/led_type.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;

// A program folder with the shipped LIB files, of which each test may remove or replace some.
class FontEngineTest : public ::testing::Test {
 protected:
  // One folder per test process: tests run in parallel.
  fs::path folder_ = fs::path(::testing::TempDir()) / ("kirrup_engine_" + std::to_string(getpid()));
  fs::path lib_ = folder_ / "LIB";
  FontEngine fonts_;

  void SetUp() override {
    ResetLedTypeTable();
    ApplyLed11Settings(2, 156);  // the settings' default gap
    fs::remove_all(folder_);
    fs::create_directories(lib_);
    for (const char* name : {"THE_7ASCII.bin", "THE_11ASCII.bin", "THE_11FH.bin", "THE_16ASCII.bin",
                             "THE_16FH.bin", "UserZK11.fnt", "UserZK16.fnt"})
      fs::copy_file(fs::path(KIRRUP_BIN_DIR) / "LIB" / name, lib_ / name);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    ResetLedTypeTable();
  }
  void Load() { fonts_.LoadLibraries(folder_.string()); }
  CharColumns Render(int type, uint16_t code, bool* ok) {
    CharColumns r;
    *ok = fonts_.RenderGlyph(type, code, r);
    return r;
  }
  static std::vector<uint8_t> FileBytes(const fs::path& p, uint32_t offset, size_t n) {
    std::ifstream in(p, std::ios::binary);
    in.seekg(offset);
    std::vector<uint8_t> b(n);
    in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(n));
    return b;
  }
  static std::vector<uint8_t> Bytes(const CharColumns& r) {
    return std::vector<uint8_t>(r.columns.begin(), r.columns.begin() + r.byteCount);
  }
};

TEST_F(FontEngineTest, SevenLedAsciiSymbolsAndTheCodePage) {
  Load();
  bool ok = false;
  CharColumns a = Render(kLed7, 'A', &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(a.width, 6);
  EXPECT_EQ(a.height, 7);
  EXPECT_EQ(a.byteCount, 6);
  EXPECT_EQ(a.kind, 3);
  EXPECT_EQ(a.columns[0], 0);  // the gap, on the character's right
  for (int i = 1; i < 6; ++i) EXPECT_EQ(a.columns[i] & 1, 0) << "bit 0 is never a row";

  CharColumns heart = Render(kLed7, 18, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(heart.kind, 2);
  EXPECT_EQ(heart.width, 6);

  // Best fit to a similar character ("ā" -> "a"); bytes of 0x80 and above, and no glyph.
  CharColumns a1 = Render(kLed7, u'a', &ok);
  CharColumns a2 = Render(kLed7, u'ā', &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(Bytes(a1), Bytes(a2));
  Render(kLed7, u'é', &ok);  // 0xE9 in the code page
  EXPECT_FALSE(ok);
  Render(kLed7, 0x0081, &ok);
  EXPECT_FALSE(ok);
  // A character the code page lacks and has no similar one for: the default character "?".
  CharColumns q = Render(kLed7, '?', &ok);
  CharColumns ideograph = Render(kLed7, 0x4E2D, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(Bytes(ideograph), Bytes(q));
  // Controls outside 18..27, and lone surrogates (not convertible): no glyph.
  for (uint16_t c : {0, 9, 17, 28, 127, 0xD800, 0xDFFF}) {
    Render(kLed7, c, &ok);
    EXPECT_FALSE(ok) << c;
  }
}

TEST_F(FontEngineTest, SevenLedWithoutItsLibraryHasNoGlyphs) {
  fs::remove(lib_ / "THE_7ASCII.bin");
  Load();
  bool ok = true;
  Render(kLed7, 'A', &ok);
  EXPECT_FALSE(ok);
  Render(kLed7, 20, &ok);
  EXPECT_FALSE(ok);
}

TEST_F(FontEngineTest, ElevenLedSymbolsAsciiAndUserFont) {
  Load();
  bool ok = false;
  CharColumns s = Render(kLed11, 14, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(s.width, 12);
  EXPECT_EQ(s.height, 16);
  EXPECT_EQ(s.byteCount, 24);
  EXPECT_EQ(s.kind, 2);
  CharColumns a = Render(kLed11, 'A', &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(a.width, 8);
  EXPECT_EQ(a.byteCount, 16);
  EXPECT_EQ(a.kind, 3);
  // Another code: the user font with the 11-LED gap's empty columns first.
  CharColumns z = Render(kLed11, 0x4E2D, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(z.kind, 1);
  EXPECT_EQ(z.width, 11 + 2);
  EXPECT_EQ(z.height, 11);
  EXPECT_EQ(z.byteCount, 22 + 4);
  const auto& uf = fonts_.userFont11();
  std::vector<uint8_t> want(4, 0);
  const auto file = FileBytes(lib_ / "UserZK11.fnt", uf.Offset(0x4E2D), 22);
  want.insert(want.end(), file.begin(), file.end());
  EXPECT_EQ(Bytes(z), want);
  // Codes without a glyph in the table still read (an empty glyph of gap width).
  CharColumns tab = Render(kLed11, 9, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(tab.width, 2);
}

TEST_F(FontEngineTest, ElevenLedSymbolFallbackReadsTheUserFontAtTheSymbolIndex) {
  fs::remove(lib_ / "THE_11FH.bin");
  Load();
  bool ok = false;
  // Code 12 is symbol 9: slot 9 has no glyph in the shipped table -> empty, gap wide.
  CharColumns r = Render(kLed11, 12, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r.kind, 2);
  EXPECT_EQ(r.width, 2);
  EXPECT_EQ(r.height, 0);
  EXPECT_EQ(r.byteCount, 4);
  // Code 5 is symbol 4: slot 4, not slot 5.
  r = Render(kLed11, 5, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r.width, 6 + 2);
  const auto file = FileBytes(lib_ / "UserZK11.fnt", fonts_.userFont11().Offset(4), 12);
  EXPECT_EQ(std::vector<uint8_t>(r.columns.begin() + 4, r.columns.begin() + 16), file);
}

TEST_F(FontEngineTest, ElevenLedGapComesFromTheTable) {
  ApplyLed11Settings(4, 156);
  Load();
  bool ok = false;
  CharColumns r = Render(kLed11, 0x3042, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r.width, 11 + 4);
  EXPECT_EQ(r.byteCount, 22 + 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r.columns[i], 0);
}

TEST_F(FontEngineTest, AsciiWithoutItsLibraryComesFromTheUserFont) {
  fs::remove(lib_ / "THE_11ASCII.bin");
  fs::remove(lib_ / "THE_16ASCII.bin");
  Load();
  bool ok = false;
  CharColumns r11 = Render(kLed11, 'A', &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r11.kind, 3);
  EXPECT_EQ(r11.width, 6 + 2);
  EXPECT_EQ(r11.height, 11);
  CharColumns r16 = Render(kLed16, 'A', &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r16.kind, 3);
  EXPECT_EQ(r16.width, 8);
  EXPECT_EQ(r16.height, 16);
  EXPECT_EQ(r16.byteCount, 16);
}

TEST_F(FontEngineTest, SixteenLedUserFontAndSymbols) {
  Load();
  bool ok = false;
  CharColumns z = Render(kLed16, 0x4E2D, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(z.width, 16);
  EXPECT_EQ(z.height, 16);
  EXPECT_EQ(z.byteCount, 32);
  EXPECT_EQ(z.kind, 1);
  EXPECT_EQ(Bytes(z), FileBytes(lib_ / "UserZK16.fnt", fonts_.userFont16().Offset(0x4E2D), 32));
  CharColumns s = Render(kLed16, 18, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(s.width, 16);
  EXPECT_EQ(s.byteCount, 32);
  EXPECT_EQ(s.kind, 2);
  // Without the symbol file: the user font at the code itself.
  fs::remove(lib_ / "THE_16FH.bin");
  Load();
  s = Render(kLed16, 18, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(s.kind, 2);
  EXPECT_EQ(s.width, 8);
  EXPECT_EQ(Bytes(s), FileBytes(lib_ / "UserZK16.fnt", fonts_.userFont16().Offset(18), 16));
}

TEST_F(FontEngineTest, MissingUserFontGivesNoGlyphs) {
  fs::remove(lib_ / "UserZK16.fnt");
  fs::remove(lib_ / "THE_11FH.bin");
  fs::remove(lib_ / "UserZK11.fnt");
  Load();
  EXPECT_FALSE(fonts_.userFont16().available());
  bool ok = true;
  Render(kLed16, 0x4E2D, &ok);
  EXPECT_FALSE(ok);
  Render(kLed11, 3, &ok);  // symbol fallback to a missing file
  EXPECT_FALSE(ok);
  Render(kLed16, 'A', &ok);  // the ASCII library is still there
  EXPECT_TRUE(ok);
}

TEST_F(FontEngineTest, FontFilesThatAreFifosNeverBlock) {
  for (const char* name : {"UserZK16.fnt", "THE_16ASCII.bin"}) {
    fs::remove(lib_ / name);
    ASSERT_EQ(::mkfifo((lib_ / name).c_str(), 0644), 0);
  }
  Load();
  EXPECT_FALSE(fonts_.library(FontLibrary::k16Ascii).loaded);
  bool ok = true;
  Render(kLed16, 0x4E2D, &ok);
  EXPECT_FALSE(ok);
  Render(kLed16, 'A', &ok);  // falls back to the user font, which cannot be read either
  EXPECT_FALSE(ok);
}

TEST_F(FontEngineTest, CustomSizeTablesWideGlyphsAndShortFiles) {
  // Slot 0x100: 36 x 16 (72 bytes, the most a record holds); slot 0x101: 40 x 16 (too wide).
  std::vector<uint8_t> table(kGlyphSizeTableBytes, 0);
  table[2 * 0x100] = 36, table[2 * 0x100 + 1] = 16;
  table[2 * 0x101] = 40, table[2 * 0x101 + 1] = 16;
  table[2 * 0x102] = 8, table[2 * 0x102 + 1] = 16;
  std::vector<uint8_t> glyphs;
  for (int i = 0; i < 72 + 80; ++i) glyphs.push_back(static_cast<uint8_t>(i));
  glyphs.resize(glyphs.size() + 8);  // slot 0x102 is cut short: 8 of its 16 bytes
  std::ofstream(lib_ / "UserZK16.fnt", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(glyphs.data()), static_cast<std::streamsize>(glyphs.size()));
  fonts_.LoadLibraries(folder_.string(), GlyphSizeTableResource(kSizeTable11), table);
  bool ok = false;
  CharColumns r = Render(kLed16, 0x100, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r.width, 36);
  EXPECT_EQ(r.byteCount, 72);
  EXPECT_EQ(r.columns[71], 71);
  r = Render(kLed16, 0x101, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r.width, 40);
  EXPECT_EQ(r.byteCount, 72);  // only the columns that fit
  EXPECT_EQ(r.columns[0], 72);
  EXPECT_EQ(r.columns[71], 143);
  // The file ends before slot 0x102's last byte: no glyph, nothing half-read.
  CharColumns cut;
  EXPECT_FALSE(fonts_.RenderGlyph(kLed16, 0x102, cut));
  // Empty entries past the end still "read" as empty glyphs.
  r = Render(kLed16, 0x200, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(r.width, 0);
  EXPECT_EQ(r.byteCount, 0);
}

TEST_F(FontEngineTest, ShortSizeTableEndsInEmptySlots) {
  // Three sized slots: 2 x 8, 3 x 16, 1 x 8 (2, 6 and 1 bytes); every later slot is empty
  // and sits at the table's total.
  const std::vector<uint8_t> table = {2, 8, 3, 16, 1, 8};
  std::ofstream(lib_ / "UserZK16.fnt", std::ios::binary | std::ios::trunc).write("abcdefghi", 9);
  fonts_.LoadLibraries(folder_.string(), GlyphSizeTableResource(kSizeTable11), table);
  const UserFont& uf = fonts_.userFont16();
  EXPECT_EQ(uf.Offset(1), 2u);
  EXPECT_EQ(uf.Offset(2), 8u);
  for (uint16_t slot : {3, 0x4E2D, 0xFFFF}) EXPECT_EQ(uf.Offset(slot), 9u) << slot;
  EXPECT_EQ(uf.GlyphBytes(), 9u);
  bool ok = false;
  CharColumns r = Render(kLed16, 0x4E2D, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(r.width, 0);
}

TEST_F(FontEngineTest, ShippedFileCutShortGivesGlyphsOnlyBeforeTheCut) {
  const auto path = lib_ / "UserZK16.fnt";
  Load();
  const uint32_t cut = fonts_.userFont16().Offset(0x4E2D) + 31;  // inside the glyph of 0x4E2D
  fs::resize_file(path, cut);
  bool ok = false;
  Render(kLed16, 0x4E2C, &ok);
  EXPECT_TRUE(ok);
  Render(kLed16, 0x4E2D, &ok);
  EXPECT_FALSE(ok);
  Render(kLed16, 0xFFFD, &ok);
  EXPECT_FALSE(ok);
  // The glyph file is read on every lookup: growing it back makes the glyph reappear.
  fs::remove(path);
  fs::copy_file(fs::path(KIRRUP_BIN_DIR) / "LIB" / "UserZK16.fnt", path);
  Render(kLed16, 0x4E2D, &ok);
  EXPECT_TRUE(ok);
}

TEST_F(FontEngineTest, AbsentSizeTableLeavesTheUserFontWithoutPath) {
  fonts_.LoadLibraries(folder_.string(), {}, GlyphSizeTableResource(kSizeTable16));
  EXPECT_FALSE(fonts_.userFont11().available());
  EXPECT_TRUE(fonts_.userFont11().path().empty());
  EXPECT_TRUE(fonts_.userFont16().available());
  bool ok = true;
  Render(kLed11, 0x4E2D, &ok);
  EXPECT_FALSE(ok);
}

TEST_F(FontEngineTest, LibrariesOverTheLimitOrEmptyAreIgnored) {
  std::ofstream(lib_ / "THE_16ASCII.bin", std::ios::binary | std::ios::trunc) << std::string(40000, '\0');
  std::ofstream(lib_ / "THE_16FH.bin", std::ios::binary | std::ios::trunc);
  Load();
  EXPECT_FALSE(fonts_.library(FontLibrary::k16Ascii).loaded);
  EXPECT_EQ(fonts_.library(FontLibrary::k16Ascii).size, 40000u);
  EXPECT_FALSE(fonts_.library(FontLibrary::k16Symbols).loaded);
  EXPECT_TRUE(fonts_.library(FontLibrary::k7Ascii).loaded);
  // ASCII and symbols then come from the user font.
  bool ok = false;
  CharColumns r = Render(kLed16, 'A', &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(r.height, 16);
  EXPECT_EQ(r.width, 8);
}

TEST_F(FontEngineTest, ReleaseDropsEverything) {
  Load();
  fonts_.CreateLedFonts();
  EXPECT_NE(fonts_.ledFont(kLed16), nullptr);
  fonts_.ReleaseLedFonts();
  fonts_.ReleaseUserFontTables();
  fonts_.ReleaseLibraries();
  EXPECT_EQ(fonts_.ledFont(kLed16), nullptr);
  EXPECT_FALSE(fonts_.library(FontLibrary::k7Ascii).loaded);
  bool ok = true;
  Render(kLed16, 0x4E2D, &ok);
  EXPECT_FALSE(ok);
  Render(kLed7, 'A', &ok);
  EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace kirrup
