// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/key_grid.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "fonts/font_engine.h"
#include "lines/led_type.h"

namespace kirrup {
namespace {

using platform::RgbImage;

// Glyphs made to order: code -> record (width, height and the first column byte).
class FakeGlyphs : public GlyphSource {
 public:
  std::map<int, CharColumns> glyphs;
  void Add(int code, int width, uint8_t firstByte, int height = 16) {
    CharColumns r;
    r.width = width;
    r.height = height;
    r.byteCount = static_cast<uint8_t>(width * ((height + 7) / 8));
    r.columns[0] = firstByte;
    glyphs[code] = r;
  }
  bool RenderGlyph(int, uint16_t code, CharColumns& record) override {
    const auto it = glyphs.find(code);
    if (it == glyphs.end()) return false;
    record = it->second;
    return true;
  }
};

std::set<int> Codes(const KeyGrid& g) {
  std::set<int> codes;
  for (int i = 0; i < g.glyphCount(); ++i) codes.insert(g.glyph(i).code);
  return codes;
}

TEST(KeyGridFill, EmptyAndRepeatedGlyphsAreLeftOut) {
  FakeGlyphs src;
  src.Add(' ', 4, 0);      // blank, but the space is kept
  src.Add('A', 5, 0x81);
  src.Add('B', 5, 0x00);   // blank: dropped
  src.Add('C', 5, 0x81);   // same as 'A'
  src.Add('D', 6, 0x81);   // same first byte, other width: kept
  src.Add(200, 5, 0x42);
  src.Add(300, 5, 0x43);   // beyond the count asked for
  KeyGrid g;
  g.Fill(src, 255, kLed16);
  EXPECT_EQ(Codes(g), (std::set<int>{' ', 'A', 'D', 200}));
  EXPECT_EQ(g.glyph(1).code, 'A');  // in code order, under the first code
}

// The shipped libraries: what each LED type offers.
class KeyGridLibraries : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLedTypeTable();
    ApplyLed11Settings(2, 156);
    fonts_.LoadLibraries(KIRRUP_BIN_DIR);
  }
  void TearDown() override { ResetLedTypeTable(); }
  FontEngine fonts_;
};

// An installed font: a code it has no glyph for (the control codes) is left out, not shown
// as the font's missing-character box.
TEST(KeyGridSystemFont, CodesTheFontLacksAreLeftOut) {
  FontEngine fonts;
  fonts.builtInSwitch = 0;
  fonts.systemFontName = u"DejaVu Serif";
  KeyGrid g;
  g.Fill(fonts, 255, kLed16);
  const std::set<int> codes = Codes(g);
  EXPECT_TRUE(codes.count('A') && codes.count(0xE9) && codes.count(' '));
  for (int code : codes) EXPECT_TRUE((code >= 32 && code < 127) || code >= 160) << code;
}

TEST_F(KeyGridLibraries, SevenLedsSymbolsAndPrintableAscii) {
  KeyGrid g;
  g.Fill(fonts_, 255, kLed7);
  std::set<int> expected;
  for (int c = 18; c <= 27; ++c) expected.insert(c);
  for (int c = 32; c <= 126; ++c) expected.insert(c);
  EXPECT_EQ(Codes(g), expected);  // nothing from 128 on
}

TEST_F(KeyGridLibraries, SixteenAndElevenLedsSymbolsAsciiAndDistinctUserFontGlyphs) {
  const std::set<int> symbols = {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 14, 15, 16, 17, 18};
  for (int type : {kLed11, kLed16}) {
    KeyGrid g;
    g.Fill(fonts_, 255, type);
    const std::set<int> codes = Codes(g);
    for (int c : symbols) EXPECT_TRUE(codes.count(c)) << type << ": " << c;
    for (int c = 32; c <= 126; ++c) EXPECT_TRUE(codes.count(c)) << type << ": " << c;
    for (int c : codes) EXPECT_TRUE(symbols.count(c) || c >= 19) << type << ": " << c;  // no 9, 10, 13
    EXPECT_GT(*codes.rbegin(), 127);  // the user font supplies codes above ASCII
    for (int i = 0; i < g.glyphCount(); ++i)
      for (int j = 0; j < i; ++j) {
        const CharColumns &a = g.glyph(i), &b = g.glyph(j);
        EXPECT_FALSE(a.width == b.width && a.byteCount == b.byteCount && a.columns == b.columns)
            << a.code << " repeats " << b.code;
      }
  }
}

