// SPDX-License-Identifier: GPL-2.0-or-later
// Undo and redo over the board's five snapshot slots.
#include <algorithm>

#include "editor/pixel_board.h"

namespace kirrup {

void BoardHistory::Swap(int slot, platform::Bitmap1& image, int& width, int& height) {
  BoardSnapshot& s = slots_[static_cast<size_t>(slot)];
  scratch_.image.CopyFrom(image, 0, 0, width, height, 0, 0);
  const int oldW = width, oldH = height;
  width = s.width;
  height = s.height;
  image.CopyFrom(s.image, 0, 0, width, height, 0, 0);
  s.width = oldW;
  s.height = oldH;
  s.image.CopyFrom(scratch_.image, 0, 0, oldW, oldH, 0, 0);
}

bool BoardHistory::Undo(platform::Bitmap1& image, int& width, int& height) {
  if (undoCount_ == 0) return false;
  const int slot = undoSlots_[static_cast<size_t>(undoCount_ - 1)];
  undoSlots_[static_cast<size_t>(--undoCount_)] = -1;
  redoSlots_[static_cast<size_t>(redoCount_++)] = slot;
  Swap(slot, image, width, height);
  return true;
}

bool BoardHistory::Redo(platform::Bitmap1& image, int& width, int& height) {
  if (redoCount_ == 0) return false;
  const int slot = redoSlots_[static_cast<size_t>(--redoCount_)];
  redoSlots_[static_cast<size_t>(redoCount_)] = -1;
  if (undoCount_ == kSlots) {
    std::copy(undoSlots_.begin() + 1, undoSlots_.end(), undoSlots_.begin());
    --undoCount_;
  }
  undoSlots_[static_cast<size_t>(undoCount_++)] = slot;
  Swap(slot, image, width, height);
  return true;
}

}  // namespace kirrup
