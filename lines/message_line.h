// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// MessageLine: one row of the message, a 1-bit strip as tall as the blade on which
// characters stand side by side from column 0. The pixels are the truth; the item
// table only says where each character's columns lie and which code they carry.
//
// The model never touches a screen. Whatever the owning window must do in response
// (repaint, move the caret, tell its parent) goes through LineView; with no view
// attached the model works alone (command line, tests, the data file reader).
#include <array>
#include <cstdint>
#include <span>

#include "lines/char_columns.h"
#include "lines/led_type.h"
#include "platform/raster.h"

namespace kirrup {

class GlyphSource;
class MessageLine;

// One character of a line.
struct CharItem {
  uint32_t code = 0;  // UTF-16 unit or symbol code; the upper half is never used
  int32_t x = 0;      // first column
  int32_t width = 0;  // columns, at least 1

  bool operator==(const CharItem&) const = default;
};

// The screen side of a line, implemented by the line input window.
class LineView {
 public:
  virtual ~LineView() = default;
  // Tells the parent that the line's content changed.
  virtual void NotifyChange() = 0;
  // Puts the caret where firstVisible / caretOffset say.
  virtual void PlaceCaret() = 0;
  // Invalidates the whole window, erasing the background when asked.
  virtual void Invalidate(bool erase) = 0;
  // Repaints the window at once.
  virtual void RedrawNow() = 0;
  // Recomputes the text rectangle for a window of the given height in pixels.
  virtual void Layout(int heightPixels) = 0;
  // Width of the text rectangle in dots (decides when the view scrolls).
  virtual int TextWidth() const = 0;
  virtual bool HasFocus() const = 0;
};

// An undo snapshot: a whole line as ExportRange writes it into a zero-filled buffer.
struct UndoSnapshot {
  static constexpr int kMaxRecords = 50;
  static constexpr size_t kSize = 4 + kMaxRecords * CharColumns::kSize;  // 4204

  int32_t count = 0;
  std::array<CharColumns, kMaxRecords> records{};

  void Clear() { *this = UndoSnapshot{}; }
  // Field-wise equality is byte equality of the 4204-byte form.
  bool operator==(const UndoSnapshot&) const = default;
};

// Five whole-line snapshots with an undo and a redo stack of slot numbers.
// Owned by the line (SetLedType empties it); driven by the line window's edits.
class LineUndo {
 public:
  static constexpr int kSlots = 5;

  LineUndo() { Clear(); }

  // Empties both stacks; the snapshots keep their bytes.
  void Clear();
  // Records the line as it is now, unless the newest entry already equals it.
  void Push(MessageLine& line);
  // Each returns false when its stack is empty.
  bool Undo(MessageLine& line);
  bool Redo(MessageLine& line);

  int undoCount() const { return undoCount_; }
  int redoCount() const { return redoCount_; }
  std::span<const int> undoSlots() const { return {undoSlots_.data(), size_t(undoCount_)}; }
  std::span<const int> redoSlots() const { return {redoSlots_.data(), size_t(redoCount_)}; }
  const UndoSnapshot& slot(int i) const { return slots_[i]; }

 private:
  void Swap(MessageLine& line, int slot);
  // scratch_ becomes the line's snapshot.
  void Take(const MessageLine& line);

  int undoCount_ = 0;
  int redoCount_ = 0;
  std::array<int, kSlots> undoSlots_{};  // oldest first; -1 beyond undoCount_
  std::array<int, kSlots> redoSlots_{};  // oldest first
  std::array<UndoSnapshot, kSlots> slots_{};
  UndoSnapshot scratch_{};
  // The snapshot of cachedLine_ at its revision cachedRevision_, so that a line not
  // changed since is not read dot by dot again: undo, redo, undo toggles read back what
  // the last one put in, and a snapshot put in whole reads back as itself.
  UndoSnapshot cached_{};
  const MessageLine* cachedLine_ = nullptr;
  uint64_t cachedRevision_ = 0;
};

class MessageLine {
 public:
  static constexpr int kMaxItems = 50;

