// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/message_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

using testing::FakeGlyphs;
using testing::LineDots;
using testing::MakeRecord;
using testing::PatternDot;

// Records what the model asks of its window.
class RecordingView : public LineView {
 public:
  std::vector<std::string> calls;
  int textWidth = INT_MAX;
  bool focus = false;

  void NotifyChange() override { calls.push_back("notify"); }
  void PlaceCaret() override { calls.push_back("caret"); }
  void Invalidate(bool erase) override { calls.push_back(erase ? "invalidate+erase" : "invalidate"); }
  void RedrawNow() override { calls.push_back("redraw"); }
  void Layout(int h) override { calls.push_back("layout " + std::to_string(h)); }
  int TextWidth() const override { return textWidth; }
  bool HasFocus() const override { return focus; }
  int Count(const std::string& c) const { return static_cast<int>(std::count(calls.begin(), calls.end(), c)); }
};

CharColumns Solid(uint16_t code, int width, int height) {
  return MakeRecord(code, width, height, [](int, int) { return true; });
}
CharColumns Patterned(uint16_t code, int width, int height) {
  return MakeRecord(code, width, height, [code](int i, int j) { return PatternDot(code, i, j); });
}

// Inserts at the end, as typing does.
bool Append(MessageLine& line, const CharColumns& r) {
  line.MoveCaret(+100, false);
  if (!line.InsertRecord(r)) return false;
  line.MoveCaret(+1, false);
  return true;
}

void ExpectTiled(const MessageLine& line) {
  int x = 0;
  for (const CharItem& it : line.items()) {
    EXPECT_EQ(it.x, x);
    EXPECT_GE(it.width, 1);
    x += it.width;
  }
  EXPECT_EQ(line.LineEnd(), x);
  EXPECT_LE(x, line.maxWidth());
}

TEST(MessageLine, TypesDecorationAndPreferredHeight) {
  MessageLine line;
  EXPECT_EQ(line.type(), kLed16);  // as its window creates it
  const int expected[3] = {26, 23, 26};
  for (int t = 0; t < 3; ++t) {
    line.SetLedType(t, false);
    EXPECT_EQ(line.PreferredHeight(), expected[t]) << t;
    EXPECT_EQ(line.height(), LedTypeRow(t).height);
    EXPECT_EQ(line.maxWidth(), LedTypeRow(t).maxWidth);
  }
  line.SetLedType(7, false);
  EXPECT_EQ(line.type(), kLed7);
  EXPECT_EQ(line.maxWidth(), 108);
  EXPECT_EQ(line.barWidth, 1);
  EXPECT_EQ(line.textInset, 1);
  line.SetLedType(-1, false);
  EXPECT_EQ(line.height(), 7);
}

TEST(MessageLine, SetLedTypeEmptiesLineAndUndoAndTellsTheWindow) {
  MessageLine line;
  RecordingView view;
  line.SetView(&view);
  line.SetLedType(kLed7, false);
  ASSERT_TRUE(Append(line, Solid('A', 6, 7)));
  line.undo.Push(line);
  line.selAnchor = 0;
  line.selEnd = 1;
  view.calls.clear();
  line.SetLedType(kLed11, true);
  EXPECT_EQ(line.itemCount(), 0);
  EXPECT_EQ(line.undo.undoCount(), 0);
  EXPECT_EQ(line.CaretIndex(), 0);
  EXPECT_FALSE(line.HasSelection());
  EXPECT_FALSE(line.Lit(0, 0));
  EXPECT_EQ(view.calls, (std::vector<std::string>{"layout 23", "invalidate+erase"}));
}

