// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

using platform::Color;
using platform::kInk;
using platform::kPaper;
using platform::Rgb;
using testing::FakeGlyphs;
using testing::LineDots;
using testing::MakeRecord;
namespace lc = line_colors;

class FakeClipboard : public LineClipboard {
 public:
  std::optional<std::vector<uint8_t>> records;
  std::optional<std::u16string> text;
  bool refusePut = false;

  bool Put(std::span<const uint8_t> r, std::span<const char16_t> t) override {
    if (refusePut) return false;
    records.emplace(r.begin(), r.end());
    text.emplace(t.begin(), t.end());
    return true;
  }
  bool HasRecords() const override { return records.has_value(); }
  bool HasText() const override { return text.has_value(); }
  std::optional<std::vector<uint8_t>> Records() const override { return records; }
  std::optional<std::u16string> Text() const override { return text; }
};

class RecordingHost : public LineEditorHost {
 public:
  int notifications = 0;
  int focusedSignals = 0;
  int redraws = 0;
  bool focus = false;
  bool captured = false;
  bool caretExists = false;
  int caretW = 0, caretH = 0, caretX = -1, caretY = -1;

  void NotifyChange() override { ++notifications; }
  void LineFocused() override { ++focusedSignals; }
  void RedrawNow() override { ++redraws; }
  bool HasFocus() const override { return focus; }
  void TakeFocus() override { focus = true; }
  void CreateCaret(int w, int h) override {
    caretExists = true;
    caretW = w;
    caretH = h;
  }
  void DestroyCaret() override { caretExists = false; }
  void SetCaretPos(int x, int y) override {
    caretX = x;
    caretY = y;
  }
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
};

// A line window as the main dialog sizes it (textRect wider than the widest line),
// unless a client width is given.
struct Window {
  FakeGlyphs glyphs;
  MessageLine line;
  RecordingHost host;
  FakeClipboard clipboard;
  LineEditor editor{line, &host};

  explicit Window(int type, int clientWidth = -1) {
    line.SetGlyphSource(&glyphs);
    editor.SetClipboard(&clipboard);
    line.SetLedType(type, false);
    const LedTypeInfo& row = LedTypeRow(type);
    if (clientWidth < 0) clientWidth = row.zoomX * (row.maxWidth + 2 * line.barWidth + 4) + 2;
    editor.Resize(clientWidth, line.PreferredHeight());
  }
  void Type(std::u16string_view s) {
    for (char16_t c : s) editor.Char(static_cast<uint16_t>(c), false);
  }
  void Ctrl(char letter) { editor.Char(static_cast<uint16_t>(letter - 'A' + 1), true); }
  std::u16string Text() const {
    std::u16string s;
    for (const CharItem& it : line.items()) s += static_cast<char16_t>(it.code);
    return s;
  }
  void Select(int a, int b) {
    line.selAnchor = a;
    line.selEnd = b;
  }
};

TEST(LineEditor, LayoutAndCaretGeometry) {
  struct Case {
    int type, left, top, right, bottom;
  };
  // Client widths as the main dialog makes them: 230, 154 and 156 pixels.
  for (const Case& c : {Case{kLed7, 2, 3, 113, 10}, Case{kLed11, 4, 6, 150, 17}, Case{kLed16, 4, 5, 152, 21}}) {
    Window w(c.type);
    const platform::Rect& t = w.editor.textRect();
    EXPECT_EQ(t.left, c.left) << c.type;
    EXPECT_EQ(t.top, c.top) << c.type;
    EXPECT_EQ(t.right, c.right) << c.type;
    EXPECT_EQ(t.bottom, c.bottom) << c.type;
    EXPECT_EQ(t.Height(), w.line.height());
    EXPECT_GT(t.Width(), w.line.maxWidth());

    const int zoom = LedTypeRow(c.type).zoomX;
    w.editor.FocusIn();
    EXPECT_TRUE(w.host.caretExists);
    EXPECT_EQ(w.host.caretW, 2);
    EXPECT_EQ(w.host.caretH, w.line.height() * zoom);
    EXPECT_EQ(w.host.focusedSignals, 1);
    EXPECT_EQ(w.host.caretX, c.left * zoom);
    EXPECT_EQ(w.host.caretY, c.top * zoom);
    w.Type(u"AB");
    EXPECT_EQ(w.host.caretX, (c.left + 12) * zoom);
    w.editor.KeyDown(LineKey::Left, false);
    EXPECT_EQ(w.host.caretX, (c.left + 6) * zoom);
    w.editor.FocusOut();
    EXPECT_FALSE(w.host.caretExists);
  }
  // Layout with a given height: the text rectangle a window of that height would have.
  Window w(kLed16);
  w.editor.Layout(40);
  EXPECT_EQ(w.editor.textRect().bottom, 40 - 1 - 3 - 1);
}