  // The strip takes the size of the widest and tallest LedTypeTable rows in force now,
  // so lines must be made after the start-up replacement of the 11-LED row.
  MessageLine();
  MessageLine(const MessageLine&) = delete;
  MessageLine& operator=(const MessageLine&) = delete;

  void SetView(LineView* view) { view_ = view; }
  void SetGlyphSource(GlyphSource* glyphs) { glyphs_ = glyphs; }
  LineView* view() const { return view_; }

  // Empties the line (and its undo stacks) and resets it to the type (outside 0..2: 0).
  void SetLedType(int type, bool invalidate);
  // Height in pixels of a window that shows the line whole.
  int PreferredHeight() const;
  // Used width in columns.
  int LineEnd() const;

  // Renders the code through the glyph source and inserts it at the caret.
  // testOnly: only asks whether a glyph exists and the line is not full.
  bool RenderAndInsert(uint16_t code, bool testOnly);
  // Inserts one record (stored order) at the caret; the caret is not moved.
  bool InsertRecord(const CharColumns& record);
  // Deletes characters min(a,b) .. max(a,b)-1 (clamped); the caret ends at the first.
  void DeleteRange(int a, int b, bool invalidate);
  // Writes characters start .. end-1 into out (clamped to the line and to out); only the
  // fields and bits a character defines are written. Returns the number of records.
  int ExportRange(int end, int start, std::span<CharColumns> out, bool storedOrder) const;
  // Replaces the selection by the records, inserting them one after the other at the caret
  // until one is refused or the line is full.
  void ImportRecords(std::span<const CharColumns> records);
  void ClearLine();
  // The snapshot of the strip for the display simulation; outHeight/outWidth 0 when empty.
  const platform::Bitmap1& GetLineBitmap(int& outHeight, int& outWidth);
  // Dot changes from the character editor; the item table is not touched.
  void SetStripPixel(int x, int y, platform::Color colour);
  void CopyStripFrom(const platform::Bitmap1& source);

  // Caret moves (±100 for Home/End); scrolls the view when the text rectangle is
  // narrower than the line. Without a view the text rectangle is unbounded.
  void MoveCaret(int delta, bool invalidate);
  int CaretIndex() const { return firstVisible + caretOffset; }
  // A selection exists when selAnchor is not -1 and differs from selEnd.
  bool HasSelection() const { return selAnchor != -1 && selAnchor != selEnd; }
  void ClearSelection() { selAnchor = selEnd = -1; }

  const LedTypeInfo& ledType() const { return ledType_; }
  int type() const { return ledType_.index; }
  int maxWidth() const { return maxWidth_; }
  int height() const { return height_; }
  int itemCount() const { return itemCount_; }
  const CharItem& item(int i) const { return items_[i]; }
  std::span<const CharItem> items() const { return {items_.data(), size_t(itemCount_)}; }
  // Changes whenever the items, the strip or the type change.
  uint64_t revision() const { return revision_; }
  // Bytes per column of an exported record.
  int BytesPerColumn() const { return (height_ + 7) / 8; }
  const platform::Bitmap1& strip() const { return strip_; }
  bool Lit(int x, int y) const { return strip_.Lit(x, y); }

  // Window decoration sizes set by SetLedType (used by PreferredHeight and the window).
  int barWidth = 3;
  int textInset = 1;
  // Viewing and editing position, owned by the line window.
  int firstVisible = 0;
  int caretOffset = 0;
  int selAnchor = -1;
  int selEnd = -1;

  LineUndo undo;

 private:
  LedTypeInfo ledType_{};
  int maxWidth_ = 0;
  int height_ = 0;
  platform::Bitmap1 strip_;
  platform::Bitmap1 scratch_;
  platform::Bitmap1 snapshot_;
  int itemCount_ = 0;
  std::array<CharItem, kMaxItems> items_{};
  uint64_t revision_ = 0;

  LineView* view_ = nullptr;
  GlyphSource* glyphs_ = nullptr;
};

}  // namespace kirrup
