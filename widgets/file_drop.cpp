// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgets/file_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace kirrup {

QString AcceptFileDrop(QDropEvent* event, const std::function<bool(const QString& path)>& wanted) {
  const QMimeData* data = event->mimeData();
  QString path;
  if (data && data->hasUrls() && data->urls().size() == 1 && data->urls().first().isLocalFile())
    path = data->urls().first().toLocalFile();
  // A move would let the source delete its file once the drop is done.
  const Qt::DropAction action = event->possibleActions() & Qt::CopyAction   ? Qt::CopyAction
                                : event->possibleActions() & Qt::LinkAction ? Qt::LinkAction
                                                                            : Qt::IgnoreAction;
  if (path.isEmpty() || action == Qt::IgnoreAction || !wanted(path)) {
    event->ignore();
    return {};
  }
  event->setDropAction(action);
  event->accept();
  return path;
}

}  // namespace kirrup
