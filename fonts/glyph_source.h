// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What turns a character code into dots for a line: the font libraries or a system font.
#include <cstdint>

#include "lines/char_columns.h"

namespace kirrup {

class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  // Fills a zeroed record's width, height, kind, byteCount and columns (stored order);
  // the caller sets the code. False when the code has no glyph for that LED type.
  virtual bool RenderGlyph(int ledType, uint16_t code, CharColumns& record) = 0;
  // False when RenderGlyph would draw only a stand-in for a character the font lacks (an
  // installed font's missing-glyph box): the symbol picker leaves such codes out.
  virtual bool HasGlyph(int /*ledType*/, uint16_t /*code*/) { return true; }
};

}  // namespace kirrup
