// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/system_glyph.h"

#include <gtest/gtest.h>

#include "fonts/font_engine.h"
#include "lines/led_type.h"

namespace kirrup {
namespace {

using platform::Bitmap1;

// The drawing of a character: a bitmap 4 cells wide and high with ink where asked.
Bitmap1 Drawing(int W, int H) { return Bitmap1(4 * W, 4 * H); }
bool Lit(const CharColumns& r, int x, int y) { return r.Dot(r.width - 1 - x, r.height - 1 - y); }

TEST(CutAndExtract, SevenLedsDropAnEmptyTopRow) {
  Bitmap1 d = Drawing(5, 7);
  for (int y = 1; y <= 7; ++y) d.Set(0, y, true);  // a bar over rows 1..7
  d.Set(4, 1, true);
  CharColumns r;
  CutAndExtract(d, 5, 8, 5, 7, 1, r);
  EXPECT_EQ(r.width, 6);
  EXPECT_EQ(r.height, 7);
  EXPECT_EQ(r.byteCount, 6);
  EXPECT_EQ(r.columns[0], 0x00);  // the gap column comes first in stored order
  EXPECT_EQ(r.columns[1], 0x02);  // column 4: drawing row 1 is the cell's top row
  EXPECT_EQ(r.columns[5], 0xFE);
}

TEST(CutAndExtract, ElevenLedsDropTheBottomRowWhenRowZeroHasInk) {
  Bitmap1 d = Drawing(11, 11);
  d.Set(2, 0, true);
  d.Set(3, 11, true);  // the twelfth row: cut away
  CharColumns r;
  CutAndExtract(d, 6, 12, 11, 11, 2, r);
  EXPECT_EQ(r.height, 11);
  EXPECT_EQ(r.width, 8);
  EXPECT_EQ(r.byteCount, 16);
  EXPECT_TRUE(Lit(r, 2, 0));
  for (int x = 0; x < r.width; ++x) EXPECT_FALSE(Lit(r, x, 10)) << x;
}

TEST(CutAndExtract, WidthCuts) {
  // 16 LEDs, 16 pixels: neither cut.
  Bitmap1 d = Drawing(16, 16);
  CharColumns r;
  CutAndExtract(d, 16, 16, 16, 16, 0, r);
  EXPECT_EQ(r.width, 16);
  EXPECT_EQ(r.height, 16);
  EXPECT_EQ(r.byteCount, 32);
  // 17 pixels with empty first and last columns: only the right one goes.
  d.Set(1, 5, true), d.Set(15, 5, true);
  r = CharColumns{};
  CutAndExtract(d, 17, 16, 16, 16, 0, r);
  EXPECT_EQ(r.width, 16);
  EXPECT_TRUE(Lit(r, 1, 5));
  EXPECT_TRUE(Lit(r, 15, 5));
  // 20 pixels with empty first and last columns: both go (and the gap is added).
  Bitmap1 wide = Drawing(11, 11);
  wide.Set(1, 3, true), wide.Set(18, 3, true);
  r = CharColumns{};
  CutAndExtract(wide, 20, 11, 11, 11, 2, r);
  EXPECT_EQ(r.width, 18 + 2);
  EXPECT_TRUE(Lit(r, 0, 3));
  EXPECT_TRUE(Lit(r, 17, 3));
  // Ink in the first column keeps it.
  wide.Set(0, 4, true);
  r = CharColumns{};
  CutAndExtract(wide, 20, 11, 11, 11, 2, r);
  EXPECT_EQ(r.width, 19 + 2);
}

TEST(CutAndExtract, GapColumnsReadWhatTheCharacterDrewBeyondItsAdvance) {
  Bitmap1 d = Drawing(5, 7);
  d.Set(5, 3, true);  // one column right of a 5-pixel advance
  CharColumns r;
  CutAndExtract(d, 5, 7, 5, 7, 1, r);
  EXPECT_EQ(r.width, 6);
  EXPECT_EQ(r.columns[0], 0x10);
}

TEST(CutAndExtract, TooWideForTheRecordKeepsTheColumnsThatFit) {
  Bitmap1 d = Drawing(16, 16);
  d.Fill(true);
  CharColumns r;
  CutAndExtract(d, 40, 16, 16, 16, 0, r);
  EXPECT_EQ(r.width, 40);
  EXPECT_EQ(r.byteCount, 72);
  EXPECT_EQ(r.columns[71], 0xFF);
}

class SystemGlyphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLedTypeTable();
    ApplyLed11Settings(2, 156);
    fonts_.builtInSwitch = 0;
    fonts_.CreateLedFonts();
  }
  void TearDown() override { ResetLedTypeTable(); }
  FontEngine fonts_;
};

