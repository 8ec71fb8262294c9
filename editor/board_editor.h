// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// BoardEditor: what the board view does with the pointer. It changes the frame's image
// through the drawing tools, keeps the board's history, paints the board into a raster
// in view coordinates and reports every change to the frame. The window that shows it
// (CEditChrView) only forwards events and copies the raster to the screen.
#include <vector>

#include "editor/board_geometry.h"
#include "editor/floating_selection.h"
#include "editor/pixel_board.h"
#include "platform/raster.h"

namespace kirrup {

enum BoardTool : int {
  kToolPoint = 1,
  kToolLine = 3,
  kToolRectangle = 4,
  kToolFilledRectangle = 5,
  kToolEllipse = 6,
  kToolFilledEllipse = 7,
  kToolSelect = 8,
  kToolEraser = 9,
  kToolFill = 10,
};

inline constexpr int kPasteTransparent = 1;
inline constexpr int kPasteOpaque = 2;

// The user's drawing settings, kept by the frame and read by the board.
struct BoardSettings {
  int tool = kToolPoint;
  platform::Color drawColor = platform::kInk;
  platform::Color backColor = platform::kPaper;
  int pasteMode = kPasteOpaque;
};

// Cursors of the board: resources 240 (point), 231 (shapes, select), 245 (move),
// 239 (fill), 234 (eraser), and the arrow off the board.
enum class BoardCursor { Arrow, Point, Cross, Move, Fill, Eraser, SizeNWSE, SizeNESW, SizeNS, SizeWE };

// The frame side the board works for.
class BoardFrame {
 public:
  virtual ~BoardFrame() = default;
  virtual platform::Bitmap1& image() = 0;
  virtual BoardGeometry& geometry() = 0;
  virtual const BoardSettings& settings() const = 0;
  // The three forms of change report: whole board, a cell rectangle, one cell.
  virtual void NotifyBoardChanged() = 0;
  virtual void NotifyBoardChanged(const InclusiveRect& cells) = 0;
  virtual void NotifyBoardChanged(int x, int y, platform::Color colour) = 0;
  // New cell size (0: unchanged) and board size; false when the layout is refused.
  virtual bool ResizeBoard(int c, int width, int height) = 0;
  // Makes select the current tool, as its tool bar button does.
  virtual void ChooseSelectTool() = 0;
};

// The screen side: the window that shows the board.
class BoardWindow {
 public:
  virtual ~BoardWindow() = default;
  virtual void SetContentSize(int width, int height, int lineWidth, int lineHeight) = 0;
  virtual Point ScrollPosition() const = 0;
  virtual void SetBoardCursor(BoardCursor cursor) = 0;
  virtual void CaptureMouse(bool on) = 0;
  // The raster changed: show it again (and the rulers with it).
  virtual void CanvasChanged() = 0;
};

enum class MouseButton { Left, Right };

class BoardEditor {
 public:
  explicit BoardEditor(BoardFrame& frame);

  void SetWindow(BoardWindow* window) { window_ = window; }

  // Mouse input in the window's client coordinates.
  void Press(MouseButton button, Point client);
  void Move(bool leftDown, bool rightDown, Point client);
  void Release(MouseButton button, Point client);

  // Ends a floating selection, or removes the eraser preview; the selection rectangle is
  // then empty.
  void DropFloating();
  // Gives the window the size of the board in pixels with a line step of one cell.
  void UpdateScrollSizes();
  // Paints the whole board into the raster.
  void PaintAll();
  // Records the board as the newest undo step (the redo steps are lost).
  void PushUndo();
  // After the eraser button: the preview is forgotten without touching the image.
  void ForgetEraserPreview() { eraserShown_ = false; }
  void SetEraserSize(int size) { eraserSize_ = size == 4 ? 4 : 2; }

  // The keyboard's cell (board_keys.cpp): the arrow keys move it over the board; Space
  // sets its dot to the drawing colour, Shift+Space to the background colour, one undo
  // step each. Always on the board (0, 0 on an empty one).
  Point keyCell() const;
  // True when the cell moved.
  bool MoveKeyCell(int dx, int dy);
  // False when nothing can be set: an empty board, or a mouse button held.
  bool SetKeyCellDot(bool background);
  // The keyboard's cell in view coordinates; empty (-1s) on an empty board.
  InclusiveRect KeyCellView() const;

  // The board's picture in view coordinates (the drawing the window scrolls over).
  const platform::RgbImage& canvas() const { return canvas_; }
  BoardHistory& history() { return history_; }
  const BoardHistory& history() const { return history_; }
  BoardCursor cursor() const { return cursor_; }
  bool dragging() const { return dragging_; }
  int eraserSize() const { return eraserSize_; }
  bool eraserShown() const { return eraserShown_; }
  // The eraser's square while the eraser is the tool, the selection's cells otherwise.
  const InclusiveRect& selRect() const { return selRect_; }
  int selWidth() const { return selWidth_; }
  int selHeight() const { return selHeight_; }
  FloatingSelection& selection() { return selection_; }
  const FloatingSelection& selection() const { return selection_; }

 private:
  friend class FloatingSelection;
  friend class BoardCommands;

  Point ToView(Point client) const;
  bool OnBoard(Point view) const;
  platform::Color ActionColour(MouseButton button) const;
  void SetCursor(BoardCursor c);
  BoardCursor ToolCursor() const;
  void SetToolCursor(Point view);

  // Repaints the cells from the image (with the decorations) and shows the result.
  void Repaint(const InclusiveRect& cells);
  // Takes a frame around the cells away: it reaches past them, beyond the board too, so the
  // pixels of the cells grown by one are cleared before the cells are painted again. Shows
  // nothing yet.
  void ClearAround(const InclusiveRect& cells);
  void PaintOverlay();

  void DrawCells(const std::vector<Point>& cells, platform::Color colour);
  std::vector<Point> BandCells(Point from, Point to) const;
  // Inverts the band of the rubber rectangle, or takes the band shown away again.
  void ShowBand();
  void RemoveBand();
  void InvertBand();
  void CommitShape(Point from, Point to, platform::Color colour);

  InclusiveRect EraserSquare(Point view) const;
  // Saves the square's cells, clears them, repaints and frames the square. Only real
  // erasing (erase set) reaches the line: a preview is the board's alone, so a line
  // change while it shows cannot take the previewed cells into the line.
  void PlaceEraser(Point view, bool erase);
  void RestoreEraserCells();  // writes the saved cells back into the image
  void RemoveEraserFrame();
  void EraserHover(Point view);
  void EraserPress(Point view);
  void EraserDragMove(Point view);

  BoardFrame& frame_;
  BoardWindow* window_ = nullptr;
  platform::RgbImage canvas_;
  BoardHistory history_;
  BoardCursor cursor_ = BoardCursor::Arrow;

  bool dragging_ = false;
  MouseButton dragButton_ = MouseButton::Left;
  Point lastPoint_{};
  InclusiveRect rubberRect_{};
  bool bandShown_ = false;
  std::vector<Point> bandCells_;  // the inverted cells of the band on the board

  int eraserSize_ = 2;
  bool eraserShown_ = false;
  InclusiveRect selRect_{};  // shared by the eraser square and the selection
  int selWidth_ = 0;
  int selHeight_ = 0;
  // The cells under the eraser before it cleared them (also a floating selection's content).
  platform::Bitmap1 floatBuffer_{2 * kBoardImageWidth, 2 * kBoardImageHeight};
  FloatingSelection selection_{*this};
  Point keyCell_{};
};

}  // namespace kirrup
