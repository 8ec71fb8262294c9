// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/floating_selection.h"

#include <algorithm>
#include <array>

#include "editor/board_editor.h"
#include "editor/board_transforms.h"
#include "editor/pixel_board.h"

namespace kirrup {

using platform::Bitmap1;
using platform::RgbImage;

namespace {

// The handles in the order they are tested, with their cursors.
constexpr std::array<BoardCursor, 8> kHandleCursors = {
    BoardCursor::SizeNWSE, BoardCursor::SizeNESW, BoardCursor::SizeNWSE, BoardCursor::SizeNESW,
    BoardCursor::SizeNS,   BoardCursor::SizeWE,   BoardCursor::SizeNS,   BoardCursor::SizeWE,
};

std::array<Point, 8> HandleCentres(const InclusiveRect& r) {
  const int mx = (r.left + r.right + 1) / 2, my = (r.top + r.bottom + 1) / 2;
  return {{{r.left, r.top},
           {r.left, r.bottom + 1},
           {r.right + 1, r.bottom + 1},
           {r.right + 1, r.top},
           {mx, r.top},
           {r.left, my},
           {mx, r.bottom + 1},
           {r.right + 1, my}}};
}

}  // namespace

FloatingSelection::FloatingSelection(BoardEditor& board)
    : board_(board), underlay_(kBoardImageWidth, kBoardImageHeight) {}

bool FloatingSelection::exists() const { return board_.selWidth_ != 0 && board_.selHeight_ != 0; }

bool FloatingSelection::busy() const { return resizing_ || board_.dragging_; }

InclusiveRect FloatingSelection::BandCells() const {
  return board_.frame_.geometry().ViewRectToCells(board_.rubberRect_);
}

// ---------------------------------------------------------------------------------------
// Painting

void FloatingSelection::PaintOverlay(RgbImage& surface) const {
  const BoardGeometry& geo = board_.frame_.geometry();
  if (!geo.Present()) return;
  if (board_.dragging_ && !moving_) {
    const InclusiveRect band = BandCells();
    if (band.left != band.right || band.top != band.bottom) PaintSelectionFrame(geo, band, surface);
  } else if (exists()) {
    PaintSelectionFrame(geo, board_.selRect_, surface);
  }
  if (resizing_) PaintResizeFrame(geo, resizeRect_, surface);
}

void FloatingSelection::RepaintAround(std::initializer_list<InclusiveRect> areas) {
  for (const InclusiveRect& a : areas) {
    // A frame reaches at most three pixels past its cells.
    if (a.right >= a.left && a.bottom >= a.top) board_.ClearAround(a.Normalized());
  }
  board_.PaintOverlay();
  if (board_.window_) board_.window_->CanvasChanged();
}

// ---------------------------------------------------------------------------------------
// Laying and recomposing

void FloatingSelection::Lay() {
  Bitmap1& image = board_.frame_.image();
  const BoardGeometry& geo = board_.frame_.geometry();
  const int left = board_.selRect_.left, top = board_.selRect_.top;
  // Only the board's cells: content pushed past its edge must not reach the line's
  // columns beyond its end.
  const int x0 = std::max(0, -left), y0 = std::max(0, -top);
  const int x1 = std::min(board_.selWidth_, geo.width() - left), y1 = std::min(board_.selHeight_, geo.height() - top);
  if (x1 <= x0 || y1 <= y0) return;
  if (board_.frame_.settings().pasteMode != kPasteTransparent) {
    image.CopyFrom(floatBuffer_, x0, y0, x1 - x0, y1 - y0, left + x0, top + y0);
    return;
  }
  const bool backLit = board_.frame_.settings().backColor == platform::kInk;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const bool lit = floatBuffer_.Lit(x, y);
      if (lit != backLit) image.Set(left + x, top + y, lit);
    }
}

void FloatingSelection::Recompose() {
  if (!exists()) return;
  const BoardGeometry& geo = board_.frame_.geometry();
  board_.frame_.image().CopyFrom(underlay_, 0, 0, geo.width(), geo.height(), 0, 0);
  Lay();
  board_.PaintAll();
  board_.frame_.NotifyBoardChanged();
}

