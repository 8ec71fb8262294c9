// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/key_grid.h"

#include <algorithm>

#include "lines/led_type.h"

namespace kirrup {

using platform::Color;
using platform::Rect;
using platform::RgbImage;

namespace {

constexpr int kPitchX = kKeyCellWidth + kKeyCellGap;
constexpr int kPitchY = kKeyCellHeight + kKeyCellGap;

// A raised button face: a light fill, a darker frame with cut corners and a shade at the
// bottom; the hot face is tinted in the hot ink's hue.
RgbImage DrawCellPicture(bool hot) {
  const Color face = hot ? platform::Rgb(0xFD, 0xEE, 0xFD) : platform::Rgb(0xF6, 0xF8, 0xFB);
  const Color frame = hot ? platform::Rgb(0xD9, 0x6A, 0xD9) : platform::Rgb(0xC8, 0xD0, 0xDC);
  const Color shade = hot ? platform::Rgb(0xF3, 0xD2, 0xF3) : platform::Rgb(0xE6, 0xEA, 0xF0);
  RgbImage p(kKeyCellWidth, kKeyCellHeight, kKeyBackground);
  p.FillRect({1, 1, kKeyCellWidth - 1, kKeyCellHeight - 1}, face);
  p.FillRect({1, kKeyCellHeight - 4, kKeyCellWidth - 1, kKeyCellHeight - 1}, shade);
  for (int x = 1; x < kKeyCellWidth - 1; ++x) {
    p.SetPixel(x, 0, frame);
    p.SetPixel(x, kKeyCellHeight - 1, frame);
  }
  for (int y = 1; y < kKeyCellHeight - 1; ++y) {
    p.SetPixel(0, y, frame);
    p.SetPixel(kKeyCellWidth - 1, y, frame);
  }
  return p;
}

// The column of a glyph of `from` columns that lands in column d of `to` (to < from):
// source columns s with s * to / from == d merge into d.
int Squeezed(int s, int from, int to) { return from > to ? s * to / from : s; }

}  // namespace

const RgbImage& KeyCellPicture(bool hot) {
  static const RgbImage normal = DrawCellPicture(false);
  static const RgbImage highlighted = DrawCellPicture(true);
  return hot ? highlighted : normal;
}

void DrawGlyphInCell(const CharColumns& glyph, int ledType, Color ink, RgbImage& target, const Rect& cell) {
  const int w = std::clamp(glyph.width, 0, static_cast<int>(CharColumns::kMaxBytes) * 8);
  const int h = std::clamp(glyph.height, 0, 32);
  if (w == 0 || h == 0 || cell.Empty()) return;
  const int scale = ledType == kLed7 && 2 * w <= cell.Width() && 2 * h <= cell.Height() ? 2 : 1;
  const int shownW = std::min(w * scale, cell.Width());
  const int shownH = std::min(h * scale, cell.Height());
  const int left = cell.left + (cell.Width() - shownW) / 2;
  const int top = cell.top + (cell.Height() - shownH) / 2;
  for (int col = 0; col < w; ++col) {
    const int x = Squeezed(w - 1 - col, w * scale, cell.Width());  // stored order: rightmost first
    for (int k = 0; k < h; ++k) {
      if (!glyph.Dot(col, k)) continue;
      const int y = Squeezed(h - 1 - k, h * scale, cell.Height());  // bit 0 is the bottom row
      if (scale == 1) {
        target.SetPixel(left + x, top + y, ink);
      } else {
        target.FillRect({left + 2 * x, top + 2 * y, left + 2 * x + 2, top + 2 * y + 2}, ink);
      }
    }
  }
}

void KeyGrid::Fill(GlyphSource& glyphs, int count, int ledType) {
  count = std::min(count, kMaxKeyGlyphs);
  count_ = 0;
  for (int b = 1; b <= count && count_ < kMaxKeyGlyphs; ++b) {
    CharColumns work;
    if (!glyphs.HasGlyph(ledType, static_cast<uint16_t>(b)) || !glyphs.RenderGlyph(ledType, static_cast<uint16_t>(b), work))
      continue;
    work.code = static_cast<uint16_t>(b);
    const size_t bytes = std::min<size_t>(work.byteCount, CharColumns::kMaxBytes);
    const auto first = work.columns.begin();
    if (b != ' ' && std::all_of(first, first + bytes, [](uint8_t v) { return v == 0; })) continue;
    const bool repeat = std::any_of(glyphs_.begin(), glyphs_.begin() + count_, [&](const CharColumns& g) {
      return g.byteCount == work.byteCount && g.width == work.width && g.height == work.height &&
             std::equal(first, first + bytes, g.columns.begin());
    });
    if (repeat) continue;
    glyphs_[static_cast<size_t>(count_++)] = work;
  }
  ledType_ = ledType;
  firstRow_ = 0;
  Layout(clientWidth_, clientHeight_);
  hot_ = drawnHot_ = -1;
}

void KeyGrid::Layout(int clientWidth, int clientHeight) {
  clientWidth_ = std::max(0, clientWidth);
  clientHeight_ = std::max(0, clientHeight);
  const int barLeft = std::max(0, clientWidth_ - kKeyScrollBarWidth);
  scrollBar_.rect = {barLeft, 0, clientWidth_, clientHeight_};
  cellArea_ = {kKeyInset, kKeyInset, barLeft - kKeyInset, clientHeight_ - kKeyInset};
  rows_ = (count_ + kKeyColumns - 1) / kKeyColumns;
  visibleRows_ = clientHeight_ / kPitchY;
  firstRow_ = 0;
  scrollBar_.maximum = std::max(0, rows_ - 1);
  scrollBar_.page = visibleRows_;
  scrollBar_.position = firstRow_;
  scrollBar_.enabled = rows_ > visibleRows_;
}

Rect KeyGrid::CellRect(int column, int visibleRow) const {
  const int left = cellArea_.left + column * kPitchX;
  const int top = cellArea_.top + visibleRow * kPitchY;
  return {left, top, left + kKeyCellWidth, top + kKeyCellHeight};
}

int KeyGrid::HitTest(int x, int y) const {
  x -= cellArea_.left;
  y -= cellArea_.top;
  if (x < 0 || y < 0) return -1;
  const int column = x / kPitchX;
  const int row = y / kPitchY;
  if (x % kPitchX >= kKeyCellWidth || y % kPitchY >= kKeyCellHeight) return -1;
  if (column >= kKeyColumns || row >= visibleRows_) return -1;
  const int index = column + kKeyColumns * (firstRow_ + row);
  return index < count_ ? index : -1;
}

bool KeyGrid::Scroll(KeyScroll code, int thumb) {
  int first = firstRow_;
  switch (code) {
    case KeyScroll::LineUp:
      if (first > 0) --first;
      break;
    case KeyScroll::LineDown:
      if (first + visibleRows_ < rows_) ++first;
      break;
    case KeyScroll::PageUp:
      if (first > 0) first = std::max(first - visibleRows_, 0);
      break;
    case KeyScroll::PageDown:
      if (first + visibleRows_ < rows_) first = std::max(std::min(first + visibleRows_, rows_ - visibleRows_), 0);
      break;
    case KeyScroll::ThumbTrack:
      first = std::clamp(thumb, 0, std::max(0, rows_ - 1));
      break;
    case KeyScroll::Other:
      break;
  }
  if (first == firstRow_) return false;
  firstRow_ = first;
  scrollBar_.position = first;
  drawnHot_ = -1;  // the whole grid is drawn again in the normal state
  return true;
}

KeyGrid::MouseResult KeyGrid::MouseMove(int x, int y) {
  MouseResult r;
  const int cell = HitTest(x, y);
  if (cell < 0) {
    r.repaint = drawnHot_ >= 0;
    drawnHot_ = hot_ = -1;
  } else if (cell != hot_) {
    hot_ = drawnHot_ = cell;
    r.repaint = true;
  }
  tracked_ = true;
  return r;
}

KeyGrid::MouseResult KeyGrid::LeftDown(int x, int y) {
  MouseResult r;
  const int cell = HitTest(x, y);
  if (cell < 0) return r;
  r.repaint = drawnHot_ >= 0;
  drawnHot_ = -1;  // pressed: the cell shows its normal face
  hot_ = cell;
  return r;
}

KeyGrid::MouseResult KeyGrid::LeftUp(int x, int y) {
  MouseResult r;
  const int cell = HitTest(x, y);
  if (cell < 0) return r;
  r.repaint = drawnHot_ != cell;
  drawnHot_ = cell;
  if (cell == hot_) r.insert = glyphs_[static_cast<size_t>(cell)];
  hot_ = -1;
  return r;
}

KeyGrid::MouseResult KeyGrid::MouseLeave() {
  MouseResult r;
  tracked_ = false;
  r.repaint = drawnHot_ >= 0;
  drawnHot_ = hot_ = -1;
  return r;
}

void KeyGrid::PaintCell(RgbImage& target, int index, bool hot) const {
  const int visibleRow = index / kKeyColumns - firstRow_;
  const Rect cell = CellRect(index % kKeyColumns, visibleRow);
  target.CopyFrom(KeyCellPicture(hot), cell.left, cell.top);
  DrawGlyphInCell(glyphs_[static_cast<size_t>(index)], ledType_, hot ? kKeyHotInk : platform::kInk, target, cell);
}

void KeyGrid::Paint(RgbImage& target) const {
  target.Reset(clientWidth_, clientHeight_, kKeyBackground);
  target.FillRect(scrollBar_.rect, kKeyBackground);
  if (count_ == 0) return;
  for (int r = 0; r < visibleRows_ && firstRow_ + r < rows_; ++r) {
    for (int c = 0; c < kKeyColumns; ++c) {
      const int index = c + kKeyColumns * (firstRow_ + r);
      if (index < count_) {
        PaintCell(target, index, index == drawnHot_);
      } else {
        target.FillRect(CellRect(c, r), kKeyBackground);
      }
    }
  }
}

}  // namespace kirrup
