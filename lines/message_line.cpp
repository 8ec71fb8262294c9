// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/message_line.h"

#include <algorithm>
#include <climits>

#include "fonts/glyph_source.h"

namespace kirrup {
namespace {

// Dot k (0 = bottom row) of stored column col of a record, read with the record's own
// height. Heights and widths come from outside (files, clipboard), so the arithmetic is
// done wide and anything past the 72 column bytes reads as unlit.
bool RecordDot(const CharColumns& r, int64_t col, int64_t k) {
  const int64_t bpc = (static_cast<int64_t>(r.height) + 7) / 8;
  if (bpc <= 0 || col < 0 || k < 0) return false;
  const int64_t bit = col * bpc * 8 + k;
  if (bit / 8 >= static_cast<int64_t>(CharColumns::kMaxBytes)) return false;
  return (r.columns[bit / 8] & (0x80 >> (bit % 8))) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// MessageLine

MessageLine::MessageLine()
    : strip_(MaxLineWidth(), MaxLineHeight()),
      scratch_(MaxLineWidth(), MaxLineHeight()),
      snapshot_((MaxLineWidth() + 4) / 5 * 7, MaxLineHeight()) {
  // A line starts as its window makes it: reset to 16 LEDs.
  SetLedType(kLed16, false);
}

void MessageLine::SetLedType(int type, bool invalidate) {
  undo.Clear();
  ledType_ = LedTypeRow(type);
  itemCount_ = 0;
  caretOffset = 0;
  firstVisible = 0;
  selAnchor = selEnd = -1;
  barWidth = ledType_.zoomX > 1 ? 1 : 3;
  textInset = ledType_.index == kLed11 ? 2 : 1;
  maxWidth_ = ledType_.maxWidth;
  height_ = ledType_.height;
  strip_.Fill(false);
  if (view_) {
    view_->Layout(PreferredHeight());
    if (invalidate) view_->Invalidate(true);
  }
}

int MessageLine::PreferredHeight() const {
  const LedTypeInfo& row = LedTypeRow(ledType_.index);
  return row.zoomX * (row.height + 2 * (barWidth + textInset) + 2);
}

int MessageLine::LineEnd() const {
  if (itemCount_ == 0) return 0;
  const CharItem& last = items_[itemCount_ - 1];
  return last.x + last.width;
}

bool MessageLine::RenderAndInsert(uint16_t code, bool testOnly) {
  if (code == 0 || itemCount_ >= kMaxItems || LineEnd() >= maxWidth_) return false;
  CharColumns record{};
  if (!glyphs_ || !glyphs_->RenderGlyph(ledType_.index, code, record)) return false;
  record.code = code;
  if (testOnly) return true;
  return InsertRecord(record);
}

bool MessageLine::InsertRecord(const CharColumns& record) {
  const int width = record.width;
  if (width <= 0) return false;
  const int oldEnd = LineEnd();
  if (static_cast<int64_t>(oldEnd) + width > maxWidth_) return false;
  // The item table has 50 slots; a record from the symbol picker reaches here directly.
  if (itemCount_ >= kMaxItems) return false;

  const int p = std::clamp(CaretIndex(), 0, itemCount_);
  const int x = p == 0 ? 0 : items_[p - 1].x + items_[p - 1].width;
  for (int i = itemCount_; i > p; --i) {
    items_[i] = items_[i - 1];
    items_[i].x += width;
  }
  items_[p] = CharItem{record.code, x, width};

  if (p < itemCount_) {
    const int run = oldEnd - x;
    scratch_.CopyFrom(strip_, x, 0, run, height_, 0, 0);
    strip_.CopyFrom(scratch_, 0, 0, run, height_, x + width, 0);
  }

  // The record's own height decides the rows drawn, from the top. Rows of the line
  // below a shorter record are painted unlit, so no dots of the columns that moved
  // away stay behind inside the new character.
  const int64_t rh = record.height;
  const int drawRows = static_cast<int>(std::clamp<int64_t>(rh, 0, strip_.height()));
  for (int i = 0; i < width; ++i) {
    const int col = width - 1 - i;
    for (int j = 0; j < drawRows; ++j) strip_.Set(x + i, j, RecordDot(record, col, rh - 1 - j));
    for (int j = drawRows; j < height_; ++j) strip_.Set(x + i, j, false);
  }

  ++itemCount_;
  return true;
}

void MessageLine::DeleteRange(int a, int b, bool invalidate) {
  const int lo = std::max(std::min(a, b), 0);
  const int hi = std::min(std::max(a, b), itemCount_);
  if (hi - lo <= 0) return;
  selAnchor = selEnd = -1;

  if (hi < itemCount_) {
    const int end = LineEnd();
    const int from = items_[hi].x;
    const int to = items_[lo].x;
    scratch_.CopyFrom(strip_, from, 0, end - from, height_, 0, 0);
    strip_.FillRect({to, 0, end, height_}, false);
    strip_.CopyFrom(scratch_, 0, 0, end - from, height_, to, 0);
  }

  const int removed = hi - lo;
  for (int i = hi; i < itemCount_; ++i) {
    CharItem& moved = items_[i - removed];
    moved = items_[i];
    const int j = i - removed;
    moved.x = j == 0 ? 0 : items_[j - 1].x + items_[j - 1].width;
  }
  itemCount_ -= removed;

  caretOffset = lo - firstVisible;
  if (caretOffset < 0) {
    caretOffset = 0;
    firstVisible = lo;
  }
  if (invalidate && view_) view_->Invalidate(true);
}

int MessageLine::ExportRange(int end, int start, std::span<CharColumns> out, bool storedOrder) const {
  start = std::max(start, 0);
  end = std::min(end, itemCount_);
  end = static_cast<int>(std::min<int64_t>(end, static_cast<int64_t>(start) + out.size()));
  if (start >= end) return 0;

  const int bpc = BytesPerColumn();
  for (int i = start; i < end; ++i) {
    const CharItem& item = items_[i];
    CharColumns& rec = out[i - start];
    rec.code = static_cast<uint16_t>(item.code);
    rec.width = item.width;
    rec.height = height_;
    const int byteCount = std::min(item.width * bpc, static_cast<int>(CharColumns::kMaxBytes));
    rec.byteCount = static_cast<uint8_t>(byteCount);
    for (int c = 0; c < item.width; ++c) {
      const int base = c * bpc * 8;
      if (base / 8 >= byteCount) break;
      const int col = storedOrder ? item.x + item.width - 1 - c : item.x + c;
      for (int row = height_ - 1; row >= 0; --row) {
        const int bit = base + (height_ - 1 - row);
        if (bit / 8 >= byteCount) break;
        const auto mask = static_cast<uint8_t>(0x80 >> (bit % 8));
        if (strip_.Lit(col, row))
          rec.columns[bit / 8] |= mask;
        else
          rec.columns[bit / 8] &= static_cast<uint8_t>(~mask);
      }
    }
  }
  return end - start;
}

void MessageLine::ImportRecords(std::span<const CharColumns> records) {
  if (selAnchor > selEnd) std::swap(selAnchor, selEnd);
  bool changed = false;
  if (HasSelection()) {
    DeleteRange(selAnchor, selEnd, false);
    changed = true;
  }
  for (const CharColumns& record : records) {
    if (itemCount_ >= kMaxItems || LineEnd() >= maxWidth_) break;
    if (!InsertRecord(record)) break;
    MoveCaret(+1, false);
    changed = true;
  }
  selAnchor = selEnd = -1;
  if (view_) {
    if (changed) {
      view_->RedrawNow();
      view_->NotifyChange();
    }
    view_->PlaceCaret();
  }
}

void MessageLine::ClearLine() {
  if (itemCount_ == 0) return;
  selAnchor = selEnd = -1;
  DeleteRange(itemCount_, 0, false);
  if (view_) {
    view_->NotifyChange();
    if (view_->HasFocus()) view_->PlaceCaret();
    view_->RedrawNow();
  }
}

const platform::Bitmap1& MessageLine::GetLineBitmap(int& outHeight, int& outWidth) {
  const int end = LineEnd();
  if (itemCount_ > 0 && end != 0) {
    outWidth = end;
    outHeight = height_;
    snapshot_.CopyFrom(strip_, 0, 0, maxWidth_, height_, 0, 0);
  } else {
    outWidth = outHeight = 0;
  }
  return snapshot_;
}

void MessageLine::SetStripPixel(int x, int y, platform::Color colour) {
  strip_.SetPixel(x, y, colour);
  if (view_) view_->Invalidate(false);
}

void MessageLine::CopyStripFrom(const platform::Bitmap1& source) {
  strip_.CopyFrom(source, 0, 0, maxWidth_, height_, 0, 0);
  if (view_) view_->Invalidate(false);
}

void MessageLine::MoveCaret(int delta, bool invalidate) {
  if (itemCount_ == 0) {
    firstVisible = caretOffset = 0;
    if (view_) {
      if (invalidate) view_->Invalidate(true);
      view_->PlaceCaret();
    }
    return;
  }
  const int oldIndex = CaretIndex();
  caretOffset += delta;
  if (delta <= 0) {
    if (caretOffset < 0) {
      firstVisible = std::max(oldIndex + delta, 0);
      caretOffset = 0;
    }
  } else {
    const int p = std::min(CaretIndex(), itemCount_);
    const int textWidth = view_ ? view_->TextWidth() : INT_MAX;
    firstVisible = std::min(firstVisible, p);
    while (firstVisible < p &&
           items_[p - 1].x + items_[p - 1].width - items_[firstVisible].x > textWidth)
      ++firstVisible;
    caretOffset = p - firstVisible;
  }
  if (view_) {
    if (CaretIndex() != oldIndex && invalidate) view_->Invalidate(true);
    view_->PlaceCaret();
  }
}

// ---------------------------------------------------------------------------------------
// LineUndo

void LineUndo::Clear() {
  undoCount_ = redoCount_ = 0;
  undoSlots_.fill(-1);
  redoSlots_.fill(-1);
}

void LineUndo::Push(MessageLine& line) {
  scratch_.Clear();
  scratch_.count = std::min(line.itemCount(), UndoSnapshot::kMaxRecords);
  line.ExportRange(scratch_.count, 0, scratch_.records, true);
  if (undoCount_ > 0 && slots_[undoSlots_[undoCount_ - 1]] == scratch_) return;
  redoCount_ = 0;
  int s;
  if (undoCount_ < kSlots) {
    s = 0;
    while (std::find(undoSlots_.begin(), undoSlots_.begin() + undoCount_, s) !=
           undoSlots_.begin() + undoCount_)
      ++s;
    undoSlots_[undoCount_++] = s;
  } else {
    s = undoSlots_[0];
    std::copy(undoSlots_.begin() + 1, undoSlots_.end(), undoSlots_.begin());
    undoSlots_[kSlots - 1] = s;
  }
  slots_[s] = scratch_;
}

bool LineUndo::Undo(MessageLine& line) {
  if (undoCount_ == 0) return false;
  const int s = undoSlots_[--undoCount_];
  undoSlots_[undoCount_] = -1;
  redoSlots_[redoCount_++] = s;
  Swap(line, s);
  return true;
}

bool LineUndo::Redo(MessageLine& line) {
  if (redoCount_ == 0) return false;
  const int s = redoSlots_[redoCount_ - 1];
  if (undoCount_ == kSlots) {
    std::copy(undoSlots_.begin() + 1, undoSlots_.end(), undoSlots_.begin());
    --undoCount_;
  }
  undoSlots_[undoCount_++] = s;
  --redoCount_;
  Swap(line, s);
  return true;
}

// The line takes snapshot s's content; slot s keeps the line as it was.
void LineUndo::Swap(MessageLine& line, int s) {
  scratch_.Clear();
  scratch_.count = std::min(line.itemCount(), UndoSnapshot::kMaxRecords);
  line.ExportRange(scratch_.count, 0, scratch_.records, true);
  line.selAnchor = 0;
  line.selEnd = line.itemCount();
  if (line.view()) line.view()->RedrawNow();
  const UndoSnapshot& snap = slots_[s];
  line.ImportRecords(std::span<const CharColumns>(snap.records.data(),
                                                  static_cast<size_t>(std::clamp(snap.count, 0, 50))));
  slots_[s] = scratch_;
}

}  // namespace kirrup
