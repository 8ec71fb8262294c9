#include "widgets/svg_image.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kirrup {

QPixmap SvgPixmap(const QString& name, QSize size, qreal devicePixelRatio) {
  QSvgRenderer renderer(QStringLiteral(":/res/svg/%1.svg").arg(name));
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.fill(Qt::transparent);
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
  }
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QIcon SvgIcon(const QString& name, QSize size) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0, 3.0}) {
    const QPixmap p = SvgPixmap(name, size, ratio);
    icon.addPixmap(p, QIcon::Normal);
  }
  return icon;
}

}  // namespace kirrup
