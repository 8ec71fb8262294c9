// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Draws single characters of an installed font into 1-bit rasters, with the metrics the
// glyph renderer needs: the advance width and the cell height of the character.
//
// The face is chosen by family name through fontconfig; an unknown name is substituted
// (the Swiss "sans-serif" family stands behind it). A character the face lacks is drawn
// with another installed face that has it (fontconfig is asked with the character's charset);
// one that no face has, and control characters the face lacks, are drawn as the face's
// missing-glyph box.
//
// Size: the face's cell (OS/2 winAscent + winDescent) is scaled to cellHeight pixels, and
// horizontally its average character width (OS/2 xAvgCharWidth) to avgWidth pixels. Faces
// standing in for missing characters keep the main face's horizontal stretch. Rendering is
// monochrome with the auto-hinter, which keeps thin strokes at small sizes.
#include <memory>
#include <string>
#include <string_view>

#include "platform/raster.h"

namespace kirrup::platform {

struct TextExtent {
  int cx = 0;  // advance width in pixels
  int cy = 0;  // cell height in pixels
};

class TextRasterizer {
 public:
  TextRasterizer(std::string_view familyUtf8, int cellHeight, int avgWidth);
  ~TextRasterizer();
  TextRasterizer(const TextRasterizer&) = delete;
  TextRasterizer& operator=(const TextRasterizer&) = delete;

  // False when not even a substitute face could be opened (nothing then has an extent).
  bool ok() const;
  // Family and file of the face in use (after substitution).
  std::string familyName() const;
  std::string fileName() const;

  // The extent of the one-character string; {0, 0} for a character without advance.
  TextExtent Measure(char32_t c);
  // Draws the character with its cell's top-left corner at (x, y): lit pixels become ink,
  // the rest of the target is left alone. Parts outside the target are dropped.
  void Draw(char32_t c, Bitmap1& target, int x, int y);
  // Both at once (one glyph load): measures, and draws when the extent is not empty.
  TextExtent MeasureAndDraw(char32_t c, Bitmap1& target, int x, int y);
  // Whether the face, or a face standing in for it, has the character; one that none has is
  // drawn as the missing-glyph box.
  bool HasGlyph(char32_t c);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kirrup::platform
