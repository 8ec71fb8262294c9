// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/char_columns.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

using kirrup::CharColumns;

TEST(CharColumns, SerialisesLittleEndianAtFixedOffsets) {
  CharColumns r;
  r.code = 0x4E2D;
  r.width = -2;
  r.height = 0x01020304;
  r.kind = 3;
  r.byteCount = 72;
  r.columns[0] = 0xAA;
  r.columns[71] = 0x55;
  uint8_t buf[84];
  r.Write(std::span<uint8_t, 84>(buf));
  EXPECT_EQ(buf[0], 0x2D);
  EXPECT_EQ(buf[1], 0x4E);
  EXPECT_EQ(buf[2], 0xFE);
  EXPECT_EQ(buf[5], 0xFF);
  EXPECT_EQ(buf[6], 0x04);
  EXPECT_EQ(buf[9], 0x01);
  EXPECT_EQ(buf[10], 3);
  EXPECT_EQ(buf[11], 72);
  EXPECT_EQ(buf[12], 0xAA);
  EXPECT_EQ(buf[83], 0x55);
  CharColumns back;
  ASSERT_TRUE(CharColumns::Parse(buf, back));
  EXPECT_EQ(back, r);
}

TEST(CharColumns, ShortInputIsRefusedAndPartialRecordsDropped) {
  std::vector<uint8_t> bytes(84 * 2 + 83, 0);
  CharColumns r;
  EXPECT_FALSE(CharColumns::Parse(std::span(bytes).first(83), r));
  EXPECT_EQ(kirrup::ParseRecords(bytes).size(), 2u);
}

TEST(CharColumns, DotOrderIsBottomRowFirstMostSignificantBit) {
  CharColumns r;
  r.height = 7;
  r.SetDot(0, 0, true);  // bottom row of a 7-row column
  EXPECT_EQ(r.columns[0], 0x80);
  r = {};
  r.height = 7;
  r.SetDot(0, 6, true);  // top row
  EXPECT_EQ(r.columns[0], 0x02);
  r = {};
  r.height = 11;
  r.SetDot(1, 10, true);  // top row of the second 11-row column: bit 5 of its second byte
  EXPECT_EQ(r.columns[3], 0x20);
  EXPECT_TRUE(r.Dot(1, 10));
  r.SetDot(36, 0, true);  // past the 72 bytes: ignored
  EXPECT_FALSE(r.Dot(36, 0));
}

TEST(CharColumns, AnyThirtyTwoBitSizeStaysInsideTheColumnBytes) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
  const struct {
    int32_t height;
    int bytesPerColumn;
  } cases[] = {{kMax, 268435456}, {kMax - 7, 268435455}, {kMin, -268435455}, {-1, 0}, {0, 0}, {1, 1}, {16, 2}};
  for (const auto& c : cases) {
    CharColumns r;
    r.width = 3;
    r.height = c.height;
    EXPECT_EQ(r.BytesPerColumn(), c.bytesPerColumn) << c.height;
    for (int col : {0, 1, 2, kMax}) {
      for (int k : {0, 7, kMax}) {
        r.SetDot(col, k, true);  // the sanitizer build catches a write outside the array
        const int64_t bit = static_cast<int64_t>(col) * c.bytesPerColumn * 8 + k;
        EXPECT_EQ(r.Dot(col, k), c.bytesPerColumn > 0 && bit < 72 * 8) << c.height << " " << col << " " << k;
      }
    }
  }
  CharColumns r;
  for (auto [w, h, ok] : {std::tuple{180, 16, true}, {0xFFFF, -0xFFFF, true}, {0x10000, 7, false}, {3, kMax, false},
                          {kMin, 7, false}}) {
    r.width = w, r.height = h;
    EXPECT_EQ(r.ExtentsInRange(), ok) << w << " " << h;
  }
}
