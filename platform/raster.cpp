// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/raster.h"

#include <algorithm>
#include <cstring>

namespace kirrup::platform {
namespace {

Rect Clip(const Rect& r, int w, int h) {
  return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w), std::min(r.bottom, h)};
}

// Fills n pixels in doubling copies of the first: a handful of block copies instead of a
// store per pixel, whichever way the code is compiled.
void FillPixels(Color* p, size_t n, Color c) {
  if (n == 0) return;
  p[0] = c;
  for (size_t done = 1; done < n;) {
    const size_t k = std::min(done, n - done);
    std::memcpy(p + done, p, k * sizeof(Color));
    done += k;
  }
}

}  // namespace

Bitmap1::Bitmap1(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bits_(static_cast<size_t>(width_) * height_, 0) {}

// Byte-sized fill values: the library fills with memset.
void Bitmap1::Fill(bool lit) { std::fill(bits_.begin(), bits_.end(), static_cast<uint8_t>(lit)); }

void Bitmap1::FillRect(const Rect& r, bool lit) {
  const Rect c = Clip(r, width_, height_);
  for (int y = c.top; y < c.bottom; ++y)
    std::fill_n(bits_.begin() + Index(c.left, y), std::max(c.Width(), 0), static_cast<uint8_t>(lit));
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
      px_(static_cast<size_t>(width_) * height_) {
  Fill(fill);
}

void RgbImage::Fill(Color c) { FillPixels(px_.data(), px_.size(), c & 0xFFFFFF); }

void RgbImage::Reset(int width, int height, Color c) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  px_.resize(static_cast<size_t>(width_) * height_);
  Fill(c);
}

void RgbImage::CopyFrom(const RgbImage& src, int dx, int dy) {
  const Rect k = Clip({dx, dy, dx + src.width_, dy + src.height_}, width_, height_);
  if (k.Empty()) return;
  for (int y = k.top; y < k.bottom; ++y)
    std::memcpy(px_.data() + Index(k.left, y), src.px_.data() + src.Index(k.left - dx, y - dy),
                static_cast<size_t>(k.Width()) * sizeof(Color));
}

void RgbImage::FillRect(const Rect& r, Color c) {
  const Rect k = Clip(r, width_, height_);
  if (k.Empty()) return;
  const size_t w = static_cast<size_t>(k.Width());
  Color* first = px_.data() + Index(k.left, k.top);
  FillPixels(first, w, c & 0xFFFFFF);
  for (int y = k.top + 1; y < k.bottom; ++y) std::memcpy(px_.data() + Index(k.left, y), first, w * sizeof(Color));
}

}  // namespace kirrup::platform