void FloatingSelection::PasteModeChanged() { Recompose(); }

// ---------------------------------------------------------------------------------------
// Mouse

void FloatingSelection::Hover(Point view) {
  handleIndex_ = -1;
  overSelection_ = false;
  const BoardGeometry& geo = board_.frame_.geometry();
  if (exists()) {
    const InclusiveRect r = geo.CellRectToView(board_.selRect_);
    if (PointInRectInclusive(r, view)) {
      overSelection_ = true;
      board_.SetCursor(BoardCursor::Move);
      return;
    }
    const std::array<Point, 8> centres = HandleCentres(r);
    for (int i = 0; i < 8; ++i) {
      const Point c = centres[static_cast<size_t>(i)];
      if (PointInRectInclusive({c.x - 2, c.y - 2, c.x + 2, c.y + 2}, view)) {
        handleIndex_ = i;
        board_.SetCursor(kHandleCursors[static_cast<size_t>(i)]);
        return;
      }
    }
  }
  board_.SetCursor(board_.OnBoard(view) ? BoardCursor::Cross : BoardCursor::Arrow);
}

void FloatingSelection::Press(MouseButton button, Point view) {
  if (busy()) return;
  // The state of the pointer where it is pressed (a paste by key may have put the
  // selection under a pointer that has not moved since).
  Hover(view);
  if (handleIndex_ != -1) {
    if (button == MouseButton::Right) return;
    resizing_ = true;
    resizeRect_ = board_.selRect_;
    RepaintAround({resizeRect_});
    if (board_.window_) board_.window_->CaptureMouse(true);
    return;
  }
  if (exists() && !overSelection_) Drop();
  if (overSelection_) {
    board_.dragging_ = true;
    board_.dragButton_ = button;
    moving_ = true;
    if (board_.window_) board_.window_->CaptureMouse(true);
    return;
  }
  if (!board_.OnBoard(view) || button == MouseButton::Right) return;
  undoTaken_ = false;
  board_.dragging_ = true;
  board_.dragButton_ = button;
  board_.rubberRect_ = {view.x, view.y, view.x, view.y};
  if (board_.window_) board_.window_->CaptureMouse(true);
}

void FloatingSelection::Move(Point view) {
  if (resizing_) {
    ResizeMove(view);
  } else if (board_.dragging_ && moving_) {
    MoveStep(view);
  } else if (board_.dragging_) {
    const InclusiveRect old = BandCells();
    board_.rubberRect_.right = view.x;
    board_.rubberRect_.bottom = view.y;
    RepaintAround({old, BandCells()});
  } else {
    Hover(view);
  }
}

void FloatingSelection::MoveStep(Point view) {
  if (!undoTaken_) {
    board_.PushUndo();
    undoTaken_ = true;
  }
  if (view == board_.lastPoint_) return;
  const BoardGeometry& geo = board_.frame_.geometry();
  const InclusiveRect& b = geo.boardRect();
  const int c = geo.cellSize;
  const int dx = view.x - board_.lastPoint_.x, dy = view.y - board_.lastPoint_.y;
  InclusiveRect& v = selView_;
  v = {v.left + dx, v.top + dy, v.right + dx, v.bottom + dy};
  const int w = v.right - v.left, h = v.bottom - v.top;
  // Never more than one cell off the board, so it can always be caught again.
  if (v.left > b.right) {
    v.left = b.right + c;
    v.right = v.left + w;
  }
  if (v.right < b.left) {
    v.right = b.left - c;
    v.left = v.right - w;
  }
  if (v.top > b.bottom) {
    v.top = b.bottom + c;
    v.bottom = v.top + h;
  }
  if (v.bottom < b.top) {
    v.bottom = b.top - c;
    v.top = v.bottom - h;
  }
  const InclusiveRect old = board_.selRect_;
  const InclusiveRect cells = geo.ViewRectToCells(v);
  board_.selRect_ = {cells.left, cells.top, cells.left + board_.selWidth_ - 1, cells.top + board_.selHeight_ - 1};
  board_.lastPoint_ = view;
  board_.frame_.image().CopyFrom(underlay_, 0, 0, geo.width(), geo.height(), 0, 0);
  Lay();
  RepaintAround({old, board_.selRect_});
  if (old != board_.selRect_) board_.frame_.NotifyBoardChanged(old);
  board_.frame_.NotifyBoardChanged(board_.selRect_);
}

