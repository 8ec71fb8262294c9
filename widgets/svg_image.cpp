// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgets/svg_image.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <future>
#include <optional>

namespace kirrup {
namespace {

QString SvgPath(const QString& name) { return QStringLiteral(":/res/svg/%1.svg").arg(name); }

// Parsed pictures, shared: a picture is read once however many buttons show it.
QSvgRenderer& Renderer(const QString& name) {
  static QHash<QString, QSvgRenderer*> renderers;
  QSvgRenderer*& r = renderers[name];
  if (!r) r = new QSvgRenderer(SvgPath(name), qApp);
  return *r;
}

QString PictureKey(const QString& name, QSize devicePixels) {
  return QStringLiteral("%1@%2x%3").arg(name).arg(devicePixels.width()).arg(devicePixels.height());
}

// The pictures drawn ahead: a future until the first one is asked for, then a table the
// askers take their pictures out of.
struct Prepared {
  std::future<QHash<QString, QImage>> drawing;
  QHash<QString, QImage> ready;
  bool started = false;
};

Prepared& PreparedPictures() {
  static Prepared prepared;
  return prepared;
}

std::optional<QImage> TakePrepared(const QString& name, QSize devicePixels) {
  Prepared& p = PreparedPictures();
  if (p.drawing.valid()) p.ready = p.drawing.get();
  const auto it = p.ready.find(PictureKey(name, devicePixels));
  if (it == p.ready.end()) return std::nullopt;
  QImage image = std::move(*it);
  p.ready.erase(it);
  return image;
}

QPixmap Render(const QString& name, QSize devicePixels) {
  if (std::optional<QImage> prepared = TakePrepared(name, devicePixels)) return QPixmap::fromImage(std::move(*prepared));
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

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const quint64 key = (quint64(size.width()) << 34) | (quint64(size.height()) << 4) | quint64(mode);
    auto it = cache_.find(key);
    if (it != cache_.end()) return *it;
    // Other modes start from the normal picture, drawn once.
    QPixmap p = mode == QIcon::Normal ? Render(name_, size) : pixmap(size, QIcon::Normal, state);
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

QImage SvgImage(const QString& name, QSize devicePixels) {
  // Drawn as a pixmap of the raster engine is drawn: premultiplied ARGB, cleared, smoothed.
  QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(SvgPath(name));
  if (renderer.isValid() && !devicePixels.isEmpty()) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
  }
  return image;
}

void PrepareSvgPictures(std::vector<std::pair<QString, QSize>> pictures, std::vector<PictureDrawing> drawings) {
  Prepared& p = PreparedPictures();
  if (p.started) return;
  p.started = true;
  p.drawing = std::async(std::launch::async, [pictures = std::move(pictures), drawings = std::move(drawings)] {
    QHash<QString, QImage> drawn;
    for (const auto& [name, size] : pictures) {
      if (!size.isEmpty()) drawn.insert(PictureKey(name, size), SvgImage(name, size));
    }
    for (const PictureDrawing& d : drawings) drawn.insert(PictureKey(d.name, d.devicePixels), d.draw());
    return drawn;
  });
}

std::optional<QImage> TakePreparedDrawing(const QString& name, QSize devicePixels) {
  return TakePrepared(name, devicePixels);
}

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