TEST(MessageLine, FullByWidthAndByCount) {
  MessageLine line;
  line.SetLedType(kLed7, false);
  for (int i = 0; i < 17; ++i) ASSERT_TRUE(Append(line, Solid('A', 6, 7)));
  EXPECT_EQ(line.LineEnd(), 102);
  EXPECT_FALSE(Append(line, Solid('B', 7, 7)));  // 109 > 108
  EXPECT_TRUE(Append(line, Solid('B', 6, 7)));   // exactly 108
  FakeGlyphs glyphs;
  glyphs.widthOf = [](uint16_t) { return 1; };
  line.SetGlyphSource(&glyphs);
  EXPECT_FALSE(line.RenderAndInsert('C', false));  // LineEnd has reached maxWidth
  EXPECT_FALSE(line.RenderAndInsert('C', true));
  EXPECT_EQ(line.itemCount(), 18);

  line.SetLedType(kLed16, false);
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(line.RenderAndInsert('x', false)), line.MoveCaret(1, false);
  EXPECT_EQ(line.LineEnd(), 50);
  EXPECT_FALSE(line.RenderAndInsert('x', false));
  // Even a direct insertion cannot overflow the table of 50 characters.
  EXPECT_FALSE(line.InsertRecord(Solid('x', 1, 16)));
  EXPECT_EQ(line.itemCount(), 50);
  ExpectTiled(line);
}

TEST(MessageLine, RenderAndInsertRefusals) {
  MessageLine line;
  line.SetLedType(kLed16, false);
  EXPECT_FALSE(line.RenderAndInsert('A', false));  // no glyph source
  FakeGlyphs glyphs;
  glyphs.missing = {'\r'};
  line.SetGlyphSource(&glyphs);
  EXPECT_FALSE(line.RenderAndInsert(0, false));
  EXPECT_EQ(glyphs.calls, 0);
  EXPECT_FALSE(line.RenderAndInsert('\r', false));
  ASSERT_TRUE(line.RenderAndInsert('A', false));
  EXPECT_EQ(line.item(0).code, 'A');
  EXPECT_EQ(line.item(0).width, 6);

  // Test-only does not ask whether the glyph still fits.
  line.SetLedType(kLed16, false);
  for (int i = 0; i < 14; ++i) ASSERT_TRUE(Append(line, Solid('w', 10, 16)));
  EXPECT_EQ(line.LineEnd(), 140);
  glyphs.widthOf = [](uint16_t) { return 8; };
  EXPECT_TRUE(line.RenderAndInsert('Z', true));
  EXPECT_EQ(line.itemCount(), 14);
  EXPECT_FALSE(line.RenderAndInsert('Z', false));  // 148 > 144
  EXPECT_EQ(line.itemCount(), 14);
}

TEST(MessageLine, InsertInTheMiddleShiftsAndDeleteShiftsBack) {
  MessageLine line;
  line.SetLedType(kLed11, false);
  for (uint16_t c : {u'a', u'b', u'c', u'd'}) ASSERT_TRUE(Append(line, Patterned(c, 5, 11)));
  const auto before = LineDots(line);
  line.firstVisible = 0;
  line.caretOffset = 2;
  ASSERT_TRUE(line.InsertRecord(Patterned('X', 3, 11)));
  EXPECT_EQ(line.CaretIndex(), 2);  // the caret is not moved
  ASSERT_EQ(line.itemCount(), 5);
  EXPECT_EQ(line.item(2).code, 'X');
  EXPECT_EQ(line.item(2).x, 10);
  EXPECT_EQ(line.item(3).x, 13);
  EXPECT_EQ(line.item(4).x, 18);
  ExpectTiled(line);
  const auto after = LineDots(line);
  for (int y = 0; y < 11; ++y) {
    EXPECT_EQ(after[y].substr(0, 10), before[y].substr(0, 10));
    EXPECT_EQ(after[y].substr(13), before[y].substr(10));
  }
  line.caretOffset = 4;
  line.DeleteRange(3, 2, false);
  EXPECT_EQ(LineDots(line), before);
  EXPECT_EQ(line.CaretIndex(), 2);
  ExpectTiled(line);
}

