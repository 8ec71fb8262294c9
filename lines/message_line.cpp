// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/message_line.h"

#include <algorithm>
#include <climits>

#include "fonts/glyph_source.h"

namespace kirrup {

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
  ++revision_;
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

  ++revision_;
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

  // The record's own height decides the rows drawn, from the top: row j shows dot
  // height-1-j. Rows of the line below a shorter record are painted unlit, so no dots of
  // the columns that moved away stay behind inside the new character. The character's
  // block is cleared at once and only its lit dots are set, walking the bits column by
  // column: this runs for every character of every paste, undo and file opened.
  const int64_t rh = record.height;
  const int drawRows = static_cast<int>(std::clamp<int64_t>(rh, 0, strip_.height()));
  strip_.FillRect({x, 0, x + width, std::max(drawRows, height_)}, false);
  const int64_t columnBits = (rh + 7) / 8 * 8;
  constexpr int64_t kRecordBits = CharColumns::kMaxBytes * 8;
  for (int i = 0; i < width; ++i) {
    // The bit of row 0 in stored column width-1-i; lower rows count down from it.
    const int64_t top = static_cast<int64_t>(width - 1 - i) * columnBits + rh - 1;
    // Rows whose bit lies past the record's bytes read as unlit.
    const int inside = static_cast<int>(std::clamp<int64_t>(top - (kRecordBits - 1), 0, drawRows));
    for (int j = inside; j < drawRows; ++j) {
      const int64_t bit = top - j;
      if ((record.columns[static_cast<size_t>(bit >> 3)] >> (7 - (bit & 7))) & 1) strip_.Set(x + i, j, true);
    }
  }

  ++itemCount_;
  return true;
}

void MessageLine::DeleteRange(int a, int b, bool invalidate) {
  const int lo = std::max(std::min(a, b), 0);
  const int hi = std::min(std::max(a, b), itemCount_);
  if (hi - lo <= 0) return;
  ++revision_;
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
      // Dot k is row height-1-k; the column is cut where the record's bytes end.
      const int dots = std::min(height_, byteCount * 8 - base);
      for (int k = 0; k < dots; ++k) {
        const int bit = base + k;
        const auto mask = static_cast<uint8_t>(0x80 >> (bit % 8));
        uint8_t& byte = rec.columns[static_cast<size_t>(bit / 8)];
        byte = static_cast<uint8_t>((byte & ~mask) | (strip_.Lit(col, height_ - 1 - k) ? mask : 0));
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
  ++revision_;
  strip_.SetPixel(x, y, colour);
  if (view_) view_->Invalidate(false);
}

void MessageLine::CopyStripFrom(const platform::Bitmap1& source) {
  ++revision_;
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

void LineUndo::Take(const MessageLine& line) {
  if (cachedLine_ == &line && cachedRevision_ == line.revision()) {
    scratch_ = cached_;
    return;
  }
  scratch_.Clear();
  scratch_.count = std::min(line.itemCount(), UndoSnapshot::kMaxRecords);
  line.ExportRange(scratch_.count, 0, scratch_.records, true);
  cached_ = scratch_;
  cachedLine_ = &line;
  cachedRevision_ = line.revision();
}

void LineUndo::Push(MessageLine& line) {
  Take(line);
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
  Take(line);
  line.selAnchor = 0;
  line.selEnd = line.itemCount();
  if (line.view()) line.view()->RedrawNow();
  const UndoSnapshot& snap = slots_[s];
  const int count = std::clamp(snap.count, 0, 50);
  line.ImportRecords(std::span<const CharColumns>(snap.records.data(), static_cast<size_t>(count)));
  // Every snapshot is a line of this type as read back, so taken in whole it reads back
  // as itself until the line changes again.
  if (line.itemCount() == count && count == snap.count) {
    cached_ = snap;
    cachedLine_ = &line;
    cachedRevision_ = line.revision();
  }
  slots_[s] = scratch_;
}

}  // namespace kirrup