void FloatingSelection::ResizeMove(Point view) {
  InclusiveRect r = selView_;
  switch (handleIndex_) {
    case 0: r.left = view.x, r.top = view.y; break;
    case 1: r.left = view.x, r.bottom = view.y; break;
    case 2: r.right = view.x, r.bottom = view.y; break;
    case 3: r.right = view.x, r.top = view.y; break;
    case 4: r.top = view.y; break;
    case 5: r.left = view.x; break;
    case 6: r.bottom = view.y; break;
    default: r.right = view.x; break;
  }
  const InclusiveRect old = resizeRect_;
  resizeRect_ = board_.frame_.geometry().ViewRectToCells(r);
  if (resizeRect_ != old) RepaintAround({old, resizeRect_});
}

void FloatingSelection::ResizeRelease() {
  const int w0 = board_.selWidth_, h0 = board_.selHeight_;
  if (board_.window_) board_.window_->CaptureMouse(false);
  resizing_ = false;
  const BoardGeometry& geo = board_.frame_.geometry();
  board_.selRect_ = resizeRect_;
  selView_ = geo.CellRectToView(board_.selRect_);
  board_.selWidth_ = board_.selRect_.right - board_.selRect_.left + 1;
  board_.selHeight_ = board_.selRect_.bottom - board_.selRect_.top + 1;
  if (!undoTaken_) {
    board_.PushUndo();
    undoTaken_ = true;
  }
  Scale(floatBuffer_, w0, h0, board_.selWidth_, board_.selHeight_);
  Recompose();
  if (board_.selWidth_ <= 1 && board_.selHeight_ <= 1) Drop();
}

void FloatingSelection::Release(MouseButton button, Point view) {
  if (resizing_) {
    if (button == MouseButton::Left) ResizeRelease();
    return;
  }
  if (!board_.dragging_ || button != board_.dragButton_) return;
  if (board_.window_) board_.window_->CaptureMouse(false);
  if (moving_) {
    board_.dragging_ = false;
    moving_ = false;
    overSelection_ = false;
    return;
  }
  FinishBand(view);
}

void FloatingSelection::FinishBand(Point view) {
  const BoardGeometry& geo = board_.frame_.geometry();
  const InclusiveRect band = BandCells();
  board_.rubberRect_.right = view.x;
  board_.rubberRect_.bottom = view.y;
  board_.dragging_ = false;
  overSelection_ = false;
  InclusiveRect s = geo.ClampToBoard(BandCells());
  board_.selRect_ = s;
  board_.selWidth_ = s.right - s.left + 1;
  board_.selHeight_ = s.bottom - s.top + 1;
  if ((board_.selWidth_ <= 1 && board_.selHeight_ <= 1) || board_.selWidth_ <= 0 || board_.selHeight_ <= 0) {
    // A single cell is not a selection.
    board_.selWidth_ = board_.selHeight_ = 0;
    board_.selRect_ = {};
    RepaintAround({band, s});
    return;
  }
  selView_ = geo.CellRectToView(s);
  const Bitmap1& image = board_.frame_.image();
  underlay_.CopyFrom(image, 0, 0, geo.width(), geo.height(), 0, 0);
  floatBuffer_.CopyFrom(image, s.left, s.top, board_.selWidth_, board_.selHeight_, 0, 0);
  underlay_.FillRect({s.left, s.top, s.right + 1, s.bottom + 1}, board_.frame_.settings().backColor == platform::kInk);
  RepaintAround({band, s});
}

// ---------------------------------------------------------------------------------------
// Commands

void FloatingSelection::Drop() {
  const InclusiveRect old = board_.selRect_;
  const bool had = exists();
  board_.selRect_ = {};
  board_.selWidth_ = board_.selHeight_ = 0;
  handleIndex_ = -1;
  overSelection_ = false;
  if (had) RepaintAround({old});
}

