// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_room.h"

#include <gtest/gtest.h>

#include "lines/line_editor.h"
#include "lines/line_test_support.h"

namespace kirrup {
namespace {

// Characters of `width` columns typed until `count` are in the line (or it refuses).
void Fill(MessageLine& line, int count) {
  for (int i = 0; i < count && line.RenderAndInsert('a', false); ++i) line.MoveCaret(+1, false);
}

TEST(LineRoom, WhyATypedCharacterWasRefusedAndTheCue) {
  const struct {
    int type;
    int width;   // of the characters already there
    int count;   // how many
    int typedWidth;
    Refusal why;
    const char* cue;
  } cases[] = {
      // "ABCDEFGHIJKLMN": M too wide for what is left, N would still fit.
      {kLed7, 6, 17, 8, Refusal::TooWide, "Does not fit: 102 / 108 columns used"},
      {kLed7, 6, 18, 1, Refusal::LineFull, "Line full: 108 / 108 columns"},
      {kLed16, 1, 50, 1, Refusal::TooManyCharacters, "Line full: 50 characters"},
      {kLed16, 7, 20, 5, Refusal::TooWide, "Does not fit: 140 / 144 columns used"},
      {kLed7, 6, 2, 0, Refusal::NoGlyph, ""},  // width 0: no glyph for the code
  };
  for (const auto& c : cases) {
    testing::FakeGlyphs glyphs;
    glyphs.widthOf = [&c](uint16_t code) { return code == 'a' ? c.width : c.typedWidth; };
    if (c.typedWidth == 0) glyphs.missing = {'M'};
    MessageLine line;
    line.SetGlyphSource(&glyphs);
    line.SetLedType(c.type, false);
    Fill(line, c.count);
    ASSERT_EQ(line.itemCount(), c.count);
    ASSERT_FALSE(line.RenderAndInsert('M', false));
    const Refusal why = WhyCodeRefused(line, 'M');
    EXPECT_EQ(why, c.why) << c.cue;
    EXPECT_EQ(NoRoom(why), *c.cue != '\0');
    EXPECT_EQ(RefusalCue(why, line, false), c.cue);
    EXPECT_EQ(line.itemCount(), c.count);  // asking changed nothing
  }
}

TEST(LineRoom, PickedRecords) {
  testing::FakeGlyphs glyphs;
  glyphs.widthOf = [](uint16_t) { return 7; };
  MessageLine line;
  line.SetGlyphSource(&glyphs);
  line.SetLedType(kLed16, false);
  Fill(line, 20);  // 140 of 144 columns
  const auto record = [](int width) { return testing::MakeRecord('x', width, 16, [](int, int) { return true; }); };
  EXPECT_EQ(WhyRecordRefused(line, record(4)), Refusal::None);
  EXPECT_EQ(WhyRecordRefused(line, record(5)), Refusal::TooWide);
  EXPECT_EQ(WhyRecordRefused(line, record(0)), Refusal::NoGlyph);
  EXPECT_EQ(ColumnsText(line, false), "140 / 144 columns");
  EXPECT_EQ(ColumnsText(line, true), "140 / 144 列");
  ASSERT_TRUE(line.InsertRecord(record(4)));
  EXPECT_EQ(WhyRecordRefused(line, record(1)), Refusal::LineFull);
}

// The window hears of a typed character that was refused, also when typing over a
// selection removed the selection first; never of one that went in.
TEST(LineRoom, EditorReportsRefusedTypedCharacters) {
  struct Host : LineEditorHost {
    std::vector<uint16_t> refused;
    void CharacterRefused(uint16_t code) override { refused.push_back(code); }
  } host;
  testing::FakeGlyphs glyphs;
  glyphs.widthOf = [](uint16_t code) { return code == 'W' ? 30 : 6; };
  MessageLine line;
  line.SetGlyphSource(&glyphs);
  line.SetLedType(kLed7, false);
  LineEditor editor(line, &host);
  for (char c : std::string("abcdefghijklmnop")) editor.Char(static_cast<uint16_t>(c), false);  // 96 columns
  EXPECT_TRUE(host.refused.empty());
  editor.Char('W', false);
  EXPECT_EQ(host.refused, std::vector<uint16_t>{'W'});
  line.selAnchor = 15;
  line.selEnd = 16;
  editor.Char('W', false);  // the selection goes, W still does not fit
  EXPECT_EQ(line.itemCount(), 15);
  EXPECT_EQ(host.refused.size(), 2u);
}

}  // namespace
}  // namespace kirrup
