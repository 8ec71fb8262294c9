// SPDX-License-Identifier: GPL-2.0-or-later
// The board from the keyboard: a cell that the arrow keys move and whose dot Space sets,
// as a click of the point tool would, whatever the tool.
#include <algorithm>

#include "editor/board_editor.h"

namespace kirrup {

Point BoardEditor::keyCell() const {
  const BoardGeometry& geo = frame_.geometry();
  return {std::clamp(keyCell_.x, 0, std::max(geo.width() - 1, 0)),
          std::clamp(keyCell_.y, 0, std::max(geo.height() - 1, 0))};
}

bool BoardEditor::MoveKeyCell(int dx, int dy) {
  const Point old = keyCell();
  keyCell_ = {old.x + dx, old.y + dy};
  keyCell_ = keyCell();
  return !(keyCell_ == old);
}

bool BoardEditor::SetKeyCellDot(bool background) {
  const BoardGeometry& geo = frame_.geometry();
  if (!geo.Present() || dragging_ || selection_.busy()) return false;
  // A floating selection lands and the eraser's preview goes first, as on a tool change.
  DropFloating();
  const Point c = keyCell();
  const platform::Color colour = background ? frame_.settings().backColor : frame_.settings().drawColor;
  PushUndo();
  frame_.image().SetPixel(c.x, c.y, colour);
  Repaint({c.x, c.y, c.x, c.y});
  frame_.NotifyBoardChanged(c.x, c.y, colour);
  return true;
}

InclusiveRect BoardEditor::KeyCellView() const {
  const BoardGeometry& geo = frame_.geometry();
  if (!geo.Present()) return {};
  const Point c = keyCell();
  return geo.CellRectToView({c.x, c.y, c.x, c.y});
}

}  // namespace kirrup
