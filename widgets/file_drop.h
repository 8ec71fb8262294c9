// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Files dragged onto a window from a file manager: one local file of the kind the window
// takes, or nothing. The answer to a drag's enter and move events sets the cursor the user
// sees; the drop always takes a copy, so the source keeps its file.
#include <QString>
#include <functional>

class QDropEvent;

namespace kirrup {

// Accepts a drag enter, move or drop event carrying exactly one local file for which
// wanted says yes, and returns that file's path; ignores the event and returns an empty
// path otherwise (several files, a remote address, no file, another kind).
QString AcceptFileDrop(QDropEvent* event, const std::function<bool(const QString& path)>& wanted);

}  // namespace kirrup
