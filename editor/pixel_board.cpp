// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/pixel_board.h"

#include <algorithm>

#include "editor/draw_primitives.h"

namespace kirrup {

using platform::Bitmap1;
using platform::RgbImage;

void BoardHistory::Clear() {
  undoSlots_.fill(-1);
  redoSlots_.fill(-1);
  undoCount_ = redoCount_ = 0;
}

void BoardHistory::PushUndo(const Bitmap1& image, int width, int height) {
  redoCount_ = 0;
  int slot;
  if (undoCount_ < kSlots) {
    slot = 0;
    while (std::find(undoSlots_.begin(), undoSlots_.begin() + undoCount_, slot) != undoSlots_.begin() + undoCount_)
      ++slot;
    undoSlots_[static_cast<size_t>(undoCount_++)] = slot;
  } else {
    slot = undoSlots_[0];
    std::copy(undoSlots_.begin() + 1, undoSlots_.end(), undoSlots_.begin());
    undoSlots_[kSlots - 1] = slot;
  }
  BoardSnapshot& s = slots_[static_cast<size_t>(slot)];
  // Only the board is recorded; the hidden cells of a snapshot stay as they were.
  s.image.CopyFrom(image, 0, 0, width, height, 0, 0);
  s.width = width;
  s.height = height;
}

void PaintBoardCells(const BoardGeometry& geo, const Bitmap1& image, InclusiveRect cells, RgbImage& surface) {
  const InclusiveRect c = geo.ClampToBoard(cells);
  const int size = geo.cellSize;
  if (c.left <= c.right && c.top <= c.bottom) {
    const InclusiveRect v = geo.CellRectToView(c);
    for (int row = c.top; row <= c.bottom; ++row) {
      for (int col = c.left; col <= c.right; ++col) {
        const int x = v.left + (col - c.left) * size;
        const int y = v.top + (row - c.top) * size;
        surface.FillRect({x, y, x + size, y + size}, image.Pixel(col, row));
      }
    }
    // Grid lines on the first pixel column and row of every cell.
    for (int x = v.left; x <= v.right; x += size) DrawLine(surface, kGridColour, x, v.top, x, v.bottom + 1);
    for (int y = v.top; y <= v.bottom; y += size) DrawLine(surface, kGridColour, v.left, y, v.right + 1, y);
  }
  PaintBoardDecorations(geo, surface);
}

void PaintBoardDecorations(const BoardGeometry& geo, RgbImage& surface) {
  if (!geo.Present()) return;
  const InclusiveRect& b = geo.boardRect();
  for (int r = 0; r < geo.sectionsDown; ++r) {
    const int y = geo.sections[static_cast<size_t>(r * geo.sectionsAcross)].view.top;
    DrawLine(surface, kSectionColour, b.left, y, b.right + 1, y);
  }
  for (int k = 0; k < geo.sectionsAcross; ++k) {
    const int x = geo.sections[static_cast<size_t>(k)].view.left;
    DrawLine(surface, kSectionColour, x, b.top, x, b.bottom + 1);
  }
  FrameRect(surface, kSectionColour, b.left, b.top, b.right + 1, b.bottom + 1);
  const int l = b.left - 1, t = b.top - 1, r = b.right + 2, bo = b.bottom + 2;  // the outer frame
  FrameRect(surface, kSectionColour, l, t, r, bo);
  // The shadow: a white line beside the frame and a black one four pixels further out.
  DrawLine(surface, platform::kPaper, r + 1, t, r + 1, bo + 2);
  DrawLine(surface, platform::kPaper, l, bo + 1, r + 2, bo + 1);
  DrawLine(surface, platform::kInk, r + 5, t + 4, r + 5, bo + 6);
  DrawLine(surface, platform::kInk, l + 4, bo + 5, r + 6, bo + 5);
  const int cr = r + 5, cb = bo + 5;
  for (int k = 2; k <= 8; k += 2) DrawLine(surface, platform::kInk, cr - k, cb, cr, cb - k);
}

platform::Rect BoardPaintExtent(const BoardGeometry& geo) {
  const InclusiveRect& b = geo.boardRect();
  return {b.left - 1, b.top - 1, b.right + 9, b.bottom + 9};
}

}  // namespace kirrup