TEST(LineEditor, TypingUndoRedoThroughControlCodes) {
  Window w(kLed7);
  w.Type(u"AB");
  EXPECT_EQ(w.host.notifications, 2);
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"A");
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"");
  w.Ctrl('Z');  // nothing left to undo
  EXPECT_EQ(w.Text(), u"");
  w.Ctrl('Y');
  EXPECT_EQ(w.Text(), u"A");
  w.Ctrl('Y');
  EXPECT_EQ(w.Text(), u"AB");
  EXPECT_EQ(w.line.CaretIndex(), 2);
  w.Ctrl('Z');
  EXPECT_EQ(w.line.undo.redoCount(), 1);
  w.Type(u"C");  // a new edit empties the redo stack
  EXPECT_EQ(w.line.undo.redoCount(), 0);
  EXPECT_EQ(w.Text(), u"AC");
  w.Ctrl('Y');
  EXPECT_EQ(w.Text(), u"AC");

  // Without Ctrl the same codes are typed (symbols of the built-in fonts); 0 and 9 never.
  w.editor.Char(26, false);
  w.editor.Char(0, false);
  w.editor.Char(9, true);
  w.editor.Char(9, false);
  EXPECT_EQ(w.Text(), std::u16string(u"AC\x1a"));
}

TEST(LineEditor, SixEditsKeepFiveUndoEntries) {
  Window w(kLed16);
  w.Type(u"abcdef");
  EXPECT_EQ(w.line.undo.undoCount(), 5);
  for (int i = 0; i < 5; ++i) w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"a");
  EXPECT_EQ(w.line.undo.redoCount(), 5);
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"a");
  for (int i = 0; i < 5; ++i) w.Ctrl('Y');
  EXPECT_EQ(w.Text(), u"abcdef");
}

TEST(LineEditor, BackspaceAtTheStartRecordsTheLineOnce) {
  Window w(kLed7);
  w.editor.Char(8, false);  // empty line: nothing at all
  EXPECT_EQ(w.line.undo.undoCount(), 0);

  w.Type(u"AB");
  w.Ctrl('Z');
  ASSERT_EQ(w.line.undo.redoCount(), 1);
  w.editor.KeyDown(LineKey::Home, false);
  const int before = w.host.notifications;
  w.editor.Char(8, false);
  EXPECT_EQ(w.Text(), u"A");
  EXPECT_EQ(w.line.undo.undoCount(), 2);  // the line "A" differs from the newest entry
  EXPECT_EQ(w.line.undo.redoCount(), 0);
  EXPECT_EQ(w.host.notifications, before);  // nothing changed, nothing told
  w.editor.Char(8, false);
  EXPECT_EQ(w.line.undo.undoCount(), 2);

  // Backspace deletes before the caret, and a selection as a whole.
  w.editor.KeyDown(LineKey::End, false);
  w.Type(u"BCD");
  w.editor.Char(8, false);
  EXPECT_EQ(w.Text(), u"ABC");
  w.Select(2, 0);
  w.editor.Char(8, false);
  EXPECT_EQ(w.Text(), u"C");
  EXPECT_EQ(w.line.CaretIndex(), 0);
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"ABC");
}

TEST(LineEditor, TypingOverASelectionAndMissingGlyphs) {
  Window w(kLed7);
  w.glyphs.missing = {u'?'};
  w.Type(u"ABCD");
  const int entries = w.line.undo.undoCount();
  const int told = w.host.notifications;
  w.Type(u"?");  // no glyph, no selection: nothing happens
  EXPECT_EQ(w.line.undo.undoCount(), entries);
  EXPECT_EQ(w.host.notifications, told);

  w.Select(3, 1);
  w.Type(u"?");  // the selection goes even though nothing can be inserted
  EXPECT_EQ(w.Text(), u"AD");
  EXPECT_EQ(w.line.CaretIndex(), 1);
  EXPECT_EQ(w.host.notifications, told + 1);
  w.Select(0, 1);
  w.Type(u"X");
  EXPECT_EQ(w.Text(), u"XD");
  EXPECT_FALSE(w.line.HasSelection());
  EXPECT_EQ(w.line.CaretIndex(), 1);
  w.Ctrl('Z');
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"ABCD");
}

