// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgets/svg_image.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace kirrup {
namespace {

// Parsed pictures, shared: a picture is read once however many buttons show it.
QSvgRenderer& Renderer(const QString& name) {
  static QHash<QString, QSvgRenderer*> renderers;
  QSvgRenderer*& r = renderers[name];
  if (!r) r = new QSvgRenderer(QStringLiteral(":/res/svg/%1.svg").arg(name), qApp);
  return *r;
}

QPixmap Render(const QString& name, QSize devicePixels) {
  QPixmap pixmap(devicePixels);
  pixmap.fill(Qt::transparent);
  QSvgRenderer& renderer = Renderer(name);
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
  }
  return pixmap;
}

// Draws the picture when a size is first asked for, at exactly that size.
class SvgIconEngine final : public QIconEngine {
 public:
  explicit SvgIconEngine(QString name) : name_(std::move(name)) {}

  QIconEngine* clone() const override { return new SvgIconEngine(name_); }
  QString key() const override { return QStringLiteral("kirrup-svg"); }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap p = pixmap(rect.size() * ratio, mode, state);
    p.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, p);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const quint64 key = (quint64(size.width()) << 34) | (quint64(size.height()) << 4) | quint64(mode);
    auto it = cache_.find(key);
    if (it != cache_.end()) return *it;
    QPixmap p = Render(name_, size);
    if (mode == QIcon::Disabled) {
      QStyleOption option;
      option.palette = QApplication::palette();
      p = QApplication::style()->generatedIconPixmap(QIcon::Disabled, p, &option);
    }
    cache_.insert(key, p);
    return p;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  // What a window manager is offered as the window's icon.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
  }

 private:
  QString name_;
  QHash<quint64, QPixmap> cache_;
};

}  // namespace

QPixmap SvgPixmap(const QString& name, QSize size, qreal devicePixelRatio) {
  QPixmap pixmap = Render(name, size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QIcon SvgIcon(const QString& name, QSize) {
  // One icon per picture: the twelve rows' buttons draw theirs once, not twelve times.
  static QHash<QString, QIcon>* icons = nullptr;
  if (!icons) {
    icons = new QHash<QString, QIcon>;
    qAddPostRoutine([] {
      delete icons;
      icons = nullptr;
    });
  }
  QIcon& icon = (*icons)[name];
  if (icon.isNull()) icon = QIcon(new SvgIconEngine(name));
  return icon;
}

}  // namespace kirrup
