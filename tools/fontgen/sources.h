// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The outside glyph sources the generator reads: bitmap fonts through FreeType (PCF files,
// gzip-compressed or not, and the embedded bitmaps of an outline font) and GNU Unifont's
// .hex file.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "glyph.h"

namespace fontgen {

// One glyph of a source font, placed relative to the pen position on the baseline.
struct SourceGlyph {
  Glyph bitmap;
  int left = 0;     // columns from the pen position to the bitmap's first column
  int top = 0;      // rows from the baseline up to the bitmap's first row
  int advance = 0;  // pen advance in pixels
};

class FreeTypeLibrary {
 public:
  FreeTypeLibrary();
  ~FreeTypeLibrary();
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
  FT_Library get() const { return lib_; }

 private:
  FT_Library lib_ = nullptr;
};

// A bitmap font (its first strike), or an outline font rendered monochrome at a pixel size
// with its own hinting (pixelSize > 0).
class BitmapFace {
 public:
  BitmapFace(const FreeTypeLibrary& lib, const std::string& path, int faceIndex, int pixelSize);
  ~BitmapFace();
  BitmapFace(const BitmapFace&) = delete;
  BitmapFace& operator=(const BitmapFace&) = delete;

  int ascent() const { return ascent_; }
  std::optional<SourceGlyph> Load(uint32_t code) const;

 private:
  FT_Face face_ = nullptr;
  int ascent_ = 0;
  bool outline_ = false;
};

// GNU Unifont: 16 rows, 8 or 16 columns per code point (or wider), baseline 2 rows from the bottom.
class UnifontHex {
 public:
  explicit UnifontHex(const std::string& path);
  const Glyph* Find(uint32_t code) const;
  size_t size() const { return count_; }

 private:
  std::vector<std::unique_ptr<Glyph>> glyphs_;  // indexed by code point, 0..0xFFFF
  size_t count_ = 0;
};

}  // namespace fontgen