TEST(LineEditor, KeyTable) {
  Window w(kLed7);
  w.Type(u"ABCDE");
  w.editor.KeyDown(LineKey::Home, true);  // Shift+Home from the end
  EXPECT_EQ(w.line.selAnchor, 5);
  EXPECT_EQ(w.line.selEnd, 0);
  w.editor.KeyDown(LineKey::Right, true);  // the anchor stays
  EXPECT_EQ(w.line.selAnchor, 5);
  EXPECT_EQ(w.line.selEnd, 1);
  w.editor.KeyDown(LineKey::Down, false);  // plain moves clear the selection
  EXPECT_EQ(w.line.selAnchor, -1);
  EXPECT_EQ(w.line.CaretIndex(), 2);
  w.editor.KeyDown(LineKey::Up, false);
  w.editor.KeyDown(LineKey::Left, false);
  w.editor.KeyDown(LineKey::Left, false);
  EXPECT_EQ(w.line.CaretIndex(), 0);

  w.editor.KeyDown(LineKey::Delete, false);
  EXPECT_EQ(w.Text(), u"BCDE");
  w.editor.KeyDown(LineKey::End, false);
  const int told = w.host.notifications;
  w.editor.KeyDown(LineKey::Delete, true);  // at the end: nothing
  EXPECT_EQ(w.Text(), u"BCDE");
  EXPECT_EQ(w.host.notifications, told);
  w.editor.KeyDown(LineKey::Left, true);
  w.editor.KeyDown(LineKey::Left, true);
  w.editor.KeyDown(LineKey::Delete, false);
  EXPECT_EQ(w.Text(), u"BC");
  EXPECT_EQ(w.host.notifications, told + 1);
  w.Ctrl('Z');
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"ABCDE");
}

TEST(LineEditor, NarrowWindowScrollsAndPaintsOnlyTheVisiblePart) {
  // textRect 72 dots wide: 152 pixels = 76 dots, less frame and bars.
  Window w(kLed7, 152);
  ASSERT_EQ(w.editor.TextWidth(), 72);
  w.Type(std::u16string(18, u'M'));
  ASSERT_EQ(w.line.LineEnd(), 108);
  // Typing kept the caret's character inside textRect.
  EXPECT_EQ(w.line.firstVisible, 6);
  w.editor.KeyDown(LineKey::Home, false);
  EXPECT_EQ(w.line.firstVisible, 0);
  w.editor.KeyDown(LineKey::End, false);
  EXPECT_EQ(w.line.firstVisible, 6);
  EXPECT_EQ(w.line.caretOffset, 12);
  EXPECT_EQ(w.editor.CaretX(), (2 + 72) * 2);
  w.editor.KeyDown(LineKey::Home, false);
  EXPECT_EQ(w.line.firstVisible, 0);
  EXPECT_EQ(w.line.caretOffset, 0);


  w.editor.KeyDown(LineKey::End, true);
  EXPECT_EQ(w.line.selAnchor, 0);
  EXPECT_EQ(w.line.selEnd, 18);
  platform::RgbImage img;
  w.editor.KeyDown(LineKey::Home, true);  // scroll back, keep everything selected
  EXPECT_EQ(w.line.selEnd, 0);
  w.Select(0, 18);
  w.editor.Paint(img, true, Rgb(1, 2, 3), Rgb(4, 5, 6));
  ASSERT_EQ(img.width(), 152);
  const platform::Rect& t = w.editor.textRect();
  for (int col = 0; col < 72; ++col)
    for (int row = 0; row < 7; ++row) {
      const Color want = w.line.Lit(col, row) ? kPaper : kInk;  // inverted
      ASSERT_EQ(img.Pixel((t.left + col) * 2 + 1, (t.top + row) * 2 + 1), want) << col << "," << row;
    }
  // Right of textRect only the side fill and the frame.
  for (int y = 2; y < 24; ++y) {
    EXPECT_EQ(img.Pixel(t.right * 2, y), lc::kBarRest) << y;
    EXPECT_EQ(img.Pixel(151, y), lc::kFrame) << y;
  }
  // The bars walk from firstVisible and stop at the right edge of textRect.
  EXPECT_EQ(img.Pixel((t.left + 71) * 2, 2), lc::kBarOdd);
}

