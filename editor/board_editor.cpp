// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/board_editor.h"

#include <algorithm>

#include "editor/board_shapes.h"
#include "editor/draw_primitives.h"

namespace kirrup {

using platform::Color;

namespace {

bool IsShape(int tool) {
  return tool == kToolLine || tool == kToolRectangle || tool == kToolFilledRectangle || tool == kToolEllipse ||
         tool == kToolFilledEllipse;
}

InclusiveRect Bounds(const std::vector<Point>& cells) {
  if (cells.empty()) return {};
  InclusiveRect r{cells[0].x, cells[0].y, cells[0].x, cells[0].y};
  for (const Point& p : cells) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

}  // namespace

BoardEditor::BoardEditor(BoardFrame& frame) : frame_(frame) {}

Point BoardEditor::ToView(Point client) const {
  const Point s = window_ ? window_->ScrollPosition() : Point{};
  return {client.x + s.x, client.y + s.y};
}

bool BoardEditor::OnBoard(Point view) const { return PointInRectInclusive(frame_.geometry().boardRect(), view); }

Color BoardEditor::ActionColour(MouseButton button) const {
  return button == MouseButton::Right ? frame_.settings().backColor : frame_.settings().drawColor;
}

void BoardEditor::SetCursor(BoardCursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  if (window_) window_->SetBoardCursor(c);
}

BoardCursor BoardEditor::ToolCursor() const {
  switch (frame_.settings().tool) {
    case kToolPoint:
      return BoardCursor::Point;
    case kToolFill:
      return BoardCursor::Fill;
    case kToolEraser:
      return BoardCursor::Eraser;
    default:
      return BoardCursor::Cross;
  }
}

void BoardEditor::SetToolCursor(Point view) { SetCursor(OnBoard(view) ? ToolCursor() : BoardCursor::Arrow); }

// ---------------------------------------------------------------------------------------
// Painting

void BoardEditor::UpdateScrollSizes() {
  const BoardGeometry& geo = frame_.geometry();
  const int w = geo.boardRect().right + 10;
  const int h = geo.boardRect().bottom + 10;
  canvas_ = platform::RgbImage(std::max(w, 1), std::max(h, 1));
  if (window_) window_->SetContentSize(w, h, geo.cellSize, geo.cellSize);
  PaintAll();
}

void BoardEditor::PaintAll() {
  const BoardGeometry& geo = frame_.geometry();
  canvas_.Fill(platform::kPaper);
  PaintBoardCells(geo, frame_.image(), {0, 0, geo.width() - 1, geo.height() - 1}, canvas_);
  PaintOverlay();
  if (window_) window_->CanvasChanged();
}

void BoardEditor::Repaint(const InclusiveRect& cells) {
  PaintBoardCells(frame_.geometry(), frame_.image(), cells, canvas_);
  PaintOverlay();
  if (window_) window_->CanvasChanged();
}

void BoardEditor::ClearAround(const InclusiveRect& cells) {
  const BoardGeometry& geo = frame_.geometry();
  const InclusiveRect grown{cells.left - 1, cells.top - 1, cells.right + 1, cells.bottom + 1};
  const InclusiveRect v = geo.CellRectToView(grown);
  canvas_.FillRect({v.left, v.top, v.right + 1, v.bottom + 1}, platform::kPaper);
  PaintBoardCells(geo, frame_.image(), grown, canvas_);
}

void BoardEditor::PaintOverlay() {
  const BoardGeometry& geo = frame_.geometry();
  if (!geo.Present()) return;
  if (frame_.settings().tool == kToolSelect) selection_.PaintOverlay(canvas_);
  if (frame_.settings().tool == kToolEraser && eraserShown_) {
    // On the grid lines around the square's cells.
    const InclusiveRect v = geo.CellRectToView(selRect_);
    FrameRect(canvas_, kEraserFrameColour, v.left, v.top, v.right + 1, v.bottom + 1);
  }
}

// ---------------------------------------------------------------------------------------
// History

void BoardEditor::PushUndo() {
  const BoardGeometry& geo = frame_.geometry();
  history_.PushUndo(frame_.image(), geo.width(), geo.height());
}

// ---------------------------------------------------------------------------------------
// Mouse

void BoardEditor::Press(MouseButton button, Point client) {
  // A second button during a drag is ignored; its release is ignored too.
  if (dragging_) return;
  const Point p = ToView(client);
  lastPoint_ = p;
  const int tool = frame_.settings().tool;
  if (tool == kToolSelect) {
    selection_.Press(button, p);
    return;
  }
  if (!OnBoard(p)) return;
  if (tool == kToolEraser) {
    SetCursor(BoardCursor::Eraser);
    EraserPress(p);
    dragButton_ = button;
    return;
  }
  if (tool == kToolSelect && button == MouseButton::Right) return;
  if (tool != kToolSelect) PushUndo();
  SetCursor(ToolCursor());
  if (tool == kToolFill) {
    const BoardGeometry& geo = frame_.geometry();
    FloodFill(frame_.image(), geo.width(), geo.height(), geo.ViewToCell(p), ActionColour(button) == platform::kInk);
    PaintAll();
    frame_.NotifyBoardChanged();
    return;
  }
  dragging_ = true;
  dragButton_ = button;
  rubberRect_ = {p.x, p.y, p.x, p.y};
  bandShown_ = false;
  if (window_) window_->CaptureMouse(true);
}

void BoardEditor::Move(bool /*leftDown*/, bool rightDown, Point client) {
  const Point p = ToView(client);
  const int tool = frame_.settings().tool;
  if (tool == kToolSelect) {
    selection_.Move(p);
    return;
  }
  if (!dragging_) {
    if (tool == kToolEraser)
      EraserHover(p);
    else
      SetToolCursor(p);
    return;
  }
  if (tool == kToolPoint) {
    const BoardGeometry& geo = frame_.geometry();
    const Color colour = rightDown ? frame_.settings().backColor : frame_.settings().drawColor;
    const std::vector<Point> cells = LineCells(geo.ViewToCell(lastPoint_), geo.ViewToCell(p));
    DrawCells(cells, colour);
    lastPoint_ = p;
    Repaint(Bounds(cells));
    frame_.NotifyBoardChanged();
  } else if (IsShape(tool)) {
    if (p.x == rubberRect_.right && p.y == rubberRect_.bottom && bandShown_) return;
    RemoveBand();
    rubberRect_.right = p.x;
    rubberRect_.bottom = p.y;
    ShowBand();
  } else if (tool == kToolEraser) {
    EraserDragMove(p);
  }
}

void BoardEditor::Release(MouseButton button, Point client) {
  if (frame_.settings().tool == kToolSelect) {
    selection_.Release(button, ToView(client));
    return;
  }
  if (!dragging_ || button != dragButton_) return;
  const Point p = ToView(client);
  const int tool = frame_.settings().tool;
  const Color colour = ActionColour(button);
  if (OnBoard(p)) SetCursor(ToolCursor());
  if (tool == kToolEraser) {
    // The cleared cells become the square's own, so the next hover keeps them cleared.
    floatBuffer_.CopyFrom(frame_.image(), selRect_.left, selRect_.top, selRect_.right - selRect_.left + 1,
                          selRect_.bottom - selRect_.top + 1, 0, 0);
    dragging_ = false;
    return;
  }
  rubberRect_.right = p.x;
  rubberRect_.bottom = p.y;
  if (window_) window_->CaptureMouse(false);
  RemoveBand();
  const BoardGeometry& geo = frame_.geometry();
  if (tool == kToolPoint) {
    const SectionHit hit = geo.HitSection(p);
    if (hit.section >= 0) {
      const Point c = geo.ViewToCell(p);
      frame_.image().SetPixel(c.x, c.y, colour);
      BoardArea area = geo.board;
      PaintCell(area, geo.cellSize, c.x, c.y, colour == platform::kInk, canvas_);
      if (window_) window_->CanvasChanged();
      frame_.NotifyBoardChanged(c.x, c.y, colour);
    }
  } else if (IsShape(tool)) {
    CommitShape(geo.ViewToCell({rubberRect_.left, rubberRect_.top}), geo.ViewToCell(p), colour);
  }
  dragging_ = false;
}

// ---------------------------------------------------------------------------------------
// Shapes and rubber bands

void BoardEditor::DrawCells(const std::vector<Point>& cells, Color colour) {
  platform::Bitmap1& image = frame_.image();
  for (const Point& c : cells) image.SetPixel(c.x, c.y, colour);
}

std::vector<Point> BoardEditor::BandCells(Point from, Point to) const {
  switch (frame_.settings().tool) {
    case kToolLine:
      return LineCells(from, to);
    case kToolRectangle:
    case kToolFilledRectangle:
      return RectangleCells(from, to, false);
    default:
      return EllipseCells(from, to, false);
  }
}

void BoardEditor::ShowBand() {
  const BoardGeometry& geo = frame_.geometry();
  bandCells_ = BandCells(geo.ViewToCell({rubberRect_.left, rubberRect_.top}),
                         geo.ViewToCell({rubberRect_.right, rubberRect_.bottom}));
  bandShown_ = true;
  InvertBand();
}

// The band shown is taken away by its own cells, wherever the pointer is now.
void BoardEditor::RemoveBand() {
  if (!bandShown_) return;
  bandShown_ = false;
  InvertBand();
  bandCells_.clear();
}

void BoardEditor::InvertBand() {
  // Inverting the same cells twice gives the image back unchanged.
  platform::Bitmap1& image = frame_.image();
  for (const Point& c : bandCells_) {
    if (image.Contains(c.x, c.y)) image.Set(c.x, c.y, !image.Lit(c.x, c.y));
  }
  InclusiveRect r = Bounds(bandCells_);
  if (frame_.settings().tool != kToolLine) {
    ++r.right;
    ++r.bottom;
  }
  Repaint(r);
}

void BoardEditor::CommitShape(Point from, Point to, Color colour) {
  const int tool = frame_.settings().tool;
  std::vector<Point> cells;
  if (tool == kToolLine)
    cells = LineCells(from, to);
  else if (tool == kToolRectangle || tool == kToolFilledRectangle)
    cells = RectangleCells(from, to, tool == kToolFilledRectangle);
  else
    cells = EllipseCells(from, to, tool == kToolFilledEllipse);
  DrawCells(cells, colour);
  Repaint(Bounds(cells));
  frame_.NotifyBoardChanged();
}

// ---------------------------------------------------------------------------------------
// Eraser

InclusiveRect BoardEditor::EraserSquare(Point view) const {
  const Point c = frame_.geometry().ViewToCell(view);
  const int l = c.x - eraserSize_ / 2, t = c.y - eraserSize_ / 2;
  return {l, t, l + eraserSize_ - 1, t + eraserSize_ - 1};
}

void BoardEditor::PlaceEraser(Point view, bool erase) {
  selRect_ = EraserSquare(view);
  const int size = eraserSize_;
  platform::Bitmap1& image = frame_.image();
  floatBuffer_.CopyFrom(image, selRect_.left, selRect_.top, size, size, 0, 0);
  image.FillRect({selRect_.left, selRect_.top, selRect_.right + 1, selRect_.bottom + 1},
                 frame_.settings().backColor == platform::kInk);
  eraserShown_ = true;
  lastPoint_ = view;
  Repaint(selRect_);
  if (erase) frame_.NotifyBoardChanged(selRect_);
}

void BoardEditor::RestoreEraserCells() {
  frame_.image().CopyFrom(floatBuffer_, 0, 0, eraserSize_, eraserSize_, selRect_.left, selRect_.top);
}

void BoardEditor::RemoveEraserFrame() {
  eraserShown_ = false;
  ClearAround(selRect_);
  PaintOverlay();
  if (window_) window_->CanvasChanged();
}

void BoardEditor::EraserHover(Point view) {
  if (!OnBoard(view)) {
    SetCursor(BoardCursor::Arrow);
    if (eraserShown_) {
      RestoreEraserCells();
      RemoveEraserFrame();
    }
    selRect_ = {};
    return;
  }
  SetCursor(BoardCursor::Eraser);
  if (eraserShown_ && view == lastPoint_) return;
  if (eraserShown_) {
    RestoreEraserCells();
    RemoveEraserFrame();
  }
  PlaceEraser(view, false);
}

void BoardEditor::EraserPress(Point view) {
  if (!eraserShown_) {
    EraserHover(view);
    return;
  }
  RestoreEraserCells();
  PushUndo();
  frame_.image().FillRect({selRect_.left, selRect_.top, selRect_.right + 1, selRect_.bottom + 1},
                          frame_.settings().backColor == platform::kInk);
  RemoveEraserFrame();
  frame_.NotifyBoardChanged(selRect_);
  PlaceEraser(view, true);
  dragging_ = true;
}

void BoardEditor::EraserDragMove(Point view) {
  if (!OnBoard(view)) {
    // Leaving the board mid-stroke keeps what was erased.
    SetCursor(BoardCursor::Arrow);
    if (eraserShown_) RemoveEraserFrame();
    return;
  }
  SetCursor(BoardCursor::Eraser);
  if (eraserShown_ && view == lastPoint_) return;
  if (eraserShown_) RemoveEraserFrame();
  PlaceEraser(view, true);
}

void BoardEditor::DropFloating() {
  if (frame_.settings().tool == kToolSelect) selection_.Drop();
  if (frame_.settings().tool == kToolEraser && eraserShown_) {
    RestoreEraserCells();
    RemoveEraserFrame();
  }
  eraserShown_ = false;
  selRect_ = {};
  selWidth_ = selHeight_ = 0;
}

}  // namespace kirrup
