// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/text_rasterizer.h"

#include <gtest/gtest.h>

namespace kirrup::platform {
namespace {

int Ink(const Bitmap1& b) {
  int n = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) n += b.Lit(x, y);
  return n;
}

TEST(TextRasterizer, CellHeightIsTheRequestedHeight) {
  for (int h : {8, 12, 16, 31}) {
    TextRasterizer t("DejaVu Sans", h, h / 2);
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t.familyName(), "DejaVu Sans");
    EXPECT_EQ(t.Measure('M').cy, h);
    EXPECT_GT(t.Measure('M').cx, 0);
  }
}

TEST(TextRasterizer, AverageWidthStretchesHorizontally) {
  TextRasterizer narrow("DejaVu Sans", 16, 4);
  TextRasterizer wide("DejaVu Sans", 16, 12);
  EXPECT_LT(narrow.Measure('n').cx * 2, wide.Measure('n').cx);
  // The average width lands near the requested one for ordinary letters.
  const int n = wide.Measure('n').cx;
  EXPECT_GE(n, 10);
  EXPECT_LE(n, 15);
}

TEST(TextRasterizer, DrawsInsideTheCellAndStopsAtTheRasterEdge) {
  TextRasterizer t("DejaVu Sans", 16, 8);
  Bitmap1 b(64, 64);
  t.Draw('H', b, 0, 0);
  EXPECT_GT(Ink(b), 15);
  for (int y = 16; y < 64; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_FALSE(b.Lit(x, y)) << x << "," << y;
  Bitmap1 tiny(3, 3);
  t.Draw('H', tiny, -2, -5);  // partly outside: no harm
  Bitmap1 space(32, 32);
  t.Draw(' ', space, 0, 0);
  EXPECT_EQ(Ink(space), 0);
  EXPECT_GT(t.Measure(' ').cx, 0);
}

TEST(TextRasterizer, MissingCharactersComeFromAnotherFace) {
  TextRasterizer t("DejaVu Sans", 8, 5);  // DejaVu has no ideographs
  const TextExtent e = t.Measure(U'\u4E2D');
  EXPECT_GT(e.cx, 4);
  Bitmap1 b(32, 32);
  t.Draw(U'\u4E2D', b, 0, 0);
  // At 8 pixels the strokes of 中 survive: a box and a vertical bar.
  EXPECT_GE(Ink(b), 12);
  EXPECT_EQ(t.fileName().find("DejaVuSans"), t.fileName().rfind('/') + 1);
}

TEST(TextRasterizer, ZeroAdvanceAndUnknownFamilies) {
  TextRasterizer t("No Such Family Anywhere", 12, 6);
  ASSERT_TRUE(t.ok());
  EXPECT_FALSE(t.familyName().empty());
  EXPECT_EQ(t.Measure(U'\u0301').cx, 0);  // combining acute accent
  EXPECT_GT(t.Measure(U'\xD800').cx, 0);  // no face has it: the missing-glyph box
}

}  // namespace
}  // namespace kirrup::platform
