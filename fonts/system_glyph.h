// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Characters drawn with an installed font: the LED font of each LED type and the cut of the
// drawing down to the LED cell.
#include <cstdint>
#include <memory>
#include <string>

#include "lines/char_columns.h"
#include "platform/raster.h"
#include "platform/text_rasterizer.h"

namespace kirrup {

// The cell height and average width each LED type's font is created with.
struct LedFontSize {
  int cellHeight;
  int avgWidth;
};
LedFontSize LedFontSizeFor(int ledType);

// The font of one LED type, created from a face name (fontconfig substitutes unknown names).
// Finding and opening the face waits for the first character drawn with it: all three
// fonts are created at every start, most runs draw with the built-in libraries alone.
class LedFont {
 public:
  LedFont(const std::u16string& faceName, int ledType);
  platform::TextRasterizer& rasterizer();

 private:
  std::string face_;
  int ledType_;
  std::unique_ptr<platform::TextRasterizer> rasterizer_;
};

// Steps after drawing: the drawing holds the character at (0, 0), sx x sy its extent;
// W, H, G the LED type's glyph width, height and gap. Cuts the rectangle to the cell,
// adds the gap and reads the columns into the record (width, height, byteCount, columns).
void CutAndExtract(const platform::Bitmap1& drawing, int sx, int sy, int W, int H, int G,
                   CharColumns& record);

// The whole system-font path for one character of the given LED type; false when the font
// gives it no extent. The kind byte is left alone.
bool RenderWithFont(LedFont& font, int ledType, uint16_t code, CharColumns& record);

}  // namespace kirrup
