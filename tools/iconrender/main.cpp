// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-iconrender: draws an SVG picture into square PNG files, one per size, for the
// desktop's icon theme. Run by the build, never installed.
// usage: kirrup-iconrender IN.svg OUT_PATTERN SIZE...   (OUT_PATTERN holds %1 for the size)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: kirrup-iconrender IN.svg OUT_PATTERN SIZE...\n");
    return 2;
  }
  // No display needed: the pictures are drawn into memory.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "kirrup-iconrender: cannot read %s\n", argv[1]);
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    if (size <= 0 || size > 4096) {
      std::fprintf(stderr, "kirrup-iconrender: bad size %s\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    const QString out = QString::fromLocal8Bit(argv[2]).arg(size);
    if (!image.save(out, "PNG")) {
      std::fprintf(stderr, "kirrup-iconrender: cannot write %s\n", qPrintable(out));
      return 1;
    }
  }
  return 0;
}
