// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

using testing::FakeGlyphs;

// A line of the type holding the codes, the caret after the last one.
class TypedLine {
 public:
  TypedLine(int type, const std::u16string& codes) {
    line.SetGlyphSource(&glyphs);
    line.SetLedType(type, false);
    for (char16_t c : codes) {
      EXPECT_TRUE(line.RenderAndInsert(c, false)) << "code " << int(c);
      line.MoveCaret(+1, false);
    }
  }
  FakeGlyphs glyphs;
  MessageLine line;
};

TEST(LineText, CharactersSymbolsAndOddUnits) {
  struct Case {
    const char* what;
    int type;
    std::u16string codes;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"letters", kLed7, u"Hi", u"Hi"},
      {"7-LED symbols at 18..27", kLed7, u"\x12\x1B", u"\u2665\u263E"},
      {"a code below 18 is no 7-LED symbol", kLed7, u"\x01", u"\u2401"},
      {"16-LED symbols skip 9, 10 and 13", kLed16, u"\x01\x08\x0B\x0C\x0E\x12", u"\u2665\u2193\u2600\u263E\u2602\u2666"},
      {"11 LEDs: the same symbols; 13 and 127 are controls", kLed11, u"\x04\x0D\x7F", u"\u266A\u240D\u2421"},
      {"a pair beyond the basic plane stays a pair", kLed16, u"a\xD83D\xDE00", u"a\xD83D\xDE00"},
      {"lone surrogates are replaced", kLed16, u"\xDE00x\xD83D", u"\uFFFDx\uFFFD"},
      {"Chinese", kLed16, u"中文", u"中文"},
  };
  for (const Case& c : cases) {
    TypedLine t(c.type, c.codes);
    const LineText read = ReadLineText(t.line);
    EXPECT_EQ(read.text, c.text) << c.what;
    EXPECT_EQ(read.text.size(), static_cast<size_t>(t.line.itemCount())) << c.what << ": one unit a character";
  }
}

TEST(LineText, CaretAndSelection) {
  struct Case {
    const char* what;
    int firstVisible, caretOffset, anchor, end;
    int caret, selStart, selEnd;
  };
  const std::vector<Case> cases = {
      {"start, nothing selected", 0, 0, -1, -1, 0, -1, -1},
      {"caret in a scrolled view", 2, 1, -1, -1, 3, -1, -1},
      {"selection made leftwards", 0, 1, 3, 1, 1, 1, 3},
      {"empty selection (a drag just begun)", 0, 2, 2, 2, 2, -1, -1},
      {"whole line", 0, 4, 0, 4, 4, 0, 4},
  };
  for (const Case& c : cases) {
    TypedLine t(kLed7, u"abcd");
    t.line.firstVisible = c.firstVisible;
    t.line.caretOffset = c.caretOffset;
    t.line.selAnchor = c.anchor;
    t.line.selEnd = c.end;
    const LineText read = ReadLineText(t.line);
    EXPECT_EQ(read.caret, c.caret) << c.what;
    EXPECT_EQ(read.selStart, c.selStart) << c.what;
    EXPECT_EQ(read.selEnd, c.selEnd) << c.what;
  }
}

TEST(LineText, ChangesAsAReaderHearsThem) {
  struct Case {
    const char* what;
    LineText before, after;
    LineTextChange change;
  };
  const std::vector<Case> cases = {
      {"typed at the end", {u"Hi", 2}, {u"Hiy", 3}, {true, 2, u"", u"y", true, false}},
      {"a repeated letter typed", {u"aa", 2}, {u"aaa", 3}, {true, 2, u"", u"a", true, false}},
      {"deleted in the middle", {u"abc", 2}, {u"ac", 1}, {true, 1, u"b", u"", true, false}},
      {"typed over a selection", {u"abcd", 3, 1, 3}, {u"aXd", 2}, {true, 1, u"bc", u"X", true, true}},
      {"cleared", {u"abc", 3}, {u"", 0}, {true, 0, u"abc", u"", true, false}},
      {"only selected", {u"abc", 3}, {u"abc", 0, 0, 3}, {false, 0, u"", u"", true, true}},
      {"nothing", {u"abc", 1}, {u"abc", 1}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareLineText(c.before, c.after), c.change) << c.what;
}

}  // namespace
}  // namespace kirrup
