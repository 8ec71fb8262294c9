// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/main_dialog_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

TEST(RowScroll, PagesStopAtTheLastFullPage) {
  RowScroll s{0, 8};
  EXPECT_TRUE(s.Scroll(ScrollCode::PageDown));
  EXPECT_EQ(s.first, 4);  // rows 5..12
  EXPECT_FALSE(s.Scroll(ScrollCode::PageDown));
  EXPECT_EQ(s.first, 4);
  EXPECT_FALSE(s.Scroll(ScrollCode::LineDown));
  EXPECT_TRUE(s.Scroll(ScrollCode::PageUp));
  EXPECT_EQ(s.first, 0);
  EXPECT_FALSE(s.Scroll(ScrollCode::PageUp));
  EXPECT_FALSE(s.Scroll(ScrollCode::LineUp));
}

TEST(RowScroll, LinesThumbAndOtherCodes) {
  RowScroll s{0, 5};
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(s.Scroll(ScrollCode::LineDown));
  EXPECT_EQ(s.first, 7);
  EXPECT_FALSE(s.Scroll(ScrollCode::LineDown));
  EXPECT_TRUE(s.Scroll(ScrollCode::PageUp));
  EXPECT_EQ(s.first, 2);
  EXPECT_TRUE(s.Scroll(ScrollCode::PageUp));
  EXPECT_EQ(s.first, 0);  // not below 0
  EXPECT_TRUE(s.Scroll(ScrollCode::ThumbTrack, 3));
  EXPECT_EQ(s.first, 3);
  for (ScrollCode c : {ScrollCode::ThumbPosition, ScrollCode::Top, ScrollCode::Bottom, ScrollCode::EndScroll})
    EXPECT_FALSE(s.Scroll(c, 6));
  EXPECT_EQ(s.first, 3);
  // A page holding every row never moves.
  RowScroll all{0, 12};
  EXPECT_FALSE(all.Scroll(ScrollCode::PageDown));
  EXPECT_FALSE(all.Scroll(ScrollCode::LineDown));
  // A page larger than the rows: page down keeps the first row at 0.
  RowScroll big{0, 13};
  EXPECT_FALSE(big.Scroll(ScrollCode::PageDown));
  EXPECT_EQ(big.first, 0);
}

TEST(RowsPerPage, FivePixelsBetweenRows) {
  EXPECT_EQ(RowsPerPage(8 * 24 + 7 * 5, 24), 8);
  EXPECT_EQ(RowsPerPage(8 * 24 + 7 * 5 - 1, 24), 7);
  EXPECT_EQ(RowsPerPage(10, 24), 0);
}

TEST(TopBand, Mnemonics) {
  const struct {
    std::u16string caption;
    char16_t key;
    std::u16string expected;
  } mnemonics[] = {
      {u"LedType", u'L', u"&LedType"}, {u"LED类型", u'L', u"&LED类型"}, {u"Font", u'f', u"&Font"},
      {u"font", u'F', u"&font"},      {u"字体", u'F', u"字体(&F)"},   {u"", u'L', u"(&L)"},
  };
  for (const auto& m : mnemonics) EXPECT_EQ(WithMnemonic(m.caption, m.key), m.expected);
}

// Paragraphs as HTML, the characters kept (leading blanks too) and the markup escaped.
TEST(TopBand, NoteParagraphs) {
  const std::u16string p = u"<p style=\"margin:0 0 4px 0; white-space:pre-wrap\">";
  EXPECT_EQ(NoteParagraphs(u"one line"), p + u"one line</p>");
  EXPECT_EQ(NoteParagraphs(u"a:\r\n\r\n  b<&>\r\nc"), p + u"a:</p>" + p + u"  b&lt;&amp;&gt;\nc</p>");
}

TEST(TopBand, RelationsOfLogoIndicatorAndLanguage) {
  TopBandInput in;
  in.clientWidth = 900;
  in.logo = {160, 48};
  in.indicator = {36, 36};
  in.dividerLeft = 600;
  in.labelHeight = 0;
  in.comboHeight = 28;
  const TopBandLayout l = LayOutTopBand(in);
  EXPECT_EQ(l.band.Width(), 900);
  EXPECT_EQ(l.band.Height(), 52);
  EXPECT_EQ(l.logo.left, 2);
  EXPECT_EQ(l.logo.top, 2);
  EXPECT_EQ(l.indicator.right, 898);
  EXPECT_EQ(l.indicator.Width(), 36);
  EXPECT_EQ(l.indicatorFrame.left, l.indicator.left - 2);
  EXPECT_EQ(l.indicatorFrame.bottom, l.indicator.bottom + 2);
  EXPECT_EQ(l.divider.Width(), 0);
  EXPECT_EQ(l.divider.Height(), 52);
  EXPECT_EQ(l.combo.left, 608);
  EXPECT_EQ(l.combo.right, l.indicatorFrame.left - 8);
  EXPECT_EQ(l.combo.Height(), 28);
  EXPECT_EQ(l.label.Height(), 0);
}

TEST(LineWindowWidth, ShowsTheWholeLineOfEveryType) {
  ResetLedTypeTable();
  EXPECT_EQ(LineWindowWidth(LedTypeRow(kLed7), 1), 2 * (108 + 2 + 4) + 2);
  EXPECT_EQ(LineWindowWidth(LedTypeRow(kLed16), 3), 144 + 6 + 4 + 2);
}

RowLayoutInput SampleInput(bool middle, int first, int page) {
  RowLayoutInput in;
  in.inner = {13, 87, 671, 87 + 365};
  in.scrollBarLeft = 671;
  in.comboHeight = 24;
  in.labelWidth = 20;
  in.labelHeight = 24;
  in.txtWidth = 36;
  in.txtHeight = 24;
  in.lineWidth = 230;
  in.lineHeight = 26;
  in.useMiddle = middle;
  in.scroll = {first, page};
  return in;
}