TEST(LineEditor, HitTestAndCutOffCharacters) {
  // textRect 75 dots wide: character 12 (dots 72..77) is cut off by the right edge.
  Window w(kLed7, 158);
  ASSERT_EQ(w.editor.TextWidth(), 75);
  w.Type(std::u16string(18, u'M'));
  w.editor.KeyDown(LineKey::Home, false);
  ASSERT_EQ(w.line.firstVisible, 0);
  const int left = w.editor.textRect().left;
  auto at = [&](int dot) { return (left + dot) * 2; };
  EXPECT_EQ(w.editor.HitTest(at(66)), 11);  // on character 11
  EXPECT_EQ(w.editor.HitTest(at(73)), 11);  // on the cut-off character 12: the same
  EXPECT_EQ(w.editor.HitTest(at(76)), 11);  // beyond textRect
  EXPECT_EQ(w.editor.HitTest(0), 0);
  EXPECT_EQ(w.editor.HitTest(at(0) - 1), 0);
  EXPECT_EQ(w.editor.HitTest(at(5) + 1), 0);
  EXPECT_EQ(w.editor.HitTest(at(6)), 1);
  platform::RgbImage img;
  w.editor.Paint(img, true, 0, 0);
  EXPECT_EQ(img.Pixel(at(74), 2), lc::kBarEven);  // character 12's bar, cut at the edge
  EXPECT_EQ(img.Pixel(at(75), 2), lc::kBarRest);

  // Scrolled to the end: characters 6..17 fill 72 dots; the last one ends inside.
  w.editor.KeyDown(LineKey::End, false);
  ASSERT_EQ(w.line.firstVisible, 6);
  EXPECT_EQ(w.editor.HitTest(at(1)), 0);
  EXPECT_EQ(w.editor.HitTest(at(7)), 1);
  EXPECT_EQ(w.editor.HitTest(at(70)), 11);
  EXPECT_EQ(w.editor.HitTest(at(74)), 12);  // past the last character
  Window wide(kLed7);
  wide.Type(u"AB");
  EXPECT_EQ(wide.editor.HitTest(300), 2);  // past the last character
}

TEST(LineEditor, MouseSelection) {
  Window w(kLed7);
  w.Type(u"ABCDE");
  const int left = w.editor.textRect().left;
  auto at = [&](int column) { return (left + column) * 2 + 1; };

  // Press on C, drag to D: selection C..D, the mouse captured until release.
  w.host.focus = false;
  w.editor.MouseDown(at(13), false);
  EXPECT_TRUE(w.host.focus);
  EXPECT_EQ(w.line.CaretIndex(), 2);
  w.editor.MouseMove(at(30), true);  // still inside the drag rectangle: ignored
  EXPECT_EQ(w.line.selAnchor, -1);
  w.editor.DragDecided(true);
  EXPECT_TRUE(w.host.captured);
  EXPECT_TRUE(w.editor.dragging());
  EXPECT_EQ(w.line.selAnchor, 2);
  EXPECT_EQ(w.line.selEnd, 2);
  w.editor.MouseMove(at(19), true);
  EXPECT_EQ(w.line.selEnd, 3);
  w.editor.MouseMove(at(25), true);
  EXPECT_EQ(w.line.selEnd, 4);
  EXPECT_EQ(w.line.CaretIndex(), 4);
  w.editor.MouseUp();
  EXPECT_FALSE(w.host.captured);
  EXPECT_FALSE(w.editor.dragging());

  // Shift+click moves the end; the anchor is the caret before the click.
  w.editor.MouseDown(at(1), true);
  EXPECT_EQ(w.line.selAnchor, 4);
  EXPECT_EQ(w.line.selEnd, 0);
  w.editor.MouseMove(at(7), true);  // held button keeps extending
  EXPECT_EQ(w.line.selEnd, 1);
  w.editor.MouseUp();
  w.editor.MouseMove(at(13), false);  // no button: nothing
  EXPECT_EQ(w.line.selEnd, 1);

  // A click without a drag clears the selection.
  const int redraws = w.host.redraws;
  w.editor.MouseDown(at(7), false);
  EXPECT_TRUE(w.line.HasSelection());
  w.editor.MouseUp();
  EXPECT_FALSE(w.line.HasSelection());
  EXPECT_EQ(w.host.redraws, redraws + 1);
  EXPECT_EQ(w.line.CaretIndex(), 1);

  w.editor.DoubleClick();
  EXPECT_EQ(w.line.selAnchor, 0);
  EXPECT_EQ(w.line.selEnd, 5);
  EXPECT_EQ(w.line.CaretIndex(), 5);
  Window empty(kLed7);
  empty.editor.DoubleClick();
  EXPECT_FALSE(empty.line.HasSelection());
}

