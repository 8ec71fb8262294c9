// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace kirrup {
namespace {

// A library image: 4-byte header, then the given low bytes as words (high byte 0xEE, never read).
std::vector<uint8_t> Words(const std::vector<uint8_t>& lows) {
  std::vector<uint8_t> d = {0, 0, 0, 0};
  for (uint8_t b : lows) d.push_back(b), d.push_back(0xEE);
  return d;
}

TEST(FontLibraryDecode, SevenLedColumnsMoveTheLowBitsUpAndPutTheGapFirst) {
  std::vector<uint8_t> lows(105 * 5, 0);
  // Record of "A" (table code 65): file column 0 is the rightmost column.
  const size_t a = (65 - 32) * 5;
  lows[a + 0] = 0x01;  // row 0 (top)
  lows[a + 1] = 0x80;  // row 6 (bottom)
  lows[a + 2] = 0x0F;  // bit 3 is unused
  lows[a + 3] = 0xF7;  // everything
  const auto data = Words(lows);
  CharColumns r;
  ASSERT_TRUE(Decode7(data, 65, 1, r));
  EXPECT_EQ(r.width, 6);
  EXPECT_EQ(r.height, 7);
  EXPECT_EQ(r.byteCount, 6);
  const std::vector<uint8_t> want = {0x00, 0x02, 0x80, 0x0E, 0xFE, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(r.columns.begin(), r.columns.begin() + 6), want);
  // Top row of column 1 (stored order) is dot k = 6.
  EXPECT_TRUE(r.Dot(1, 6));
  EXPECT_TRUE(r.Dot(2, 0));
}

TEST(FontLibraryDecode, AsciiOf11LedsKeepsRowZeroDarkAndInvertsTheFile) {
  std::vector<uint8_t> lows(95 * 16, 0xFF);  // all dark
  const size_t b = (72 - 32) * 16;           // "H"
  lows[b + 0] = 0xFF, lows[b + 1] = 0xFE;    // column 0: v bit 0 clear -> row 1 lit
  lows[b + 2] = 0xFB, lows[b + 3] = 0xFF;    // column 1: v bit 10 clear -> row 11 lit
  lows[b + 4] = 0x7F, lows[b + 5] = 0xFF;    // column 2: bit 15 is not used
  CharColumns r;
  ASSERT_TRUE(DecodeAscii11(Words(lows), 72, r));
  EXPECT_EQ(r.width, 8);
  EXPECT_EQ(r.height, 16);
  EXPECT_EQ(r.byteCount, 16);
  EXPECT_EQ(r.columns[0], 0x00);
  EXPECT_EQ(r.columns[1], 0x02);  // row 1 in bit 1 of the 16-bit column
  EXPECT_EQ(r.columns[2], 0x08);  // row 11 in bit 11
  EXPECT_EQ(r.columns[3], 0x00);
  EXPECT_EQ(r.columns[4], 0x00);
  EXPECT_EQ(r.columns[5], 0x00);
  // An all-lit file record never lights row 0.
  std::fill(lows.begin(), lows.end(), 0x00);
  ASSERT_TRUE(DecodeAscii11(Words(lows), 72, r));
  for (int col = 0; col < 8; ++col) EXPECT_FALSE(r.Dot(col, 15)) << col;
}

TEST(FontLibraryDecode, AsciiOf16LedsKeepsTheTopThreeRowsDark) {
  std::vector<uint8_t> lows(95 * 16, 0x00);  // all lit
  CharColumns r;
  ASSERT_TRUE(DecodeAscii16(Words(lows), 126, r));
  for (int j = 0; j < 8; ++j) {
    EXPECT_EQ(r.columns[2 * j], 0xFF);
    EXPECT_EQ(r.columns[2 * j + 1], 0xF8);  // rows 0..2 in bits 0..2 stay dark
  }
  lows.assign(95 * 16, 0xFF);
  lows[(33 - 32) * 16 + 1] = 0xFE;  // "!" column 0, v bit 0 -> row 3
  ASSERT_TRUE(DecodeAscii16(Words(lows), 33, r));
  EXPECT_EQ(r.columns[0], 0x00);
  EXPECT_EQ(r.columns[1], 0x08);
}

TEST(FontLibraryDecode, SymbolsSkipTheirUnusedWordsAndInvert) {
  std::vector<uint8_t> lows(15 * 32, 0x00);
  for (int w = 0; w < 8; ++w) lows[3 * 32 + w] = 0x5A;  // words 0..7 of record 3: not read
  for (int i = 0; i < 24; ++i) lows[3 * 32 + 8 + i] = static_cast<uint8_t>(i);
  CharColumns r;
  ASSERT_TRUE(DecodeSymbol11(Words(lows), 3, r));
  EXPECT_EQ(r.width, 12);
  EXPECT_EQ(r.height, 16);
  EXPECT_EQ(r.byteCount, 24);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(r.columns[i], static_cast<uint8_t>(~i)) << i;
  EXPECT_EQ(r.columns[24], 0);

  for (int i = 0; i < 32; ++i) lows[14 * 32 + i] = static_cast<uint8_t>(0x80 + i);
  ASSERT_TRUE(DecodeSymbol16(Words(lows), 14, r));
  EXPECT_EQ(r.width, 16);
  EXPECT_EQ(r.byteCount, 32);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(r.columns[i], static_cast<uint8_t>(~(0x80 + i))) << i;
}

TEST(FontLibraryDecode, RecordsThatDoNotFitGiveNoGlyph) {
  // THE_16ASCII.bin ending inside the record of "~": glyphs up to "}", none for "~".
  auto data = Words(std::vector<uint8_t>(95 * 16, 0xFF));
  data.resize(4 + 94 * 32 + 10);
  CharColumns r;
  EXPECT_TRUE(DecodeAscii16(data, '}', r));
  EXPECT_FALSE(DecodeAscii16(data, '~', r));
  EXPECT_FALSE(DecodeAscii16(data, 127, r));
  EXPECT_FALSE(DecodeAscii16(data, 31, r));
  // Exactly the record's end is enough.
  data.resize(4 + 95 * 32);
  EXPECT_TRUE(DecodeAscii16(data, '~', r));
  // Header only, and nothing at all.
  EXPECT_FALSE(Decode7(std::vector<uint8_t>(4, 0), 32, 1, r));
  EXPECT_FALSE(DecodeSymbol16({}, 0, r));
  EXPECT_FALSE(DecodeSymbol11(Words(std::vector<uint8_t>(14 * 32 + 31)), 14, r));
  EXPECT_FALSE(Decode7(Words(std::vector<uint8_t>(105 * 5)), 137, 1, r));
}

TEST(FontLibraryDecode, SymbolCodes) {
  const int want[19] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, -1, -1, 8, 9, -1, 10, 11, 12, 13, 14};
  for (int c = 0; c < 19; ++c) EXPECT_EQ(SymbolIndex(static_cast<uint16_t>(c)), want[c]) << c;
  EXPECT_EQ(SymbolIndex(19), -1);
  EXPECT_EQ(SymbolIndex(0x4E2D), -1);
}

class LibraryFileTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ =
      std::filesystem::path(::testing::TempDir()) / ("kirrup_libfile_" + std::to_string(getpid()));
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path Write(const char* name, size_t bytes) {
    const auto p = dir_ / name;
    std::ofstream(p, std::ios::binary) << std::string(bytes, 'x');
    return p;
  }
};

TEST_F(LibraryFileTest, LoadsOnlyFilesOfOneTo32768Bytes) {
  EXPECT_FALSE(LoadLibraryFile(dir_ / "missing.bin").loaded);
  const auto empty = LoadLibraryFile(Write("empty.bin", 0));
  EXPECT_FALSE(empty.loaded);
  EXPECT_TRUE(empty.data.empty());
  const auto big = LoadLibraryFile(Write("big.bin", 40000));
  EXPECT_FALSE(big.loaded);
  EXPECT_EQ(big.size, 40000u);
  EXPECT_TRUE(big.data.empty());
  EXPECT_FALSE(LoadLibraryFile(Write("over.bin", 32769)).loaded);
  const auto max = LoadLibraryFile(Write("max.bin", 32768));
  EXPECT_TRUE(max.loaded);
  EXPECT_EQ(max.data.size(), 32768u);
  const auto one = LoadLibraryFile(Write("one.bin", 1));
  EXPECT_TRUE(one.loaded);
  EXPECT_EQ(one.size, 1u);
  EXPECT_FALSE(LoadLibraryFile(dir_).loaded);  // a folder is not a library
}

}  // namespace
}  // namespace kirrup
