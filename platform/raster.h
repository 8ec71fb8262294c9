// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// In-memory rasters that stand in for the platform's monochrome and colour bitmaps.
// Colours are 0x00BBGGRR values, as the settings file and every stored colour use.
// Reads outside a raster give paper (white); writes outside it are ignored, so
// callers can clip by simply drawing.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kirrup::platform {

using Color = uint32_t;                // 0x00BBGGRR
constexpr Color kInk = 0x000000;       // a lit dot
constexpr Color kPaper = 0xFFFFFF;     // an unlit dot

constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr uint8_t RedOf(Color c) { return c & 0xFF; }
constexpr uint8_t GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(Color c) { return (c >> 16) & 0xFF; }

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// A 1-bit raster: each pixel is ink (lit, true) or paper (unlit, false).
class Bitmap1 {
 public:
  Bitmap1() = default;
  Bitmap1(int width, int height);  // all paper

  int width() const { return width_; }
  int height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  bool Lit(int x, int y) const { return Contains(x, y) && bits_[Index(x, y)] != 0; }
  void Set(int x, int y, bool lit) {
    if (Contains(x, y)) bits_[Index(x, y)] = lit ? 1 : 0;
  }
  // Colour interface: ink is exactly black, anything else is paper.
  Color Pixel(int x, int y) const { return Lit(x, y) ? kInk : kPaper; }
  void SetPixel(int x, int y, Color c) { Set(x, y, c == kInk); }

  void Fill(bool lit);
  void FillRect(const Rect& r, bool lit);
  // Copies a w x h block of src at (sx, sy) to (dx, dy); parts outside either raster are skipped.
  // src may be *this only when the areas do not overlap.
  void CopyFrom(const Bitmap1& src, int sx, int sy, int w, int h, int dx, int dy);

  bool operator==(const Bitmap1&) const = default;

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> bits_;
};

// A 24-bit colour raster.
class RgbImage {
 public:
  RgbImage() = default;
  RgbImage(int width, int height, Color fill = kPaper);

  int width() const { return width_; }
  int height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Color Pixel(int x, int y) const { return Contains(x, y) ? px_[Index(x, y)] : kPaper; }
  void SetPixel(int x, int y, Color c) {
    if (Contains(x, y)) px_[Index(x, y)] = c & 0xFFFFFF;
  }
  void Fill(Color c);
  void FillRect(const Rect& r, Color c);
  // Takes a new size, all of it c; the pixels' storage is kept when it is large enough.
  void Reset(int width, int height, Color c);
  // Copies all of src with its top left at (dx, dy); parts outside are skipped.
  void CopyFrom(const RgbImage& src, int dx, int dy);
  const std::vector<Color>& pixels() const { return px_; }

  bool operator==(const RgbImage&) const = default;

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> px_;
};

}  // namespace kirrup::platform