TEST(LineEditor, CopyPasteBetweenLinesKeepsEditedDots) {
  Window a(kLed7), b(kLed7);
  FakeClipboard shared;
  a.editor.SetClipboard(&shared);
  b.editor.SetClipboard(&shared);
  a.Type(u"ABCDE");
  // Edited in the character editor: the dots no longer match the codes.
  a.line.SetStripPixel(13, 2, a.line.Lit(13, 2) ? kPaper : kInk);
  a.line.SetStripPixel(20, 5, a.line.Lit(20, 5) ? kPaper : kInk);
  a.Select(1, 4);
  a.Ctrl('C');
  ASSERT_TRUE(shared.records);
  EXPECT_EQ(shared.records->size(), 3u * 84);
  EXPECT_EQ(*shared.text, std::u16string(u"BCD\0", 4));
  EXPECT_EQ(a.Text(), u"ABCDE");  // copy leaves the line alone

  b.Type(u"xy");
  b.editor.KeyDown(LineKey::Left, false);
  b.Ctrl('V');
  EXPECT_EQ(b.Text(), u"xBCDy");
  EXPECT_EQ(b.line.CaretIndex(), 4);
  EXPECT_EQ(LineDots(b.line, 6, 24), LineDots(a.line, 6, 24));
  b.Ctrl('Z');
  EXPECT_EQ(b.Text(), u"xy");

  // Paste Text ignores the records; the codes are rendered again (edits are lost).
  b.Select(0, 2);
  b.editor.Command(kLinePasteText);
  EXPECT_EQ(b.Text(), u"BCD");
  EXPECT_NE(LineDots(b.line, 0, 18), LineDots(a.line, 6, 24));
}

TEST(LineEditor, PasteTextStopsAtTheFirstRefusal) {
  Window w(kLed7);
  w.glyphs.missing = {u'\r', u'\n'};
  w.clipboard.text = std::u16string(u"AB\r\nC");
  w.Ctrl('V');  // no records: the text is the fallback
  EXPECT_EQ(w.Text(), u"AB");
  EXPECT_EQ(w.host.notifications, 1);
  w.clipboard.text = std::u16string(u"Q\0R", 3);
  w.editor.Command(kLinePasteText);
  EXPECT_EQ(w.Text(), u"ABQ");
  // Nothing pastable: still recorded, nothing told.
  const int told = w.host.notifications;
  w.clipboard.text = std::u16string(u"\r");
  w.Ctrl('V');
  EXPECT_EQ(w.host.notifications, told);
  w.clipboard.text.reset();
  w.Ctrl('V');
  EXPECT_EQ(w.Text(), u"ABQ");
}

TEST(LineEditor, CutAndUndo) {
  Window w(kLed11);
  w.Type(u"ABCDE");
  const auto dots = LineDots(w.line);
  w.Select(4, 1);
  w.Ctrl('X');
  EXPECT_EQ(w.Text(), u"AE");
  EXPECT_EQ(w.line.CaretIndex(), 1);
  EXPECT_EQ(*w.clipboard.text, std::u16string(u"BCD\0", 4));
  w.Ctrl('Z');
  EXPECT_EQ(w.Text(), u"ABCDE");
  EXPECT_EQ(LineDots(w.line), dots);

  // When the clipboard refuses the characters, they stay in the line.
  w.clipboard.refusePut = true;
  w.Select(0, 2);
  w.editor.Command(kLineCut);
  EXPECT_EQ(w.Text(), u"ABCDE");
  w.Ctrl('X');
  EXPECT_EQ(w.Text(), u"ABCDE");
}

