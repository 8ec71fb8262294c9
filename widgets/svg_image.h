// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pictures of the program's own drawing (res/svg), rendered sharp at every screen scale.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace kirrup {

// The picture ":/res/svg/<name>.svg" at a size in logical pixels for a device pixel ratio.
QPixmap SvgPixmap(const QString& name, QSize size, qreal devicePixelRatio);
// An icon that draws the picture at whatever size and scale it is shown (size: the
// usual one, kept for callers that state it).
QIcon SvgIcon(const QString& name, QSize size = {});

}  // namespace kirrup
