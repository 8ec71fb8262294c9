// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/raster.h"

#include <gtest/gtest.h>

using namespace kirrup::platform;

TEST(Bitmap1, OutsideReadsPaperAndWritesAreIgnored) {
  Bitmap1 b(4, 3);
  b.Set(-1, 0, true);
  b.Set(4, 0, true);
  b.Set(0, 3, true);
  EXPECT_EQ(b, Bitmap1(4, 3));
  EXPECT_FALSE(b.Lit(100, 100));
  EXPECT_EQ(b.Pixel(-5, 1), kPaper);
}

TEST(Bitmap1, OnlyBlackCountsAsInk) {
  Bitmap1 b(2, 1);
  b.SetPixel(0, 0, 0x000001);
  b.SetPixel(1, 0, kInk);
  EXPECT_FALSE(b.Lit(0, 0));
  EXPECT_TRUE(b.Lit(1, 0));
}

TEST(Bitmap1, CopyFromClipsAtBothRasters) {
  Bitmap1 src(3, 3), dst(3, 3);
  src.Fill(true);
  dst.CopyFrom(src, 1, 1, 5, 5, 2, 0);  // only (1..2,1..2) of src exists; only x=2 of dst fits
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dst.Lit(x, y), x == 2 && y < 2) << x << "," << y;
}

TEST(Bitmap1, CopyFromMatchesADotByDotCopyAtEveryOffset) {
  Bitmap1 src(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) src.Set(x, y, (x * 7 + y * 3) % 3 == 0);
  for (int sx = -3; sx <= 4; ++sx)
    for (int sy = -2; sy <= 3; ++sy)
      for (int d = -4; d <= 4; d += 2)
        for (int w : {0, 2, 6})
          for (int h : {1, 4}) {
            Bitmap1 copied(5, 4), expected(5, 4);
            copied.Set(0, 0, true);
            expected.Set(0, 0, true);
            copied.CopyFrom(src, sx, sy, w, h, d, d / 2);
            for (int y = 0; y < h; ++y)
              for (int x = 0; x < w; ++x)
                if (src.Contains(sx + x, sy + y)) expected.Set(d + x, d / 2 + y, src.Lit(sx + x, sy + y));
            ASSERT_EQ(copied, expected) << sx << "," << sy << " " << w << "x" << h << " to " << d;
          }
}

TEST(RgbImage, FillRectClipsAndMasksColour) {
  RgbImage img(3, 2, kInk);
  img.FillRect({-1, 1, 2, 9}, 0xFF0000FF);
  EXPECT_EQ(img.Pixel(0, 1), 0x0000FFu);
  EXPECT_EQ(img.Pixel(1, 1), 0x0000FFu);
  EXPECT_EQ(img.Pixel(2, 1), kInk);
  EXPECT_EQ(img.Pixel(0, 0), kInk);
}

TEST(RgbImage, FillsCoverExactlyTheirPixels) {
  // Widths around the doubling copies' block sizes; the rest of the picture stays as it was.
  struct Case {
    Rect r;
  };
  const Case cases[] = {{{0, 0, 1, 1}}, {{3, 2, 10, 5}}, {{1, 0, 34, 1}}, {{0, 0, 37, 9}}, {{36, 8, 40, 12}}};
  for (const Case& c : cases) {
    RgbImage img(37, 9, 0x123456);
    img.FillRect(c.r, 0xABCDEF);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 37; ++x) {
        const bool inside = x >= c.r.left && x < c.r.right && y >= c.r.top && y < c.r.bottom;
        ASSERT_EQ(img.Pixel(x, y), inside ? 0xABCDEFu : 0x123456u) << c.r.left << "," << c.r.right << " " << x << "," << y;
      }
  }
  RgbImage whole(5, 3, 0x010203);
  whole.Fill(0x0000FF);
  EXPECT_EQ(whole.pixels(), std::vector<Color>(15, 0x0000FF));
}

TEST(RgbImage, CopyFromClipsAsPixelByPixelCopyingWould) {
  RgbImage src(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) src.SetPixel(x, y, static_cast<Color>(16 * y + x + 1));
  for (const auto& [dx, dy] : {std::pair{0, 0}, {-2, 1}, {4, -1}, {-4, 0}, {2, 2}}) {
    RgbImage copied(6, 4, 0x808080), expected(6, 4, 0x808080);
    copied.CopyFrom(src, dx, dy);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) expected.SetPixel(dx + x, dy + y, src.Pixel(x, y));
    EXPECT_EQ(copied, expected) << dx << "," << dy;
  }
  // A new size keeps nothing of the old picture.
  RgbImage r(6, 4, 0x123456);
  r.Reset(2, 3, 0x0000FF);
  EXPECT_EQ(r, RgbImage(2, 3, 0x0000FF));
}