TEST(LineEditor, ClipboardRecordsAreOutsideInput) {
  Window w(kLed16);
  auto rec = [](int width, int height) {
    return MakeRecord(u'r', width, height, [](int i, int j) { return (i + j) % 2 == 0; });
  };
  struct Bad {
    const char* what;
    CharColumns record;
  };
  std::vector<Bad> bad;
  CharColumns r = rec(4, 16);
  r.height = 0;
  bad.push_back({"height 0", r});
  r.height = 1000;
  bad.push_back({"height 1000", r});
  r = rec(4, 16);
  r.byteCount = 200;
  bad.push_back({"byteCount 200", r});
  r.byteCount = 3;
  bad.push_back({"byteCount 3", r});
  r = rec(4, 16);
  r.width = -2;
  bad.push_back({"width -2", r});
  r.width = 1 << 30;
  bad.push_back({"huge width", r});

  for (const Bad& b : bad) {
    w.line.ClearLine();
    const std::vector<CharColumns> records = {rec(4, 16), rec(3, 7), b.record, rec(5, 16)};
    std::vector<uint8_t> bytes = WriteRecords(records);
    bytes.resize(bytes.size() + 50, 0xFF);  // a partial record: ignored
    w.clipboard.records = bytes;
    w.clipboard.text = u"zzz";
    w.Ctrl('V');
    EXPECT_EQ(w.line.itemCount(), 2) << b.what;
    EXPECT_EQ(w.line.LineEnd(), 7) << b.what;
  }
  // A 7-row record in a 16-row line fills its own rows from the top.
  EXPECT_TRUE(w.line.Lit(4, 0));
  EXPECT_FALSE(w.line.Lit(4, 10));

  // Fewer bytes than one record: no records, the selection still goes.
  w.Select(0, 1);
  w.clipboard.records = std::vector<uint8_t>(83, 0);
  w.Ctrl('V');
  EXPECT_EQ(w.line.itemCount(), 1);
}

TEST(LineEditor, MenuEnablingRules) {
  Window w(kLed7);
  for (int id : kLineMenuCommands) EXPECT_FALSE(w.editor.CommandEnabled(id)) << id;
  w.editor.Command(kLineSelectAll);  // on an empty line: no selection
  EXPECT_EQ(w.line.selAnchor, -1);
  EXPECT_EQ(w.line.selEnd, -1);
  EXPECT_FALSE(w.editor.Command(1234));

  w.Type(u"AB");
  EXPECT_TRUE(w.editor.CommandEnabled(kLineUndo));
  EXPECT_FALSE(w.editor.CommandEnabled(kLineRedo));
  EXPECT_FALSE(w.editor.CommandEnabled(kLineCopy));
  EXPECT_TRUE(w.editor.CommandEnabled(kLineSelectAll));
  w.editor.Command(kLineSelectAll);
  EXPECT_EQ(w.line.selEnd - w.line.selAnchor, 2);
  EXPECT_EQ(w.line.CaretIndex(), 2);
  EXPECT_FALSE(w.editor.CommandEnabled(kLineSelectAll));
  for (int id : {kLineCut, kLineCopy, kLineDelete}) EXPECT_TRUE(w.editor.CommandEnabled(id)) << id;
  w.editor.Command(kLineCopy);
  EXPECT_TRUE(w.editor.CommandEnabled(kLinePasteGraph));
  EXPECT_TRUE(w.editor.CommandEnabled(kLinePasteText));
  w.clipboard.records.reset();
  EXPECT_FALSE(w.editor.CommandEnabled(kLinePasteGraph));
  w.editor.Command(kLineDelete);
  EXPECT_EQ(w.Text(), u"");
  EXPECT_TRUE(w.editor.CommandEnabled(kLineUndo));
  w.editor.Command(kLineUndo);
  EXPECT_EQ(w.Text(), u"AB");
  EXPECT_TRUE(w.editor.CommandEnabled(kLineRedo));
  w.editor.Command(kLineRedo);
  EXPECT_EQ(w.Text(), u"");
}

// The colour of dot (x, y), checking that its whole zx x zy block carries it.
Color DotColour(const platform::RgbImage& img, int x, int y, int zx, int zy) {
  const Color c = img.Pixel(x * zx, y * zy);
  for (int dy = 0; dy < zy; ++dy)
    for (int dx = 0; dx < zx; ++dx) EXPECT_EQ(img.Pixel(x * zx + dx, y * zy + dy), c) << x << "," << y;
  return c;
}

