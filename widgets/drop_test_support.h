// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace kirrup::testing {

// Drags the addresses onto the widget and drops them as a file manager does (copy, move or
// link offered, move proposed); the drop's action, or IgnoreAction for a refused drag.
inline Qt::DropAction DragAndDrop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(target->rect().center(), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data,
                        Qt::LeftButton, Qt::NoModifier);
  enter.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return Qt::IgnoreAction;
  QDropEvent drop(enter.position(), enter.possibleActions(), &data, Qt::LeftButton, Qt::NoModifier);
  drop.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(target, &drop);
  QCoreApplication::processEvents();  // what the drop left for after the drag
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

}  // namespace kirrup::testing