TEST(MessageLine, DeleteRangeOrdersAndClampsItsBounds) {
  struct Case {
    int a, b;
    std::u16string left;
  } cases[] = {{5, 2, u"ab"}, {2, 5, u"ab"}, {-3, 2, u"cde"}, {3, 99, u"abc"}, {2, 2, u"abcde"},
               {-5, -1, u"abcde"}, {7, 9, u"abcde"}};
  for (const Case& c : cases) {
    MessageLine line;
    line.SetLedType(kLed7, false);
    const std::u16string text = u"abcde";
    for (char16_t ch : text) ASSERT_TRUE(Append(line, Patterned(ch, 2 + ch % 3, 7)));
    line.selAnchor = 1;
    line.selEnd = 2;
    const auto dots = LineDots(line);
    line.DeleteRange(c.a, c.b, false);
    std::u16string got;
    for (const CharItem& it : line.items()) got += static_cast<char16_t>(it.code);
    EXPECT_EQ(got, c.left) << c.a << "," << c.b;
    ExpectTiled(line);
    if (got != text) {
      EXPECT_FALSE(line.HasSelection());
      EXPECT_EQ(line.CaretIndex(), std::max(std::min(c.a, c.b), 0));
    } else {
      EXPECT_EQ(LineDots(line), dots);
      EXPECT_TRUE(line.HasSelection());
    }
  }
}

TEST(MessageLine, DeleteBeforeTheFirstVisibleCharacterScrollsTheView) {
  MessageLine line;
  line.SetLedType(kLed7, false);
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(Append(line, Solid('a' + i, 6, 7)));
  line.firstVisible = 3;
  line.caretOffset = 2;
  line.DeleteRange(1, 2, false);
  EXPECT_EQ(line.firstVisible, 1);
  EXPECT_EQ(line.caretOffset, 0);
}

TEST(MessageLine, ExportByteCountsAndColumnOrders) {
  MessageLine line;
  line.SetLedType(kLed7, false);
  ASSERT_TRUE(Append(line, Patterned('A', 6, 7)));
  CharColumns out[2]{};
  EXPECT_EQ(line.ExportRange(1, 0, out, true), 1);
  EXPECT_EQ(out[0].byteCount, 6);
  EXPECT_EQ(out[0].height, 7);
  EXPECT_EQ(out[0].kind, 0);
  EXPECT_EQ(out[0], Patterned('A', 6, 7));
  EXPECT_EQ(line.ExportRange(0, 1, out, true), 0);
  EXPECT_EQ(line.ExportRange(5, 0, out, true), 1);  // clamped to the line

  line.SetLedType(kLed16, false);
  ASSERT_TRUE(Append(line, Patterned('W', 40, 16)));
  CharColumns stored{}, device{};
  line.ExportRange(1, 0, std::span(&stored, 1), true);
  line.ExportRange(1, 0, std::span(&device, 1), false);
  EXPECT_EQ(stored.byteCount, 72);
  EXPECT_EQ(stored.width, 40);
  for (int c = 0; c < 36; ++c) {
    for (int k = 0; k < 16; ++k) {
      const int row = 15 - k;
      EXPECT_EQ(stored.Dot(c, k), line.Lit(39 - c, row));
      EXPECT_EQ(device.Dot(c, k), line.Lit(c, row));
    }
  }
}

TEST(MessageLine, ExportLeavesTheBufferOutsideTheCharacterAlone) {
  MessageLine line;
  line.SetLedType(kLed11, false);
  ASSERT_TRUE(Append(line, Solid('A', 2, 11)));
  CharColumns out{};
  out.kind = 9;
  out.columns.fill(0xFF);
  line.ExportRange(1, 0, std::span(&out, 1), true);
  EXPECT_EQ(out.kind, 9);
  EXPECT_EQ(out.byteCount, 4);
  // Every row of 11 is lit; the five unused bits of each second byte keep the buffer's bits.
  EXPECT_EQ(out.columns[0], 0xFF);
  EXPECT_EQ(out.columns[1], 0xFF);
  EXPECT_EQ(out.columns[4], 0xFF);
  line.SetStripPixel(0, 10, platform::kPaper);  // bottom row of the leftmost column
  line.ExportRange(1, 0, std::span(&out, 1), true);
  EXPECT_EQ(out.columns[2], 0x7F);  // stored order: leftmost column second
  EXPECT_EQ(out.columns[0], 0xFF);
}

