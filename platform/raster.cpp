// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/raster.h"

#include <algorithm>

namespace kirrup::platform {
namespace {

Rect Clip(const Rect& r, int w, int h) {
  return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w), std::min(r.bottom, h)};
}

}  // namespace

Bitmap1::Bitmap1(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bits_(static_cast<size_t>(width_) * height_, 0) {}

void Bitmap1::Fill(bool lit) { std::fill(bits_.begin(), bits_.end(), lit ? 1 : 0); }

void Bitmap1::FillRect(const Rect& r, bool lit) {
  const Rect c = Clip(r, width_, height_);
  for (int y = c.top; y < c.bottom; ++y)
    std::fill_n(bits_.begin() + Index(c.left, y), std::max(c.Width(), 0), lit ? 1 : 0);
}

void Bitmap1::CopyFrom(const Bitmap1& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (src.Contains(sx + x, sy + y) && Contains(dx + x, dy + y))
        bits_[Index(dx + x, dy + y)] = src.bits_[src.Index(sx + x, sy + y)];
    }
  }
}

RgbImage::RgbImage(int width, int height, Color fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      px_(static_cast<size_t>(width_) * height_, fill & 0xFFFFFF) {}

void RgbImage::Fill(Color c) { std::fill(px_.begin(), px_.end(), c & 0xFFFFFF); }

void RgbImage::FillRect(const Rect& r, Color c) {
  const Rect k = Clip(r, width_, height_);
  for (int y = k.top; y < k.bottom; ++y)
    std::fill_n(px_.begin() + Index(k.left, y), std::max(k.Width(), 0), c & 0xFFFFFF);
}

}  // namespace kirrup::platform
