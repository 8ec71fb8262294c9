// SPDX-License-Identifier: GPL-2.0-or-later
// The symbol picker from the keyboard: a cell that the arrow keys, Page Up/Down, Home
// and End move, scrolled into view as it goes, and framed while the picker has the focus.
#include <algorithm>

#include "fonts/key_grid.h"

namespace kirrup {

int KeyGrid::focusCell() const { return std::clamp(focus_, 0, std::max(count_ - 1, 0)); }

bool KeyGrid::SetFocusCell(int index) {
  if (count_ == 0) return false;
  const int old = focusCell();
  const int oldFirst = firstRow_;
  focus_ = std::clamp(index, 0, count_ - 1);
  const int row = focus_ / kKeyColumns;
  const int page = std::max(visibleRows_, 1);
  if (row < firstRow_) firstRow_ = row;
  if (row >= firstRow_ + page) firstRow_ = row - page + 1;
  scrollBar_.position = firstRow_;
  if (firstRow_ != oldFirst) drawnHot_ = -1;
  return focus_ != old || firstRow_ != oldFirst;
}

bool KeyGrid::MoveFocus(KeyMove move) {
  if (count_ == 0) return false;
  const int at = focusCell();
  const int rowStart = at - at % kKeyColumns;
  const int page = kKeyColumns * std::max(visibleRows_, 1);
  int to = at;
  switch (move) {
    case KeyMove::Left: to = at - 1; break;
    case KeyMove::Right: to = at + 1; break;
    case KeyMove::Up: to = at >= kKeyColumns ? at - kKeyColumns : at; break;
    case KeyMove::Down: to = at + kKeyColumns < count_ ? at + kKeyColumns : at; break;
    case KeyMove::PageUp: to = at - page >= 0 ? at - page : at % kKeyColumns; break;
    case KeyMove::PageDown: to = std::min(at + page, count_ - 1); break;
    case KeyMove::RowStart: to = rowStart; break;
    case KeyMove::RowEnd: to = std::min(rowStart + kKeyColumns - 1, count_ - 1); break;
    case KeyMove::First: to = 0; break;
    case KeyMove::Last: to = count_ - 1; break;
  }
  return SetFocusCell(to);
}

std::optional<CharColumns> KeyGrid::FocusGlyph() const {
  if (count_ == 0) return std::nullopt;
  return glyphs_[static_cast<size_t>(focusCell())];
}

void KeyGrid::PaintFocus(platform::RgbImage& target) const {
  if (count_ == 0) return;
  const int row = focusCell() / kKeyColumns - firstRow_;
  if (row < 0 || row >= visibleRows_) return;
  const platform::Rect c = CellRect(focusCell() % kKeyColumns, row);
  // Two pixels wide, one on the cell's edge and one in the gap around it.
  for (int k = 0; k < 2; ++k) {
    const int l = c.left - 1 + k, t = c.top - 1 + k, r = c.right + 1 - k, b = c.bottom + 1 - k;
    target.FillRect({l, t, r, t + 1}, kKeyFocusFrame);
    target.FillRect({l, b - 1, r, b}, kKeyFocusFrame);
    target.FillRect({l, t, l + 1, b}, kKeyFocusFrame);
    target.FillRect({r - 1, t, r, b}, kKeyFocusFrame);
  }
}

}  // namespace kirrup
