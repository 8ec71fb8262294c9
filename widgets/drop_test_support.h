// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Drag and drop for widget tests: files dragged and dropped as a file manager offers them.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kirrup::testing {

// Drags the addresses onto the widget's centre and drops them there, offering to copy,
// move or link them with a move proposed; the action the drop took when the drag was
// accepted, else IgnoreAction. Events the drop posted have run when it returns.
inline Qt::DropAction DragAndDrop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint at = target->rect().center();
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
  QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
  enter.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return Qt::IgnoreAction;
  QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
  drop.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(target, &drop);
  QCoreApplication::processEvents();
  return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

}  // namespace kirrup::testing
