// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgets/raster_image.h"

namespace kirrup {

void ToScreenImage(const platform::RgbImage& raster, QImage& out) {
  if (out.size() != QSize(raster.width(), raster.height()) || out.format() != QImage::Format_RGB32)
    out = QImage(raster.width(), raster.height(), QImage::Format_RGB32);
  const platform::Color* in = raster.pixels().data();
  // Whole rows at a time, red and blue swapped: a loop the compiler turns into vector code.
  for (int y = 0; y < out.height(); ++y, in += raster.width()) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const platform::Color c = in[x];
      line[x] = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
  }
}

}  // namespace kirrup
