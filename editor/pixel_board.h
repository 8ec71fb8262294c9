// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The character editor's picture: a one-bit image of which the top-left width x height
// cells are the board, the five-step history of the board, and how the board is painted
// enlarged and ruled into a view raster.
//
// The image is 180 columns wide, not 160: an 11-LED line may be set up to 180 columns wide,
// and every column of such a line must reach the board and come back to the line intact.
#include <array>

#include "editor/board_geometry.h"
#include "platform/raster.h"

namespace kirrup {

inline constexpr int kBoardImageWidth = 180;  // the widest line any setting allows
inline constexpr int kBoardImageHeight = 32;

// Screen colours of the board.
inline constexpr platform::Color kGridColour = platform::Rgb(170, 170, 255);
inline constexpr platform::Color kSectionColour = platform::Rgb(128, 0, 0);
inline constexpr platform::Color kEraserFrameColour = platform::Rgb(127, 127, 127);

// A whole-board snapshot: the board's cells and the size they were taken with.
struct BoardSnapshot {
  platform::Bitmap1 image{kBoardImageWidth, kBoardImageHeight};
  int width = 0;
  int height = 0;
};

// Five snapshot slots with an undo stack and a redo stack of slot numbers. Every slot is
// on one stack or free; a new step empties the redo stack and reuses the oldest slot
// when five steps are held.
class BoardHistory {
 public:
  static constexpr int kSlots = 5;

  BoardHistory() { Clear(); }
  void Clear();

  // Records the width x height cells of the image as the newest undo step.
  void PushUndo(const platform::Bitmap1& image, int width, int height);
  // Swap the board with the newest undo (redo) step, which then keeps the board it
  // replaced: width and height become the step's. False when there is no step.
  bool Undo(platform::Bitmap1& image, int& width, int& height);
  bool Redo(platform::Bitmap1& image, int& width, int& height);

  int undoCount() const { return undoCount_; }
  int redoCount() const { return redoCount_; }
  const std::array<int, kSlots>& undoSlots() const { return undoSlots_; }
  const std::array<int, kSlots>& redoSlots() const { return redoSlots_; }
  const BoardSnapshot& slot(int i) const { return slots_[static_cast<size_t>(i)]; }

 private:
  void Swap(int slot, platform::Bitmap1& image, int& width, int& height);

  std::array<BoardSnapshot, kSlots> slots_{};
  BoardSnapshot scratch_{};  // for swapping a slot with the board
  std::array<int, kSlots> undoSlots_{};
  std::array<int, kSlots> redoSlots_{};
  int undoCount_ = 0;
  int redoCount_ = 0;
};

// Paints the cells (clamped to the board) enlarged with their grid lines, then the
// section lines, the board frame and its shadow over the whole board. The surface is in
// view coordinates.
void PaintBoardCells(const BoardGeometry& geo, const platform::Bitmap1& image, InclusiveRect cells,
                     platform::RgbImage& surface);
// Only the section lines, the frame, the shadow and the corner strokes.
void PaintBoardDecorations(const BoardGeometry& geo, platform::RgbImage& surface);
// The pixels a whole-board repaint touches: the cells and everything drawn around them.
platform::Rect BoardPaintExtent(const BoardGeometry& geo);

}  // namespace kirrup
