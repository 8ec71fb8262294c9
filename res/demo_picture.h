// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The picture behind the display simulation: the toy seen from above, its housing rim
// around the dark rotor disc with the blade and the hub. White around the toy is the
// transparent colour of the simulation window.
#include "platform/raster.h"

namespace kirrup {

// 192 x 192 pixels; the same picture every time.
platform::RgbImage DrawDemoPicture();

}  // namespace kirrup
