// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/extract_columns.h"

namespace kirrup {

void ExtractColumns(const platform::Bitmap1& surface, const platform::Rect& rect,
                    std::span<uint8_t> dest, bool rightToLeft) {
  const int n = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (n <= 0 || h <= 0) return;
  const uint64_t capacityBits = static_cast<uint64_t>(dest.size()) * 8;
  uint64_t k = 0;
  for (int i = 0; i < n; ++i) {
    const int x = rightToLeft ? rect.right - 1 - i : rect.left + i;
    k = (k + 7) / 8 * 8;
    if (k >= capacityBits) return;
    for (int y = rect.bottom - 1; y >= rect.top; --y, ++k) {
      if (k >= capacityBits) break;
      const auto mask = static_cast<uint8_t>(0x80u >> (k % 8));
      uint8_t& byte = dest[static_cast<size_t>(k / 8)];
      if (surface.Pixel(x, y) == platform::kInk) byte |= mask;
      else byte &= static_cast<uint8_t>(~mask);
    }
  }
}

}  // namespace kirrup
