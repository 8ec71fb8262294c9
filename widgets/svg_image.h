#pragma once
// Pictures of the program's own drawing (res/svg), rendered sharp at every screen scale.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace kirrup {

// The picture ":/res/svg/<name>.svg" at a size in logical pixels for a device pixel ratio.
QPixmap SvgPixmap(const QString& name, QSize size, qreal devicePixelRatio);
// An icon holding the picture at 1x, 2x and 3x of the size.
QIcon SvgIcon(const QString& name, QSize size);

}  // namespace kirrup
