// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// FloatingSelection: the select tool's rectangle of cells lifted off the board. Its
// content floats in a buffer over the underlay (the board without it) and is laid onto
// the image after every change, so the image and the line mirrored from it always show
// the current picture. It is part of the board view's model (BoardEditor) and works on
// its image, history and raster.
#include "editor/board_geometry.h"
#include "platform/raster.h"

namespace kirrup {

class BoardEditor;
enum class MouseButton;

// Commands of the board view.
enum BoardCommand : int {
  kCmdGrid4 = 8020,
  kCmdGrid6 = 8021,
  kCmdGrid8 = 8022,
  kCmdGrid10 = 8023,
  kCmdCopy = 8024,
  kCmdPaste = 8025,
  kCmdCut = 8026,
  kCmdDelete = 8027,
  kCmdUndo = 8028,
  kCmdRedo = 8029,
  kCmdRotateLeft = 8030,
  kCmdRotateRight = 8031,
  kCmdRotate180 = 8032,
  kCmdMirrorHorizontally = 8033,
  kCmdMirrorVertically = 8034,
  kCmdInvert = 8035,
  kCmdHollow = 8036,
  kCmdClearBoard = 8037,
  kCmdSelectAll = 8040,
};

// A picture from the clipboard is cut to this many cells.
inline constexpr int kPasteMaxWidth = 160;
inline constexpr int kPasteMaxHeight = 32;

class FloatingSelection {
 public:
  // Large enough to keep every row of a turned selection of the widest board.
  static constexpr int kBufferSide = 360;

  explicit FloatingSelection(BoardEditor& board);

  bool exists() const;

  // The select tool's mouse input, in view coordinates.
  void Press(MouseButton button, Point view);
  void Move(Point view);
  void Release(MouseButton button, Point view);
  // A move, resize or rubber band is under way.
  bool busy() const;

  // Ends the floating state: the content stays where it was laid.
  void Drop();
  // The paste mode switched: lay the content again in the new mode.
  void PasteModeChanged();

  // The floating content, selWidth x selHeight cells; an empty bitmap without a selection.
  platform::Bitmap1 Content() const;
  // Removes the floating content; the place it was lifted from shows the background.
  void Delete();
  // Floats the picture (cut to 160 x 32; pure white gives white cells, every other colour
  // black) at the visible top-left cell. False when the board or the picture is empty.
  bool Paste(const platform::RgbImage& picture);
  void SelectAll();
  // One of the seven transforms 8030..8036 of the floating content.
  void Transform(int command);

  // The frames of the select tool drawn over the board.
  void PaintOverlay(platform::RgbImage& surface) const;

  const InclusiveRect& selView() const { return selView_; }
  const platform::Bitmap1& underlay() const { return underlay_; }
  const platform::Bitmap1& floatBuffer() const { return floatBuffer_; }
  bool undoTaken() const { return undoTaken_; }
  bool overSelection() const { return overSelection_; }
  int handleIndex() const { return handleIndex_; }
  bool moving() const { return moving_; }
  bool resizing() const { return resizing_; }
  const InclusiveRect& resizeRect() const { return resizeRect_; }

 private:
  void Hover(Point view);
  void MoveStep(Point view);
  void ResizeMove(Point view);
  void ResizeRelease();
  void FinishBand(Point view);
  // Lays the floating content onto the image in the current paste mode.
  void Lay();
  // The underlay into the image, the content on it, everything repainted and reported.
  void Recompose();
  // Repaints the cells of the rectangles with one cell around them (where frames lie).
  void RepaintAround(std::initializer_list<InclusiveRect> areas);
  InclusiveRect BandCells() const;

  BoardEditor& board_;
  InclusiveRect selView_{};
  platform::Bitmap1 floatBuffer_{kBufferSide, kBufferSide};
  platform::Bitmap1 underlay_;
  bool undoTaken_ = false;
  bool overSelection_ = false;
  int handleIndex_ = -1;
  bool moving_ = false;
  bool resizing_ = false;
  InclusiveRect resizeRect_{};
};

}  // namespace kirrup