TEST(MessageLine, RecordsOfOtherHeights) {
  MessageLine line;
  line.SetLedType(kLed7, false);
  // Taller: the top 7 rows of the 16-row record are shown, the bottom rows are lost.
  const CharColumns tall = Patterned('T', 4, 16);
  ASSERT_TRUE(Append(line, tall));
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 7; ++j) EXPECT_EQ(line.Lit(i, j), PatternDot('T', i, j)) << i << "," << j;

  // Shorter, inserted in the middle: the rows below it are unlit, not left over from the
  // columns that moved right.
  line.SetLedType(kLed16, false);
  ASSERT_TRUE(Append(line, Solid('a', 4, 16)));
  ASSERT_TRUE(Append(line, Solid('b', 4, 16)));
  line.firstVisible = 0;
  line.caretOffset = 1;
  ASSERT_TRUE(line.InsertRecord(Solid('s', 4, 7)));
  for (int i = 4; i < 8; ++i) {
    for (int j = 0; j < 7; ++j) EXPECT_TRUE(line.Lit(i, j));
    for (int j = 7; j < 16; ++j) EXPECT_FALSE(line.Lit(i, j));
  }
  for (int j = 0; j < 16; ++j) EXPECT_TRUE(line.Lit(9, j));  // 'b' moved intact
}

TEST(MessageLine, HostileRecordsAreRefusedOrDrawnSafely) {
  MessageLine line;
  line.SetLedType(kLed16, false);
  CharColumns r = Solid('h', 4, 16);
  for (int w : {0, -1, INT_MIN, INT_MAX, 145}) {
    r.width = w;
    EXPECT_FALSE(line.InsertRecord(r)) << w;
  }
  EXPECT_EQ(line.itemCount(), 0);
  r.width = 3;
  for (int h : {INT_MAX, INT_MIN, -7, 0, 1000}) {
    r.height = h;
    ASSERT_TRUE(line.InsertRecord(r)) << h;
  }
  EXPECT_EQ(line.itemCount(), 5);
  ExpectTiled(line);
}

TEST(MessageLine, ImportStopsAtTheFirstRefusalAndReplacesTheSelection) {
  MessageLine line;
  RecordingView view;
  line.SetView(&view);
  line.SetLedType(kLed7, false);
  for (uint16_t c : {u'a', u'b', u'c'}) ASSERT_TRUE(Append(line, Patterned(c, 5, 7)));
  line.selAnchor = 2;  // select 'b' backwards
  line.selEnd = 1;
  line.firstVisible = 0;
  line.caretOffset = 2;
  CharColumns recs[] = {Patterned('X', 3, 7), Patterned('Y', 3, 7), Solid('Z', 0, 7), Patterned('Q', 3, 7)};
  view.calls.clear();
  line.ImportRecords(recs);
  std::u16string got;
  for (const CharItem& it : line.items()) got += static_cast<char16_t>(it.code);
  EXPECT_EQ(got, u"aXYc");
  EXPECT_EQ(line.CaretIndex(), 3);
  EXPECT_FALSE(line.HasSelection());
  EXPECT_EQ(view.Count("notify"), 1);
  EXPECT_EQ(view.calls.back(), "caret");
  EXPECT_EQ(line.item(1).x, 5);
  ExpectTiled(line);

  // Nothing inserted and no selection: no notification, the caret is still placed.
  view.calls.clear();
  line.ImportRecords(std::span(recs + 2, 1));
  EXPECT_EQ(view.Count("notify"), 0);
  EXPECT_EQ(view.calls, std::vector<std::string>{"caret"});
}

