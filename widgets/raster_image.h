// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The core's colour rasters (0x00BBGGRR) as images the screen takes (0xffRRGGBB).
#include <QImage>

#include "platform/raster.h"

namespace kirrup {

// The raster converted into `out`, which keeps its storage when the size is unchanged.
void ToScreenImage(const platform::RgbImage& raster, QImage& out);

}  // namespace kirrup