Bitmap1 FloatingSelection::Content() const {
  if (!exists()) return {};
  Bitmap1 content(board_.selWidth_, board_.selHeight_);
  content.CopyFrom(floatBuffer_, 0, 0, board_.selWidth_, board_.selHeight_, 0, 0);
  return content;
}

void FloatingSelection::Delete() {
  if (!exists()) return;
  if (!undoTaken_) {
    board_.PushUndo();
    undoTaken_ = true;
  }
  Drop();
  const BoardGeometry& geo = board_.frame_.geometry();
  board_.frame_.image().CopyFrom(underlay_, 0, 0, geo.width(), geo.height(), 0, 0);
  board_.PaintAll();
  board_.frame_.NotifyBoardChanged();
}

bool FloatingSelection::Paste(const RgbImage& picture) {
  const BoardGeometry& geo = board_.frame_.geometry();
  const int w = std::min(picture.width(), kPasteMaxWidth);
  const int h = std::min(picture.height(), kPasteMaxHeight);
  if (!geo.Present() || w <= 0 || h <= 0) return false;
  board_.PushUndo();
  undoTaken_ = true;
  moving_ = false;
  overSelection_ = false;
  handleIndex_ = -1;
  const Point scroll = board_.window_ ? board_.window_->ScrollPosition() : Point{};
  const int column = std::clamp((scroll.x - geo.boardRect().left) / geo.cellSize, 0, geo.width());
  const int row = std::clamp((scroll.y - geo.boardRect().top) / geo.cellSize, 0, geo.height());
  board_.selWidth_ = w;
  board_.selHeight_ = h;
  board_.selRect_ = {column, row, column + w - 1, row + h - 1};
  selView_ = geo.CellRectToView(board_.selRect_);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) floatBuffer_.Set(x, y, picture.Pixel(x, y) != platform::kPaper);
  // Nothing lies under a pasted picture: deleting it gives the board back as it was.
  underlay_.CopyFrom(board_.frame_.image(), 0, 0, geo.width(), geo.height(), 0, 0);
  Lay();
  board_.PaintAll();
  board_.frame_.NotifyBoardChanged();
  return true;
}

void FloatingSelection::SelectAll() {
  const BoardGeometry& geo = board_.frame_.geometry();
  if (exists()) Drop();
  if (!geo.Present()) return;
  moving_ = false;
  overSelection_ = false;
  const int w = geo.width(), h = geo.height();
  board_.selRect_ = {0, 0, w - 1, h - 1};
  board_.selWidth_ = w;
  board_.selHeight_ = h;
  selView_ = geo.CellRectToView(board_.selRect_);
  const Bitmap1& image = board_.frame_.image();
  underlay_.CopyFrom(image, 0, 0, w, h, 0, 0);
  floatBuffer_.CopyFrom(image, 0, 0, w, h, 0, 0);
  underlay_.FillRect({0, 0, w, h}, board_.frame_.settings().backColor == platform::kInk);
  RepaintAround({board_.selRect_});
}

void FloatingSelection::Transform(int command) {
  if (!exists()) return;
  if (!undoTaken_) {
    board_.PushUndo();
    undoTaken_ = true;
  }
  const int w = board_.selWidth_, h = board_.selHeight_;
  switch (command) {
    case kCmdRotateLeft: RotateLeft(floatBuffer_, w, h); break;
    case kCmdRotateRight: RotateRight(floatBuffer_, w, h); break;
    case kCmdRotate180: Rotate180(floatBuffer_, w, h); break;
    case kCmdMirrorHorizontally: MirrorHorizontally(floatBuffer_, w, h); break;
    case kCmdMirrorVertically: MirrorVertically(floatBuffer_, w, h); break;
    case kCmdInvert: Invert(floatBuffer_, w, h); break;
    case kCmdHollow: Hollow(floatBuffer_, w, h); break;
    default: return;
  }
  if (command == kCmdRotateLeft || command == kCmdRotateRight) {
    std::swap(board_.selWidth_, board_.selHeight_);
    InclusiveRect& s = board_.selRect_;
    s.right = s.left + board_.selWidth_ - 1;
    s.bottom = s.top + board_.selHeight_ - 1;
    selView_ = board_.frame_.geometry().CellRectToView(s);
  }
  Recompose();
}

}  // namespace kirrup