TEST(MessageLine, ClearLineAndSnapshotBitmap) {
  MessageLine line;
  RecordingView view;
  line.SetView(&view);
  line.SetLedType(kLed7, false);
  int h = -1, w = -1;
  line.GetLineBitmap(h, w);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(w, 0);
  line.ClearLine();
  EXPECT_TRUE(view.calls.size() == 1);  // only the layout of SetLedType

  ASSERT_TRUE(Append(line, Patterned('A', 6, 7)));
  ASSERT_TRUE(Append(line, Patterned('B', 6, 7)));
  const platform::Bitmap1& snap = line.GetLineBitmap(h, w);
  EXPECT_EQ(h, 7);
  EXPECT_EQ(w, 12);
  EXPECT_EQ(snap.width(), (MaxLineWidth() + 4) / 5 * 7);
  for (int x = 0; x < 12; ++x)
    for (int y = 0; y < 7; ++y) EXPECT_EQ(snap.Lit(x, y), line.Lit(x, y));

  view.calls.clear();
  view.focus = false;
  line.ClearLine();
  EXPECT_EQ(line.itemCount(), 0);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"notify", "redraw"}));
}

TEST(MessageLine, EditorDotChangesKeepTheItemTable) {
  MessageLine line;
  RecordingView view;
  line.SetView(&view);
  line.SetLedType(kLed16, false);
  ASSERT_TRUE(Append(line, Solid('A', 4, 16)));
  view.calls.clear();
  line.SetStripPixel(1, 1, platform::kPaper);
  EXPECT_FALSE(line.Lit(1, 1));
  EXPECT_EQ(view.calls, std::vector<std::string>{"invalidate"});
  platform::Bitmap1 board(160, 32);
  board.Set(143, 15, true);
  board.Set(144, 15, true);  // beyond maxWidth: not copied
  line.CopyStripFrom(board);
  EXPECT_TRUE(line.Lit(143, 15));
  EXPECT_FALSE(line.Lit(144, 15));
  EXPECT_FALSE(line.Lit(0, 0));
  EXPECT_EQ(line.itemCount(), 1);
  EXPECT_EQ(line.LineEnd(), 4);
}

TEST(MessageLine, MoveCaretScrollsANarrowView) {
  MessageLine line;
  RecordingView view;
  view.textWidth = 72;
  line.SetLedType(kLed7, false);
  for (int i = 0; i < 18; ++i) ASSERT_TRUE(Append(line, Solid('a', 6, 7)));
  line.SetView(&view);
  line.MoveCaret(-100, true);
  EXPECT_EQ(line.firstVisible, 0);
  EXPECT_EQ(line.caretOffset, 0);
  line.MoveCaret(+100, true);
  EXPECT_EQ(line.CaretIndex(), 18);
  EXPECT_EQ(line.firstVisible, 6);  // columns 36..107 are exactly 72 wide
  EXPECT_EQ(view.Count("invalidate+erase"), 2);  // Home and End both moved the caret
  line.MoveCaret(-1, false);
  EXPECT_EQ(line.CaretIndex(), 17);
  EXPECT_EQ(line.firstVisible, 6);
  line.MoveCaret(-100, false);
  EXPECT_EQ(line.firstVisible, 0);
  EXPECT_EQ(line.CaretIndex(), 0);
  // A wide view never scrolls.
  view.textWidth = 200;
  line.MoveCaret(+100, false);
  EXPECT_EQ(line.firstVisible, 0);
}


// Typing as the line window does it: record an undo entry, insert, move the caret.
void Type(MessageLine& line, char16_t c) {
  if (line.RenderAndInsert(c, true)) line.undo.Push(line);
  if (line.RenderAndInsert(c, false)) line.MoveCaret(+1, false);
}
std::u16string Text(const MessageLine& line) {
  std::u16string s;
  for (const CharItem& it : line.items()) s += static_cast<char16_t>(it.code);
  return s;
}

