// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_room.h"

#include <gtest/gtest.h>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

// Why a typed character was refused, the cue the dialog shows and the words kirrup-cli
// compose prints; and the same question for a picked record of the typed width.
TEST(LineRoom, WhyACharacterWasRefused) {
  const struct {
    int type;
    int width, count;  // the characters already in the line
    int typedWidth;    // 0: no glyph
    Refusal why;
    const char* cue;
    const char* words;
  } cases[] = {
      // "ABCDEFGHIJKLMN": M too wide for what is left, N would still fit.
      {kLed7, 6, 17, 8, Refusal::TooWide, "Does not fit: 102 / 108 columns used", "does not fit"},
      {kLed7, 6, 18, 1, Refusal::LineFull, "Line full: 108 / 108 columns", "line full"},
      {kLed16, 1, 50, 1, Refusal::TooManyCharacters, "Line full: 50 characters", "line full"},
      {kLed16, 7, 20, 5, Refusal::TooWide, "Does not fit: 140 / 144 columns used", "does not fit"},
      {kLed7, 6, 2, 0, Refusal::NoGlyph, "", "no glyph"},
  };
  for (const auto& c : cases) {
    testing::FakeGlyphs glyphs;
    glyphs.widthOf = [&c](uint16_t code) { return code == 'a' ? c.width : c.typedWidth; };
    if (c.typedWidth == 0) glyphs.missing = {'M'};
    MessageLine line;
    line.SetGlyphSource(&glyphs);
    line.SetLedType(c.type, false);
    for (int i = 0; i < c.count; ++i) {
      ASSERT_TRUE(line.RenderAndInsert('a', false));
      line.MoveCaret(+1, false);
    }
    ASSERT_FALSE(line.RenderAndInsert('M', false));
    const Refusal why = WhyCodeRefused(line, 'M');
    EXPECT_EQ(why, c.why) << c.cue;
    EXPECT_EQ(RefusalCue(why, line, false), c.cue);
    EXPECT_STREQ(RefusalWords(why), c.words);
    EXPECT_EQ(line.itemCount(), c.count);  // asking changed nothing
    if (c.typedWidth > 0) {
      EXPECT_EQ(WhyRecordRefused(line, testing::MakeRecord('M', c.typedWidth, 16, [](int, int) { return true; })), c.why);
    }
  }
}

}  // namespace
}  // namespace kirrup