TEST_F(SystemGlyphTest, RendersThroughTheSystemFontWhenTheSwitchIsOff) {
  for (int type : {kLed7, kLed11, kLed16}) {
    CharColumns r;
    ASSERT_TRUE(fonts_.RenderGlyph(type, 'H', r)) << type;
    EXPECT_EQ(r.kind, 0);
    EXPECT_EQ(r.height, LedTypeRow(type).height);
    EXPECT_EQ(r.byteCount, r.width * ((r.height + 7) / 8));
    int ink = 0;
    for (int x = 0; x < r.width; ++x)
      for (int y = 0; y < r.height; ++y) ink += Lit(r, x, y);
    EXPECT_GT(ink, 5) << type;
  }
}

TEST_F(SystemGlyphTest, SpaceCombiningMarkAndMissingCharacters) {
  CharColumns space;
  ASSERT_TRUE(fonts_.RenderSystemGlyph(kLed11, ' ', space));
  EXPECT_GT(space.width, 2);
  for (int i = 0; i < space.byteCount; ++i) EXPECT_EQ(space.columns[i], 0);
  CharColumns mark;
  EXPECT_FALSE(fonts_.RenderSystemGlyph(kLed16, 0x0301, mark));
  // A lone surrogate has no face; it is drawn like any missing character, never crashes.
  CharColumns s;
  EXPECT_TRUE(fonts_.RenderSystemGlyph(kLed16, 0xD800, s));
  EXPECT_LE(s.byteCount, 72);
}

TEST_F(SystemGlyphTest, IdeographsComeFromAFaceThatHasThem) {
  CharColumns r;
  ASSERT_TRUE(fonts_.RenderSystemGlyph(kLed16, 0x4E2D, r));
  EXPECT_EQ(r.height, 16);
  EXPECT_GE(r.width, 12);
  // 中: a vertical stroke through the middle, at least 10 dots tall.
  int best = 0;
  for (int x = 0; x < r.width; ++x) {
    int n = 0;
    for (int y = 0; y < r.height; ++y) n += Lit(r, x, y);
    best = std::max(best, n);
  }
  EXPECT_GE(best, 10);
  // At the 7-LED size the strokes survive too.
  CharColumns small;
  ASSERT_TRUE(fonts_.RenderSystemGlyph(kLed7, 0x4E2D, small));
  int ink = 0;
  for (int x = 0; x < small.width; ++x)
    for (int y = 0; y < small.height; ++y) ink += Lit(small, x, y);
  EXPECT_GE(ink, 12);
}

TEST_F(SystemGlyphTest, UnknownFaceNamesAreSubstituted) {
  fonts_.systemFontName = u"No Such Face 1234";
  fonts_.CreateLedFont(kLed16);
  ASSERT_NE(fonts_.ledFont(kLed16), nullptr);
  EXPECT_TRUE(fonts_.ledFont(kLed16)->rasterizer().ok());
  EXPECT_FALSE(fonts_.ledFont(kLed16)->rasterizer().familyName().empty());
  CharColumns r;
  EXPECT_TRUE(fonts_.RenderSystemGlyph(kLed16, 'A', r));
}

TEST_F(SystemGlyphTest, CreateLedFontChangesOnlyThatType) {
  fonts_.systemFontName = u"DejaVu Serif";
  fonts_.CreateLedFont(kLed16);
  EXPECT_EQ(fonts_.ledFont(kLed16)->rasterizer().familyName(), "DejaVu Serif");
  EXPECT_NE(fonts_.ledFont(kLed11)->rasterizer().familyName(), "DejaVu Serif");
}

}  // namespace
}  // namespace kirrup
