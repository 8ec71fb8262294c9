// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pictures of the program's own drawing (res/svg), rendered sharp at every screen scale.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kirrup {

// The picture ":/res/svg/<name>.svg" at a size in logical pixels for a device pixel ratio.
QPixmap SvgPixmap(const QString& name, QSize size, qreal devicePixelRatio);
// An icon that draws the picture at whatever size and scale it is shown (size: the
// usual one, kept for callers that state it).
QIcon SvgIcon(const QString& name, QSize size = {});

// The picture drawn into an image of a size in device pixels; any thread may call it.
QImage SvgImage(const QString& name, QSize devicePixels);

// A picture of the program's own drawing, drawn ahead with the SVG pictures under a name
// of its own; draw must be safe on another thread (images and painters, no widgets or pixmaps).
struct PictureDrawing {
  QString name;
  QSize devicePixels;
  std::function<QImage()> draw;
};

// Starts drawing these pictures (name, size in device pixels) and drawings on another
// thread, early in start-up; the first SvgPixmap or icon that asks for one of the pictures
// takes it from there instead of drawing it itself. Called once; later calls do nothing.
void PrepareSvgPictures(std::vector<std::pair<QString, QSize>> pictures, std::vector<PictureDrawing> drawings = {});
// A drawing made ahead under this name and size, taken out once; nothing when none was
// asked for or it was taken already: the caller draws it itself.
std::optional<QImage> TakePreparedDrawing(const QString& name, QSize devicePixels);

}  // namespace kirrup