// 40 glyphs: 3 rows of 16.
KeyGrid GridOf(int count, int clientWidth, int clientHeight) {
  FakeGlyphs src;
  for (int c = 1; c <= count; ++c) src.Add(c, 3, static_cast<uint8_t>(c));
  KeyGrid g;
  g.Layout(clientWidth, clientHeight);
  g.Fill(src, 255, kLed16);
  return g;
}

TEST(KeyGridLayout, RowsScrollBarAndHitTest) {
  const KeyGrid g = GridOf(40, 520, 62);  // two visible rows
  EXPECT_EQ(g.rows(), 3);
  EXPECT_EQ(g.visibleRows(), 2);
  EXPECT_TRUE(g.scrollBar().enabled);
  EXPECT_EQ(g.scrollBar().rect.left, 500);
  EXPECT_EQ(g.scrollBar().maximum, 2);
  struct Case {
    int x, y, index;
  } cases[] = {
      {2, 2, 0},          // first pixel of the cell area
      {1, 5, -1},         // in the inset
      {29, 2, 0},         // last column of cell 0
      {30, 2, -1},        // the gap
      {32, 2, 1},
      {2 + 15 * 30, 32, 31},
      {2 + 16 * 30, 2, -1},  // a 17th column does not exist
      {2 + 9 * 30, 62, -1},  // below the visible rows
  };
  for (const Case& c : cases) EXPECT_EQ(g.HitTest(c.x, c.y), c.index) << c.x << "," << c.y;
}

TEST(KeyGridLayout, WindowTooLowForOneRow) {
  KeyGrid g = GridOf(5, 520, 20);
  EXPECT_EQ(g.visibleRows(), 0);
  EXPECT_TRUE(g.scrollBar().enabled);
  EXPECT_EQ(g.HitTest(5, 5), -1);
  RgbImage out;
  g.Paint(out);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) ASSERT_EQ(out.Pixel(x, y), kKeyBackground);
}

TEST(KeyGridScroll, CodesFollowTheLimits) {
  // 100 glyphs = 7 rows, 2 visible: first row runs 0..5.
  struct Step {
    KeyScroll code;
    int thumb;
    int first;
  } steps[] = {
      {KeyScroll::LineUp, 0, 0},   {KeyScroll::PageDown, 0, 2}, {KeyScroll::PageDown, 0, 4},
      {KeyScroll::PageDown, 0, 5}, {KeyScroll::PageDown, 0, 5}, {KeyScroll::LineDown, 0, 5},
      {KeyScroll::PageUp, 0, 3},   {KeyScroll::ThumbTrack, 1, 1}, {KeyScroll::Other, 4, 1},
      {KeyScroll::PageUp, 0, 0},
  };
  KeyGrid g = GridOf(100, 520, 62);
  for (const Step& s : steps) {
    g.Scroll(s.code, s.thumb);
    EXPECT_EQ(g.firstRow(), s.first);
  }
  g.Scroll(KeyScroll::ThumbTrack, 3);
  EXPECT_EQ(g.HitTest(2, 2), 48);
}

TEST(KeyGridMouse, ReleaseOnAnotherCellSendsThatCell) {
  KeyGrid g = GridOf(40, 520, 62);
  g.MouseMove(5, 5);
  EXPECT_EQ(g.drawnHotCell(), 0);
  g.LeftDown(5, 5);
  EXPECT_EQ(g.drawnHotCell(), -1);  // pressed: normal face
  KeyGrid h = GridOf(40, 520, 62);
  h.LeftDown(5, 5);
  h.MouseMove(65, 5);  // dragged onto cell 2
  const auto up = h.LeftUp(65, 5);
  ASSERT_TRUE(up.insert.has_value());
  EXPECT_EQ(up.insert->code, 3);
  EXPECT_EQ(h.hotCell(), -1);
  EXPECT_EQ(h.drawnHotCell(), 2);

  // Released without a move in between: the press's cell is not the one released on.
  KeyGrid k = GridOf(40, 520, 62);
  k.LeftDown(5, 5);
  EXPECT_FALSE(k.LeftUp(65, 5).insert.has_value());
  EXPECT_TRUE(k.MouseLeave().repaint);
  EXPECT_FALSE(k.tracked());
}

