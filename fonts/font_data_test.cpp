// SPDX-License-Identifier: GPL-2.0-or-later
// Properties of the font data the build generates (LIB/ of the build tree and the
// compiled-in size tables).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "fonts/font_library.h"
#include "fonts/glyph_size_tables.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadLib(const char* name) {
  std::ifstream in(fs::path(KIRRUP_BIN_DIR) / "LIB" / name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The codes without a glyph, in both user fonts.
std::set<uint32_t> NoGlyphCodes() {
  const std::pair<uint32_t, uint32_t> ranges[] = {
      {0x0009, 0x000A}, {0x000D, 0x000D}, {0x001C, 0x001F}, {0x0085, 0x0085}, {0x0302, 0x0302},
      {0x0304, 0x0308}, {0x030A, 0x0322}, {0x0324, 0x033F}, {0x0342, 0x034E}, {0x0360, 0x0362},
      {0x0559, 0x055A}, {0x058A, 0x058A}, {0x064B, 0x0655}, {0x0670, 0x0670}, {0x06D6, 0x06DC},
      {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x07A6, 0x07B0}, {0x07B2, 0x07BF},
      {0x0BE6, 0x0BE6}, {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x200B, 0x200F},
      {0x2029, 0x202E}, {0x206A, 0x206F}, {0xFB1E, 0xFB1E}, {0xFEFF, 0xFEFF}, {0xFFFE, 0xFFFE}};
  std::set<uint32_t> s;
  for (const auto& [lo, hi] : ranges)
    for (uint32_t c = lo; c <= hi; ++c) s.insert(c);
  return s;
}

struct TableCase {
  int id;
  const char* glyphFile;
  int height;
  int narrow;     // width of 0..8, 11, 12, 14..27, 32..127
  int wide;       // width of ideographs, Hangul, kana, full-width forms, private use
  int minWidth, maxWidth;
  int maxGapBytes;  // 11 LEDs: up to 4 gap columns of two bytes go in front
};

class SizeTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(SizeTableTest, HasEveryPropertyAndMatchesItsGlyphFile) {
  const TableCase& t = GetParam();
  const auto table = GlyphSizeTableResource(t.id);
  ASSERT_EQ(table.size(), kGlyphSizeTableBytes);
  const auto none = NoGlyphCodes();
  ASSERT_EQ(none.size(), 179u);
  uint64_t total = 0;
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    const int w = table[2 * c], h = table[2 * c + 1];
    if (none.count(c)) {
      EXPECT_TRUE(w == 0 && h == 0) << std::hex << c;
      continue;
    }
    ASSERT_EQ(h, t.height) << std::hex << c;
    ASSERT_GE(w, t.minWidth) << std::hex << c;
    ASSERT_LE(w, t.maxWidth) << std::hex << c;
    ASSERT_LE(w * 2 + t.maxGapBytes, 72) << std::hex << c;
    total += static_cast<uint64_t>(w) * ((h + 7) / 8);
  }
  for (uint32_t c = 0; c <= 127; ++c)
    if (!none.count(c) && (c <= 27 || c >= 32)) {
      EXPECT_EQ(table[2 * c], t.narrow) << c;
    }
  const std::pair<uint32_t, uint32_t> wide[] = {{0x4E00, 0x9FFF}, {0x3400, 0x4DBF}, {0xAC00, 0xD7A3},
                                                {0x3041, 0x3096}, {0x30A1, 0x30FA}, {0xFF01, 0xFF60},
                                                {0xE000, 0xF8FF}, {0xF900, 0xFAFF}};
  for (const auto& [lo, hi] : wide)
    for (uint32_t c = lo; c <= hi; ++c) ASSERT_EQ(table[2 * c], t.wide) << std::hex << c;
  EXPECT_EQ(fs::file_size(fs::path(KIRRUP_BIN_DIR) / "LIB" / t.glyphFile), total);
  EXPECT_EQ(GlyphSizeTableResource(12345).size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(UserFonts, SizeTableTest,
                         ::testing::Values(TableCase{168, "UserZK11.fnt", 11, 6, 11, 1, 16, 8},
                                           TableCase{167, "UserZK16.fnt", 16, 8, 16, 3, 36, 0}),
                         [](const auto& info) { return info.param.id == 168 ? "Led11" : "Led16"; });

// Reads dot (x from the left, y from the top) of a decoded record.
bool Lit(const CharColumns& r, int x, int y) { return r.Dot(r.width - 1 - x, r.height - 1 - y); }
int Ink(const CharColumns& r) {
  int n = 0;
  for (int x = 0; x < r.width; ++x)
    for (int y = 0; y < r.height; ++y) n += Lit(r, x, y);
  return n;
}

TEST(FontData, LibraryFilesHaveTheContainerLayout) {
  EXPECT_EQ(ReadLib("THE_7ASCII.bin").size(), 4u + 105 * 10);
  EXPECT_EQ(ReadLib("THE_11ASCII.bin").size(), 4u + 95 * 32);
  EXPECT_EQ(ReadLib("THE_11FH.bin").size(), 4u + 15 * 64);
  EXPECT_EQ(ReadLib("THE_16ASCII.bin").size(), 4u + 95 * 32);
  EXPECT_EQ(ReadLib("THE_16FH.bin").size(), 4u + 15 * 64);
}

TEST(FontData, SevenLedGlyphsAreCleanAndDistinct) {
  const auto data = ReadLib("THE_7ASCII.bin");
  std::set<std::vector<uint8_t>> seen;
  for (int code = 32; code <= 136; ++code) {
    CharColumns r;
    ASSERT_TRUE(Decode7(data, code, 1, r)) << code;
    EXPECT_EQ(r.columns[0], 0) << code;
    if (code != 32) {
      EXPECT_GT(Ink(r), 2) << code;
    }
    EXPECT_TRUE(seen.insert({r.columns.begin(), r.columns.begin() + 6}).second) << "duplicate " << code;
  }
}

TEST(FontData, ElevenLedGlyphsStayInsideTheElevenRowsOfTheLine) {
  const auto ascii = ReadLib("THE_11ASCII.bin");
  for (int code = 32; code <= 126; ++code) {
    CharColumns r;
    ASSERT_TRUE(DecodeAscii11(ascii, code, r));
    for (int x = 0; x < 8; ++x)
      for (int y = 11; y < 16; ++y) EXPECT_FALSE(Lit(r, x, y)) << code;
    if (code != 32) {
      EXPECT_GT(Ink(r), 1) << code;
    }
  }
  const auto symbols = ReadLib("THE_11FH.bin");
  std::set<std::vector<uint8_t>> seen;
  for (int i = 0; i < 15; ++i) {
    CharColumns r;
    ASSERT_TRUE(DecodeSymbol11(symbols, i, r));
    for (int x = 0; x < 12; ++x)
      for (int y = 11; y < 16; ++y) EXPECT_FALSE(Lit(r, x, y)) << i;
    EXPECT_GT(Ink(r), 20) << i;
    EXPECT_TRUE(seen.insert({r.columns.begin(), r.columns.begin() + 24}).second) << i;
  }
}

TEST(FontData, SixteenLedAsciiUsesRowsThreeToFifteenAndSymbolsArePictures) {
  const auto ascii = ReadLib("THE_16ASCII.bin");
  for (int code = 33; code <= 126; ++code) {
    CharColumns r;
    ASSERT_TRUE(DecodeAscii16(ascii, code, r));
    EXPECT_GT(Ink(r), 1) << code;
  }
  const auto symbols = ReadLib("THE_16FH.bin");
  std::set<std::vector<uint8_t>> seen;
  for (int i = 0; i < 15; ++i) {
    CharColumns r;
    ASSERT_TRUE(DecodeSymbol16(symbols, i, r));
    EXPECT_GT(Ink(r), 30) << i;
    EXPECT_TRUE(seen.insert({r.columns.begin(), r.columns.begin() + 32}).second) << i;
  }
}

}  // namespace
}  // namespace kirrup
