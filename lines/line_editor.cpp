// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/line_editor.h"

#include <algorithm>

namespace kirrup {

using platform::Color;
using platform::Rect;

bool SensibleRecord(const CharColumns& r) {
  if (r.width < 1 || r.width > MaxLineWidth()) return false;
  if (r.height < 1 || r.height > MaxLineHeight()) return false;
  const int64_t bytes = std::min<int64_t>(static_cast<int64_t>(r.width) * r.BytesPerColumn(),
                                         static_cast<int64_t>(CharColumns::kMaxBytes));
  return r.byteCount == bytes;
}

LineEditor::LineEditor(MessageLine& line, LineEditorHost* host) : line_(&line), host_(host) {
  line_->SetView(this);
}

LineEditor::~LineEditor() {
  if (line_->view() == this) line_->SetView(nullptr);
}

void LineEditor::Resize(int width, int height) {
  clientWidth_ = std::max(width, 0);
  clientHeight_ = std::max(height, 0);
  Layout(-1);
}

// ---------------------------------------------------------------------------------------
// Screen side of the model

void LineEditor::NotifyChange() {
  if (host_) host_->NotifyChange();
}

void LineEditor::Invalidate(bool erase) {
  if (host_) host_->Invalidate(erase);
}

void LineEditor::RedrawNow() {
  if (host_) host_->RedrawNow();
}

void LineEditor::PlaceCaret() {
  if (host_) host_->SetCaretPos(CaretX(), CaretY());
}

int LineEditor::CaretX() const {
  const MessageLine& l = *line_;
  const int p = std::min(l.CaretIndex(), l.itemCount());
  int x = textRect_.left;
  if (p > 0) {
    const CharItem& before = l.item(p - 1);
    x += before.x + before.width - ColumnOf(l.firstVisible);
  }
  return x * zoomX();
}

// The row is scaled by zoomX as well; every LED type has zoomX = zoomY.
int LineEditor::CaretY() const { return textRect_.top * zoomX(); }

void LineEditor::Layout(int heightPixels) {
  const int bottom = heightPixels == -1 ? clientHeight_ : heightPixels;
  const int zx = std::max(zoomX(), 1);
  const int zy = std::max(zoomY(), 1);
  Rect r{0, 0, clientWidth_ / zx, bottom / zy};
  const int bar = line_->barWidth;
  const int inset = line_->textInset;
  r.left += 1 + bar;
  r.right -= 1 + bar;
  r.top += 1 + bar + inset;
  r.bottom -= 1 + bar + inset;
  textRect_ = r;
}

int LineEditor::ColumnOf(int i) const {
  const MessageLine& l = *line_;
  return i < l.itemCount() ? l.item(i).x : l.LineEnd();
}

int LineEditor::HitTest(int x) const {
  const MessageLine& l = *line_;
  const int dot = x / std::max(zoomX(), 1);
  if (l.itemCount() == 0 || dot < textRect_.left) return 0;
  const int origin = ColumnOf(l.firstVisible);
  for (int i = l.firstVisible; i < l.itemCount(); ++i) {
    const int left = textRect_.left + l.item(i).x - origin;
    const int right = left + l.item(i).width;
    if (right >= textRect_.right) return std::max(i - 1 - l.firstVisible, 0);
    if (dot >= left && dot < right) return i - l.firstVisible;
  }
  return std::max(l.itemCount() - l.firstVisible, 0);
}

// ---------------------------------------------------------------------------------------
// Keyboard

bool LineEditor::KeyDown(LineKey key, bool shift) {
  MessageLine& l = *line_;
  int delta;
  switch (key) {
    case LineKey::End: delta = +100; break;
    case LineKey::Home: delta = -100; break;
    case LineKey::Left:
    case LineKey::Up: delta = -1; break;
    case LineKey::Right:
    case LineKey::Down: delta = +1; break;
    case LineKey::Delete:
      if (l.HasSelection()) {
        DeleteSelection();
      } else if (const int p = l.CaretIndex(); p < l.itemCount()) {
        PushUndo();
        l.DeleteRange(p + 1, p, true);
        NotifyChange();
      }
      return true;
    default: return false;
  }
  if (shift) {
    if (!l.HasSelection()) l.selAnchor = l.CaretIndex();
    l.MoveCaret(delta, false);
    l.selEnd = l.CaretIndex();
    RedrawNow();
  } else {
    l.ClearSelection();
    RedrawNow();
    l.MoveCaret(delta, true);
  }
  return true;
}

void LineEditor::Char(uint16_t code, bool ctrl) {
  MessageLine& l = *line_;
  if (code == 0 || code == 9) return;
  if (ctrl) {
    switch (code) {
      case 3:
        if (l.HasSelection()) Copy();
        return;
      case 22: Paste(1); return;
      case 24:
        if (l.HasSelection()) Cut();
        return;
      case 25: Redo(); return;
      case 26: Undo(); return;
      default: break;
    }
  }
  if (code == 8) {
    Backspace();
    return;
  }
  Type(code);
}

void LineEditor::Backspace() {
  MessageLine& l = *line_;
  if (l.itemCount() == 0) return;
  PushUndo();
  if (l.HasSelection()) {
    l.DeleteRange(l.selAnchor, l.selEnd, true);
  } else if (const int p = l.CaretIndex(); p > 0) {
    l.DeleteRange(p, p - 1, true);
  } else {
    return;
  }
  PlaceCaret();
  NotifyChange();
}

void LineEditor::Type(uint16_t code) {
  MessageLine& l = *line_;
  bool deleted = false;
  if (l.HasSelection()) {
    PushUndo();
    l.DeleteRange(l.selAnchor, l.selEnd, false);
    deleted = true;
  } else if (l.RenderAndInsert(code, true)) {
    PushUndo();
  }
  if (l.RenderAndInsert(code, false)) {
    l.MoveCaret(+1, false);
    l.ClearSelection();
  } else {
    if (host_) host_->CharacterRefused(code);
    if (!deleted) return;
  }
  RedrawNow();
  NotifyChange();
  PlaceCaret();
}

// ---------------------------------------------------------------------------------------
// Mouse and focus

void LineEditor::MouseDown(int x, bool shift) {
  MessageLine& l = *line_;
  if (host_) host_->TakeFocus();
  dragPending_ = false;
  if (shift) {
    l.selAnchor = l.CaretIndex();
    l.caretOffset = HitTest(x);
    PlaceCaret();
    l.selEnd = l.CaretIndex();
    RedrawNow();
    return;
  }
  l.caretOffset = HitTest(x);
  PlaceCaret();
  dragPending_ = true;
}

void LineEditor::DragDecided(bool started) {
  if (!dragPending_) return;
  dragPending_ = false;
  MessageLine& l = *line_;
  if (started) {
    l.selAnchor = l.selEnd = l.CaretIndex();
    RedrawNow();
    if (host_) host_->CaptureMouse();
    dragging_ = true;
  } else {
    const bool had = l.HasSelection();
    l.ClearSelection();
    if (had) RedrawNow();
  }
}

void LineEditor::MouseMove(int x, bool leftHeld) {
  MessageLine& l = *line_;
  // Until the drag is decided the pointer is still inside the drag rectangle.
  if (dragPending_ || !leftHeld || l.selAnchor == -1) return;
  l.caretOffset = HitTest(x);
  PlaceCaret();
  const int old = l.selEnd;
  l.selEnd = l.CaretIndex();
  if (l.selEnd != old) RedrawNow();
}

void LineEditor::MouseUp() {
  if (dragPending_) DragDecided(false);
  if (dragging_) {
    dragging_ = false;
    if (host_) host_->ReleaseMouse();
  }
}

void LineEditor::DoubleClick() {
  MessageLine& l = *line_;
  if (l.itemCount() == 0) return;
  l.selAnchor = 0;
  l.selEnd = l.itemCount();
  RedrawNow();
  l.MoveCaret(+100, true);
}

void LineEditor::FocusIn() {
  caretHeight_ = line_->height();
  if (host_) {
    host_->DestroyCaret();
    host_->CreateCaret(2, caretHeight_ * zoomX());
  }
  PlaceCaret();
  if (host_) host_->LineFocused();
}

void LineEditor::FocusOut() {
  if (host_) host_->DestroyCaret();
}

// ---------------------------------------------------------------------------------------
// Commands

bool LineEditor::CommandEnabled(int command) const {
  const MessageLine& l = *line_;
  switch (command) {
    case kLineUndo: return l.undo.undoCount() > 0;
    case kLineRedo: return l.undo.redoCount() > 0;
    case kLineCut:
    case kLineCopy:
    case kLineDelete: return l.HasSelection();
    case kLineSelectAll: return l.itemCount() != 0 && l.selEnd - l.selAnchor != l.itemCount();
    case kLinePasteGraph: return clipboard_ && clipboard_->HasRecords();
    case kLinePasteText: return clipboard_ && clipboard_->HasText();
    default: return false;
  }
}

bool LineEditor::Command(int command) {
  switch (command) {
    case kLineUndo: Undo(); return true;
    case kLineRedo: Redo(); return true;
    case kLineCut: Cut(); return true;
    case kLineCopy: Copy(); return true;
    case kLinePasteGraph: Paste(1); return true;
    case kLinePasteText: Paste(2); return true;
    case kLineDelete: DeleteSelection(); return true;
    case kLineSelectAll: SelectAll(); return true;
    default: return false;
  }
}

bool LineEditor::Copy() {
  const MessageLine& l = *line_;
  if (!l.HasSelection() || !clipboard_) return false;
  const int lo = std::min(l.selAnchor, l.selEnd);
  const int hi = std::min(std::max(l.selAnchor, l.selEnd), l.itemCount());
  if (lo < 0 || hi <= lo) return false;
  std::vector<CharColumns> records(static_cast<size_t>(hi - lo));
  l.ExportRange(hi, lo, records, true);
  std::u16string text;
  text.reserve(records.size() + 1);
  for (int i = lo; i < hi; ++i) text.push_back(static_cast<char16_t>(l.item(i).code));
  text.push_back(u'\0');
  const std::vector<uint8_t> bytes = WriteRecords(records);
  return clipboard_->Put(bytes, text);
}

void LineEditor::Cut() {
  MessageLine& l = *line_;
  if (!l.HasSelection()) return;
  // The characters go only once they are safely on the clipboard.
  if (!Copy()) return;
  PushUndo();
  l.DeleteRange(l.selAnchor, l.selEnd, true);
  NotifyChange();
  PlaceCaret();
}

void LineEditor::DeleteSelection() {
  MessageLine& l = *line_;
  if (!l.HasSelection()) return;
  PushUndo();
  l.DeleteRange(l.selAnchor, l.selEnd, true);
  NotifyChange();
  PlaceCaret();
}

void LineEditor::SelectAll() {
  MessageLine& l = *line_;
  if (l.itemCount() == 0) {
    l.ClearSelection();
  } else {
    l.selAnchor = 0;
    l.selEnd = l.itemCount();
  }
  l.MoveCaret(+100, false);
  RedrawNow();
}

void LineEditor::Select(int anchor, int end) {
  MessageLine& l = *line_;
  anchor = std::clamp(anchor, 0, l.itemCount());
  end = std::clamp(end, 0, l.itemCount());
  l.ClearSelection();
  l.MoveCaret(end - l.CaretIndex(), false);
  if (anchor != end) {
    l.selAnchor = anchor;
    l.selEnd = l.CaretIndex();
  }
  RedrawNow();
}

Rect LineEditor::CharacterRect(int i) const {
  const MessageLine& l = *line_;
  if (i < l.firstVisible || i >= l.itemCount()) return {};
  const int left = textRect_.left + l.item(i).x - ColumnOf(l.firstVisible);
  const int right = std::min(left + l.item(i).width, textRect_.right);
  const int bottom = std::min(textRect_.top + l.height(), textRect_.bottom);
  if (right <= left) return {};
  return {left * zoomX(), textRect_.top * zoomY(), right * zoomX(), bottom * zoomY()};
}

int LineEditor::CharacterAt(int x) const {
  for (int i = line_->firstVisible; i < line_->itemCount(); ++i) {
    const Rect r = CharacterRect(i);
    if (r.Empty()) break;
    if (x >= r.left && x < r.right) return i;
  }
  return -1;
}

void LineEditor::Undo() { line_->undo.Undo(*line_); }

void LineEditor::Redo() { line_->undo.Redo(*line_); }

void LineEditor::ImportClipboardRecords(std::span<const uint8_t> bytes) {
  const std::vector<CharColumns> records = ParseRecords(bytes);
  // Records from outside: the import stops at the first one no line could hold.
  const auto bad = std::find_if_not(records.begin(), records.end(), SensibleRecord);
  line_->ImportRecords(std::span<const CharColumns>(records.data(), static_cast<size_t>(bad - records.begin())));
}

void LineEditor::Paste(int mode) {
  MessageLine& l = *line_;
  PushUndo();
  if (!clipboard_) return;
  if (mode == 1 && clipboard_->HasRecords()) {
    if (const auto bytes = clipboard_->Records()) ImportClipboardRecords(*bytes);
    return;
  }
  if (!clipboard_->HasText()) return;
  const auto text = clipboard_->Text();
  if (!text) return;
  if (l.selAnchor > l.selEnd) std::swap(l.selAnchor, l.selEnd);
  bool changed = false;
  if (l.HasSelection()) {
    l.DeleteRange(l.selAnchor, l.selEnd, false);
    changed = true;
  }
  for (char16_t unit : *text) {
    if (unit == 0 || !l.RenderAndInsert(static_cast<uint16_t>(unit), false)) break;
    l.MoveCaret(+1, false);
    changed = true;
  }
  l.ClearSelection();
  if (changed) {
    RedrawNow();
    NotifyChange();
  }
  PlaceCaret();
}

// ---------------------------------------------------------------------------------------
// Painting

void LineEditor::Paint(platform::RgbImage& out, bool enabled, Color buttonFace, Color grayText) const {
  namespace c = line_colors;
  const MessageLine& l = *line_;
  const int zx = std::max(zoomX(), 1);
  const int zy = std::max(zoomY(), 1);
  if (out.width() != clientWidth_ || out.height() != clientHeight_)
    out = platform::RgbImage(clientWidth_, clientHeight_, buttonFace);
  else
    out.Fill(buttonFace);  // what erasing leaves beyond the last whole dot

  auto dots = [&](const Rect& r, Color colour) {
    if (!r.Empty()) out.FillRect({r.left * zx, r.top * zy, r.right * zx, r.bottom * zy}, colour);
  };

  const Color background = enabled ? c::kBackground : buttonFace;
  const Color frame = enabled ? c::kFrame : grayText;
  const Color textArea = enabled ? c::kTextArea : buttonFace;

  const Rect area{0, 0, clientWidth_ / zx, clientHeight_ / zy};
  dots(area, frame);
  const Rect inner{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
  dots(inner, background);
  if (l.itemCount() == 0 || l.maxWidth() == 0) return;

  const Rect& t = textRect_;
  const int viewStart = ColumnOf(l.firstVisible);
  const int visibleWidth = std::min(t.Width(), l.LineEnd() - viewStart);
  const int visibleHeight = std::min(t.Height(), l.height());

  if (enabled) {
    const int bar = l.barWidth;
    int x = t.left;
    for (int i = l.firstVisible; i <= l.itemCount(); ++i) {
      int end;
      Color colour;
      if (i < l.itemCount()) {
        end = x + l.item(i).width;
        colour = i % 2 == 0 ? c::kBarEven : c::kBarOdd;
      } else {
        end = t.right;
        colour = c::kBarRest;
      }
      const bool cut = end > t.right;
      if (cut) end = t.right;
      dots({x, inner.top, end, inner.top + bar}, colour);
      dots({x, inner.bottom - bar, end, inner.bottom}, colour);
      if (cut) break;
      x = end;
    }
    dots({inner.left, inner.top, t.left, inner.bottom}, c::kBarRest);
    dots({t.right, inner.top, inner.right, inner.bottom}, c::kBarRest);
  }

  dots(t, textArea);

  int selFrom = 0, selTo = 0;  // selected strip columns
  if (l.HasSelection()) {
    const int lo = std::clamp(std::min(l.selAnchor, l.selEnd), 0, l.itemCount());
    const int hi = std::clamp(std::max(l.selAnchor, l.selEnd), 0, l.itemCount());
    selFrom = ColumnOf(lo);
    selTo = ColumnOf(hi);
  }
  const platform::Bitmap1& strip = l.strip();
  for (int cx = 0; cx < visibleWidth; ++cx) {
    const int col = viewStart + cx;
    const bool inverted = col >= selFrom && col < selTo;
    for (int cy = 0; cy < visibleHeight; ++cy) {
      const bool lit = strip.Lit(col, cy) != inverted;
      dots({t.left + cx, t.top + cy, t.left + cx + 1, t.top + cy + 1}, lit ? platform::kInk : platform::kPaper);
    }
  }
}

}  // namespace kirrup
