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
  // The block's offsets that fall inside both rasters, then whole rows at a time: lines
  // are copied this way on every edit and undo step.
  auto inside = [](int64_t s, int64_t sLimit, int64_t d, int64_t dLimit, int64_t n) {
    const int64_t first = std::max<int64_t>({0, -s, -d});
    const int64_t end = std::min<int64_t>({n, sLimit - s, dLimit - d});
    return std::pair{first, end};
  };
  const auto [x0, x1] = inside(sx, src.width_, dx, width_, w);
  const auto [y0, y1] = inside(sy, src.height_, dy, height_, h);
  if (x0 >= x1 || y0 >= y1) return;
  for (int64_t y = y0; y < y1; ++y)
    std::memmove(bits_.data() + Index(static_cast<int>(dx + x0), static_cast<int>(dy + y)),
                 src.bits_.data() + src.Index(static_cast<int>(sx + x0), static_cast<int>(sy + y)),
                 static_cast<size_t>(x1 - x0));
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