TEST(LineUndo, UndoRedoWalkBothWays) {
  FakeGlyphs glyphs;
  MessageLine line;
  line.SetGlyphSource(&glyphs);
  line.SetLedType(kLed7, false);
  Type(line, 'A');
  Type(line, 'B');
  const auto dotsAB = LineDots(line);
  ASSERT_TRUE(line.undo.Undo(line));
  EXPECT_EQ(Text(line), u"A");
  ASSERT_TRUE(line.undo.Undo(line));
  EXPECT_EQ(Text(line), u"");
  EXPECT_FALSE(line.undo.Undo(line));
  ASSERT_TRUE(line.undo.Redo(line));
  EXPECT_EQ(Text(line), u"A");
  ASSERT_TRUE(line.undo.Redo(line));
  EXPECT_EQ(Text(line), u"AB");
  EXPECT_EQ(LineDots(line), dotsAB);
  EXPECT_FALSE(line.undo.Redo(line));
  ASSERT_TRUE(line.undo.Undo(line));
  EXPECT_EQ(line.undo.redoCount(), 1);
  Type(line, 'C');  // a new edit empties the redo stack
  EXPECT_EQ(line.undo.redoCount(), 0);
  EXPECT_EQ(Text(line), u"AC");
}

TEST(LineUndo, FiveEntriesAtMostAndNoDuplicates) {
  FakeGlyphs glyphs;
  MessageLine line;
  line.SetGlyphSource(&glyphs);
  line.SetLedType(kLed16, false);
  for (char16_t c : std::u16string(u"abcdef")) Type(line, c);
  EXPECT_EQ(line.undo.undoCount(), 5);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(line.undo.Undo(line));
  EXPECT_EQ(Text(line), u"a");
  EXPECT_FALSE(line.undo.Undo(line));
  EXPECT_EQ(line.undo.redoCount(), 5);

  // Recording an unchanged line twice keeps one entry (Backspace at the start).
  line.undo.Push(line);
  EXPECT_EQ(line.undo.undoCount(), 1);
  EXPECT_EQ(line.undo.redoCount(), 0);
  line.undo.Push(line);
  EXPECT_EQ(line.undo.undoCount(), 1);
  const auto slots = line.undo.undoSlots();
  EXPECT_EQ(line.undo.slot(slots[0]).count, 1);
}

// The slot a redo fills holds the line as it stood, however it changed since the undo
// put a snapshot in: by the character editor, by an insert or delete, or not at all.
TEST(LineUndo, RedoKeepsTheLineAsItStoodAfterAnyChange) {
  auto exported = [](const MessageLine& l) {
    UndoSnapshot s;
    s.count = l.itemCount();
    l.ExportRange(s.count, 0, s.records, true);
    return s;
  };
  const std::vector<std::pair<const char*, std::function<void(MessageLine&)>>> changes = {
      {"none", [](MessageLine&) {}},
      {"dot", [](MessageLine& l) { l.SetStripPixel(20, 3, l.Lit(20, 3) ? platform::kPaper : platform::kInk); }},
      {"strip", [](MessageLine& l) {
         platform::Bitmap1 b(MaxLineWidth(), MaxLineHeight());
         b.Set(1, 1, true);
         l.CopyStripFrom(b);
       }},
      {"insert", [](MessageLine& l) { l.InsertRecord(Solid('x', 3, 16)); }},
      {"delete", [](MessageLine& l) { l.DeleteRange(0, 1, false); }},
  };
  for (const auto& [name, change] : changes) {
    FakeGlyphs glyphs;
    MessageLine line;
    line.SetGlyphSource(&glyphs);
    line.SetLedType(kLed16, false);
    line.InsertRecord(Patterned('w', 40, 16));  // wider than a record holds: read back cut
    line.MoveCaret(+1, false);
    line.undo.Push(line);
    Type(line, 'A');
    ASSERT_TRUE(line.undo.Undo(line)) << name;
    ASSERT_TRUE(line.undo.Redo(line)) << name;
    ASSERT_TRUE(line.undo.Undo(line)) << name;
    change(line);
    const UndoSnapshot before = exported(line);
    ASSERT_TRUE(line.undo.Redo(line)) << name;
    EXPECT_EQ(line.undo.slot(line.undo.undoSlots().back()), before) << name;
    ASSERT_TRUE(line.undo.Undo(line)) << name;
    EXPECT_EQ(exported(line), before) << name;
  }
}

}  // namespace
}  // namespace kirrup
