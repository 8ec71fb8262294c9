// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reads a rectangle of a 1-bit drawing back as dot columns in the record layout: every
// column starts on a byte boundary, rows run from the bottom row up, most significant bit
// first, set bit = ink. Bits past a column's last row and past the capacity are left as
// they were (callers clear the destination first).
#include <cstdint>
#include <span>

#include "platform/raster.h"

namespace kirrup {

// rightToLeft: stored order (rightmost column first); otherwise device order.
// The capacity is dest.size() bytes.
void ExtractColumns(const platform::Bitmap1& surface, const platform::Rect& rect,
                    std::span<uint8_t> dest, bool rightToLeft);

}  // namespace kirrup