TEST(RowLayout, SlotsColumnsAndHeaders) {
  auto l = LayOutRows(SampleInput(false, 0, 12));
  ASSERT_TRUE(l);
  // g = (365 - 12 * 24) / 11 = 7
  EXPECT_EQ(l->rows[0].open.top, 87);
  EXPECT_EQ(l->rows[1].open.top, 87 + 31);
  EXPECT_EQ(l->rows[11].open.top, 87 + 11 * 31);
  const RowPlacement& r = l->rows[3];
  EXPECT_EQ(r.label.left, 13);
  EXPECT_EQ(r.line.left, 13 + 20 + 4);
  EXPECT_EQ(r.line.top, r.open.top - 2);
  EXPECT_EQ(r.line.Height(), 26);
  EXPECT_EQ(r.txt.left, r.line.right + 4);
  EXPECT_EQ(r.open.left, r.txt.right + 4);
  // (671 - 13 - 8 - 20 - 230 - 36 - 12) div 2
  EXPECT_EQ(r.open.Width(), 176);
  EXPECT_EQ(r.close.left, r.open.right + 4);
  EXPECT_TRUE(r.middle.Empty());
  EXPECT_EQ(l->headers.dataLeft, 13);
  EXPECT_EQ(l->headers.dataRight, r.txt.right);
  EXPECT_EQ(l->headers.openRight, r.open.right);
  EXPECT_EQ(l->headers.closeLeft, r.open.right);
  EXPECT_EQ(l->headers.closeRight, r.close.right);

  auto m = LayOutRows(SampleInput(true, 0, 12));
  ASSERT_TRUE(m);
  const RowPlacement& s = m->rows[3];
  EXPECT_EQ(s.open.Width(), 117);
  EXPECT_EQ(s.middle.left, s.open.right + 4);
  EXPECT_EQ(s.close.left, s.middle.right + 4);
  EXPECT_EQ(m->headers.middleLeft, s.open.right);
  EXPECT_EQ(m->headers.closeLeft, s.middle.right);
}

TEST(RowLayout, ScrolledRowsAndRealGap) {
  // page 8 in 365 pixels: g = (365 - 192) / 7 = 24.714...
  auto l = LayOutRows(SampleInput(false, 4, 8));
  ASSERT_TRUE(l);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(l->rows[i].visible);
  for (int i = 4; i < 12; ++i) EXPECT_TRUE(l->rows[i].visible);
  EXPECT_EQ(l->rows[4].open.top, 87);
  EXPECT_EQ(l->rows[7].open.top, 87 + 146);  // trunc(48.714 * 3)
  EXPECT_EQ(l->rows[11].open.top, 87 + 341);
  EXPECT_FALSE(LayOutRows(SampleInput(false, 0, 0)));
}

TEST(RowLayout, FrameWidthForCombosGivesEachComboItsWidth) {
  for (int comboWidth : {60, 117, 191, 250}) {
    for (int lineWidth : {156, 192, 230}) {
      const int frame = ListFrameWidthFor(comboWidth, 20, lineWidth, 36);
      const ListArea area = ListAreaOf({12, 86, 12 + frame, 86 + 375}, 0);
      for (bool middle : {true, false}) {
        RowLayoutInput in = SampleInput(middle, 0, 12);
        in.inner = area.inner;
        in.scrollBarLeft = area.scrollBar.left;
        in.lineWidth = lineWidth;
        const auto l = LayOutRows(in);
        ASSERT_TRUE(l);
        EXPECT_GE(l->rows[0].open.Width(), comboWidth);
        EXPECT_LE(l->rows[0].close.right, area.scrollBar.left);
        if (middle) {
          EXPECT_EQ(l->rows[0].open.Width(), comboWidth) << comboWidth << " " << lineWidth;
        }
      }
    }
  }
}

TEST(SavePrompt, OnlyModifiedDataWithACharacter) {
  testing::FakeGlyphs glyphs;
  auto rows = std::make_unique<MessageRows>();
  rows->SetGlyphSource(&glyphs);
  EXPECT_FALSE(SavePromptNeeded(true, *rows));  // row 1 enabled but empty
  ASSERT_TRUE((*rows)[0].line.RenderAndInsert('A', false));
  EXPECT_TRUE(SavePromptNeeded(true, *rows));
  EXPECT_FALSE(SavePromptNeeded(false, *rows));
}

TEST(MainDialogState, LineChangesEnableTheNextRow) {
  auto rows = std::make_unique<MessageRows>();
  MainDialogState st;
  EXPECT_EQ(st.LineChanged(*rows, 0), 1);
  EXPECT_TRUE(st.modified);
  EXPECT_TRUE((*rows)[1].enabled);
  EXPECT_EQ(st.LineChanged(*rows, 0), -1);  // already enabled
  EXPECT_EQ(st.LineChanged(*rows, 11), -1);  // the last row has no next
  // The character editor opened on a row enables the next one, but changes no data.
  MainDialogState opened;
  EXPECT_EQ(opened.EditorOpened(*rows, 1), 2);
  EXPECT_FALSE(opened.modified);
  st.LineFocused(3005);
  EXPECT_EQ(st.currentRow, 4);
  st.LineFocused(3013);
  EXPECT_EQ(st.currentRow, 4);
  EXPECT_EQ(st.OfferedPath(), "*.LDAT");
  EXPECT_EQ(st.lastFilePath, "*.LDAT");
  st.lastFilePath = "/tmp/a.LDAT";
  EXPECT_EQ(st.OfferedPath(), "/tmp/a.LDAT");
}

}  // namespace
}  // namespace kirrup