TEST(KeyGridPaint, GlyphCentredDoubledForSevenLedsAndHotInk) {
  CharColumns r;  // 2 columns x 7 rows: the rightmost column's bottom dot and the left column's top dot
  r.width = 2;
  r.height = 7;
  r.byteCount = 2;
  r.SetDot(0, 0, true);  // stored order: column 0 is the rightmost
  r.SetDot(1, 6, true);
  RgbImage cell(28, 28, kKeyBackground);
  DrawGlyphInCell(r, kLed7, platform::kInk, cell, {0, 0, 28, 28});
  // 4 x 14 pixels centred: left 12, top 7.
  EXPECT_EQ(cell.Pixel(12, 7), platform::kInk);
  EXPECT_EQ(cell.Pixel(13, 8), platform::kInk);
  EXPECT_EQ(cell.Pixel(15, 20), platform::kInk);
  EXPECT_EQ(cell.Pixel(14, 7), kKeyBackground);
  EXPECT_EQ(cell.Pixel(12, 20), kKeyBackground);

  RgbImage hot(28, 28, kKeyBackground);
  DrawGlyphInCell(r, kLed16, kKeyHotInk, hot, {0, 0, 28, 28});
  EXPECT_EQ(hot.Pixel(13, 10), kKeyHotInk);  // 2 x 7 at its own size: left 13, top 10
  EXPECT_EQ(hot.Pixel(14, 16), kKeyHotInk);
}

TEST(KeyGridPaint, WideGlyphIsNarrowedKeepingEveryColumnsDots) {
  CharColumns r;  // 36 columns, 16 rows: every column lit at one row of its own
  r.width = 36;
  r.height = 16;
  r.byteCount = 72;
  for (int c = 0; c < 36; ++c) r.SetDot(c, c % 16, true);
  RgbImage cell(28, 28, kKeyBackground);
  DrawGlyphInCell(r, kLed16, platform::kInk, cell, {0, 0, 28, 28});
  int lit = 0, columnsUsed = 0;
  for (int x = 0; x < 28; ++x) {
    bool any = false;
    for (int y = 0; y < 28; ++y)
      if (cell.Pixel(x, y) == platform::kInk) ++lit, any = true;
    columnsUsed += any;
  }
  EXPECT_EQ(columnsUsed, 28);  // the whole cell width, nothing outside it
  EXPECT_EQ(lit, 36);          // no dot lost: the merged columns lit different rows
}

// The keyboard's cell over 40 glyphs (rows of 16, 16, 8) in a window of two visible rows.
TEST(KeyGridKeys, MovesStayOnGlyphsAndScrollIntoView) {
  FakeGlyphs src;
  for (int c = 1; c <= 40; ++c) src.Add(c, 5, static_cast<uint8_t>(c));
  struct Case {
    const char* what;
    int from;
    KeyMove move;
    int to, firstRow;
  };
  const Case cases[] = {
      {"left at the first glyph stays", 0, KeyMove::Left, 0, 0},
      {"right wraps into the next row", 15, KeyMove::Right, 16, 0},
      {"right at the last glyph stays", 39, KeyMove::Right, 39, 1},
      {"down into the short last row scrolls", 20, KeyMove::Down, 36, 1},
      {"down where the last row has no cell stays", 25, KeyMove::Down, 25, 0},
      {"up from the top row stays", 3, KeyMove::Up, 3, 0},
      {"page down: two rows, at most the last glyph", 10, KeyMove::PageDown, 39, 1},
      {"page up short of a page: the same column in the top row", 37, KeyMove::PageUp, 5, 0},
      {"row end of the short row", 33, KeyMove::RowEnd, 39, 1},
      {"row start", 37, KeyMove::RowStart, 32, 1},
      {"first scrolls back", 37, KeyMove::First, 0, 0},
      {"last", 0, KeyMove::Last, 39, 1},
  };
  for (const Case& c : cases) {
    KeyGrid g;
    g.Layout(16 * 30 + 20, 2 * 30);
    g.Fill(src, 255, kLed16);
    g.SetFocusCell(c.from);
    g.MoveFocus(c.move);
    EXPECT_EQ(g.focusCell(), c.to) << c.what;
    EXPECT_EQ(g.firstRow(), c.firstRow) << c.what;
    EXPECT_EQ(g.FocusGlyph()->code, c.to + 1) << c.what;
  }
}

TEST(KeyGridKeys, WithoutGlyphsNothingMovesOrInserts) {
  FakeGlyphs none;
  KeyGrid g;
  g.Layout(500, 120);
  g.Fill(none, 255, kLed7);
  EXPECT_FALSE(g.MoveFocus(KeyMove::Right));
  EXPECT_FALSE(g.FocusGlyph().has_value());
}

}  // namespace
}  // namespace kirrup
