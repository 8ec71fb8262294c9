// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pictures of the program's own drawing (res/svg), rendered sharp at every screen scale.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <utility>
#include <vector>

namespace kirrup {

// The picture ":/res/svg/<name>.svg" at a size in logical pixels for a device pixel ratio.
QPixmap SvgPixmap(const QString& name, QSize size, qreal devicePixelRatio);
// An icon that draws the picture at whatever size and scale it is shown (size: the
// usual one, kept for callers that state it).
QIcon SvgIcon(const QString& name, QSize size = {});

// Starts drawing these pictures (name, size in device pixels) on another thread, early
// in start-up; the first SvgPixmap or icon that asks for one of them takes it from there
// instead of drawing it itself. Called once; later calls do nothing.
void PrepareSvgPictures(std::vector<std::pair<QString, QSize>> pictures);

}  // namespace kirrup
