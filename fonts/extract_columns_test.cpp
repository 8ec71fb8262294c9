// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/extract_columns.h"

#include <gtest/gtest.h>

#include <array>

namespace kirrup {
namespace {

using platform::Bitmap1;
using platform::Rect;

TEST(ExtractColumns, SevenRowsOneBytePerColumnBottomRowFirst) {
  Bitmap1 b(3, 7);
  b.Set(0, 0, true);  // leftmost column, top row
  b.Set(2, 6, true);  // rightmost column, bottom row
  b.Set(1, 3, true);
  std::array<uint8_t, 3> out{};
  ExtractColumns(b, Rect{0, 0, 3, 7}, out, true);
  EXPECT_EQ(out[0], 0x80);  // stored order: rightmost first; bottom row in the top bit
  EXPECT_EQ(out[1], 0x10);
  EXPECT_EQ(out[2], 0x02);  // the top row of a 7-row column lands in bit 1
  ExtractColumns(b, Rect{0, 0, 3, 7}, out, false);
  EXPECT_EQ(out[0], 0x02);  // device order: leftmost first
  EXPECT_EQ(out[2], 0x80);
}

TEST(ExtractColumns, ElevenRowsLeaveTheLowBitsOfTheSecondByteAlone) {
  Bitmap1 b(2, 13);
  for (int y = 1; y <= 11; ++y) b.Set(0, y, true);  // column 0 lit over the 11 rows 1..11
  b.Set(1, 1, true);                                // column 1: the top row of the rectangle
  std::array<uint8_t, 4> out;
  out.fill(0x1F);
  ExtractColumns(b, Rect{0, 1, 2, 12}, out, false);
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[1], 0xE0 | 0x1F);
  EXPECT_EQ(out[2], 0x00);
  EXPECT_EQ(out[3], 0x20 | 0x1F);
  // Pixels outside the rectangle (rows 0 and 12) are not read.
  b.Set(0, 0, true), b.Set(1, 12, true);
  std::array<uint8_t, 4> again;
  again.fill(0x1F);
  ExtractColumns(b, Rect{0, 1, 2, 12}, again, false);
  EXPECT_EQ(again, out);
}

TEST(ExtractColumns, SixteenRowsAndAnOffsetRectangle) {
  Bitmap1 b(10, 20);
  b.Set(5, 2, true);   // top row of the rectangle -> bit 0 of the second byte
  b.Set(4, 17, true);  // bottom row -> top bit of the first byte
  std::array<uint8_t, 4> out{};
  ExtractColumns(b, Rect{4, 2, 6, 18}, out, true);
  EXPECT_EQ(out[0], 0x00);
  EXPECT_EQ(out[1], 0x01);
  EXPECT_EQ(out[2], 0x80);
  EXPECT_EQ(out[3], 0x00);
}

TEST(ExtractColumns, StopsAtTheCapacity) {
  Bitmap1 b(40, 16);
  b.Fill(true);
  std::array<uint8_t, 80> out{};
  ExtractColumns(b, Rect{0, 0, 40, 16}, std::span<uint8_t>(out).first(72), true);
  for (int i = 0; i < 72; ++i) EXPECT_EQ(out[i], 0xFF) << i;
  for (int i = 72; i < 80; ++i) EXPECT_EQ(out[i], 0x00) << i;
  // Seven rows, 3 bytes of room: three whole columns.
  std::array<uint8_t, 4> small{};
  ExtractColumns(b, Rect{0, 0, 10, 7}, std::span<uint8_t>(small).first(3), true);
  EXPECT_EQ(small[2], 0xFE);
  EXPECT_EQ(small[3], 0x00);
}

TEST(ExtractColumns, EmptyOrInvertedRectanglesWriteNothing) {
  Bitmap1 b(4, 4);
  b.Fill(true);
  std::array<uint8_t, 4> out{};
  ExtractColumns(b, Rect{2, 0, 2, 4}, out, true);
  ExtractColumns(b, Rect{3, 0, 1, 4}, out, true);
  ExtractColumns(b, Rect{0, 3, 4, 1}, out, true);
  EXPECT_EQ(out, (std::array<uint8_t, 4>{}));
}

}  // namespace
}  // namespace kirrup