TEST(LineEditor, PaintsAKnownLineForEachType) {
  const Color face = Rgb(212, 208, 200);
  const Color gray = Rgb(128, 128, 128);
  for (int type : {kLed7, kLed11, kLed16}) {
    SCOPED_TRACE(type);
    Window w(type);
    const int zx = LedTypeRow(type).zoomX, zy = LedTypeRow(type).zoomY;
    const int bar = w.line.barWidth;
    const platform::Rect t = w.editor.textRect();
    const int dotsW = w.editor.clientWidth() / zx, dotsH = w.editor.clientHeight() / zy;
    platform::RgbImage img;

    // An empty line: frame and background only.
    w.editor.Paint(img, true, face, gray);
    ASSERT_EQ(img.width(), w.editor.clientWidth());
    ASSERT_EQ(img.height(), w.editor.clientHeight());
    EXPECT_EQ(DotColour(img, 0, 0, zx, zy), lc::kFrame);
    EXPECT_EQ(DotColour(img, dotsW - 1, dotsH - 1, zx, zy), lc::kFrame);
    EXPECT_EQ(DotColour(img, t.left, 1, zx, zy), lc::kBackground);
    EXPECT_EQ(DotColour(img, t.left, t.top, zx, zy), lc::kBackground);

    w.Type(u"AB");  // two characters 6 columns wide
    w.Select(1, 2);
    w.editor.Paint(img, true, face, gray);
    for (int row : {1, bar, dotsH - 2, dotsH - 1 - bar}) {
      EXPECT_EQ(DotColour(img, t.left - 1, row, zx, zy), lc::kBarRest) << row;
      EXPECT_EQ(DotColour(img, t.left, row, zx, zy), lc::kBarEven) << row;
      EXPECT_EQ(DotColour(img, t.left + 5, row, zx, zy), lc::kBarEven) << row;
      EXPECT_EQ(DotColour(img, t.left + 6, row, zx, zy), lc::kBarOdd) << row;
      EXPECT_EQ(DotColour(img, t.left + 12, row, zx, zy), lc::kBarRest) << row;
      EXPECT_EQ(DotColour(img, t.right - 1, row, zx, zy), lc::kBarRest) << row;
      EXPECT_EQ(DotColour(img, t.right, row, zx, zy), lc::kBarRest) << row;
    }
    // Between the bars and textRect: the background, as tall as textInset.
    EXPECT_EQ(DotColour(img, t.left + 3, bar + 1, zx, zy), lc::kBackground);
    EXPECT_EQ(DotColour(img, t.left + 3, t.bottom, zx, zy), lc::kBackground);
    EXPECT_EQ(DotColour(img, t.left - 1, t.top, zx, zy), lc::kBarRest);
    for (int col = 0; col < 16; ++col)
      for (int row = 0; row < w.line.height(); ++row) {
        Color want = kPaper;
        if (col < 12) want = w.line.Lit(col, row) != (col >= 6) ? kInk : kPaper;
        ASSERT_EQ(DotColour(img, t.left + col, t.top + row, zx, zy), want) << col << "," << row;
      }
    // Every pixel belongs to a whole dot block.
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        ASSERT_EQ(img.Pixel(x, y), img.Pixel(x / zx * zx, y / zy * zy)) << x << "," << y;

    // Disabled: no bars, the system colours, the dots still shown.
    w.editor.Paint(img, false, face, gray);
    EXPECT_EQ(DotColour(img, 0, 0, zx, zy), gray);
    EXPECT_EQ(DotColour(img, t.left, 1, zx, zy), face);
    EXPECT_EQ(DotColour(img, t.left - 1, t.top, zx, zy), face);
    EXPECT_EQ(DotColour(img, t.left + 20, t.top, zx, zy), face);
    for (int row = 0; row < w.line.height(); ++row)
      EXPECT_EQ(DotColour(img, t.left + 2, t.top + row, zx, zy), w.line.Lit(2, row) ? kInk : kPaper);
  }
}

TEST(LineEditor, DetachesFromTheLine) {
  MessageLine line;
  {
    LineEditor editor(line);
    EXPECT_EQ(line.view(), &editor);
  }
  EXPECT_EQ(line.view(), nullptr);
  line.SetLedType(kLed7, true);  // no dangling view
}

}  // namespace
}  // namespace kirrup
