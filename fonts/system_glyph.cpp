// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/system_glyph.h"

#include <algorithm>

#include "fonts/extract_columns.h"
#include "lines/led_type.h"
#include "platform/utf.h"

namespace kirrup {
namespace {

bool ColumnWhite(const platform::Bitmap1& b, int x, int top, int bottom) {
  for (int y = top; y < bottom; ++y)
    if (b.Pixel(x, y) == platform::kInk) return false;
  return true;
}

bool RowWhite(const platform::Bitmap1& b, int y, int left, int right) {
  for (int x = left; x < right; ++x)
    if (b.Pixel(x, y) == platform::kInk) return false;
  return true;
}

}  // namespace

LedFontSize LedFontSizeFor(int ledType) {
  switch (ledType) {
    case kLed11: return {12, 6};
    case kLed16: return {16, 8};
    default: return {8, 5};
  }
}

LedFont::LedFont(const std::u16string& faceName, int ledType)
    : face_(platform::Utf16ToUtf8(faceName)), ledType_(ledType) {}

platform::TextRasterizer& LedFont::rasterizer() {
  if (!rasterizer_) {
    const LedFontSize size = LedFontSizeFor(ledType_);
    rasterizer_ = std::make_unique<platform::TextRasterizer>(face_, size.cellHeight, size.avgWidth);
  }
  return *rasterizer_;
}

void CutAndExtract(const platform::Bitmap1& drawing, int sx, int sy, int W, int H, int G,
                   CharColumns& record) {
  platform::Rect r{0, 0, sx, sy};
  const bool heightCut = sy > H;
  if (heightCut) {
    r.top = RowWhite(drawing, 0, 0, sx) ? 1 : 0;
    r.bottom = r.top + H;
  }
  if (sx > W) {
    int L = ColumnWhite(drawing, r.left, r.top, r.bottom) ? 1 : 0;
    const int R = ColumnWhite(drawing, r.right - 1, r.top, r.bottom) ? 1 : 0;
    if (sx - W == 1 && L == 1 && R == 1) L = 0;
    r.left += L;
    r.right -= R;
  }
  r.right += G;
  ExtractColumns(drawing, r, record.columns, true);
  record.width = r.right - r.left;
  record.height = r.bottom - r.top;
  const int h = heightCut ? H : sy;
  record.byteCount = static_cast<uint8_t>(
      std::clamp(record.width * ((h + 7) / 8), 0, static_cast<int>(CharColumns::kMaxBytes)));
}

bool RenderWithFont(LedFont& font, int ledType, uint16_t code, CharColumns& record) {
  const LedTypeInfo& row = LedTypeRow(ledType);
  const int W = row.glyphWidth, H = row.height, G = row.gap;
  // Four times the cell each way; what the character draws outside it reads as unlit.
  platform::Bitmap1 drawing(4 * W, 4 * H);
  const platform::TextExtent e = font.rasterizer().MeasureAndDraw(code, drawing, 0, 0);
  if (e.cx <= 0 || e.cy <= 0) return false;
  CutAndExtract(drawing, e.cx, e.cy, W, H, G, record);
  return true;
}

}  // namespace kirrup
