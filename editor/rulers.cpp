// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/rulers.h"

#include <array>
#include <cstdint>
#include <string>

#include "editor/draw_primitives.h"

namespace kirrup {

using platform::Color;
using platform::RgbImage;

namespace {

// 5 x 7 digits, five columns each, bit 7 the top row.
constexpr std::array<std::array<uint8_t, 5>, 10> kDigits = {{
    {0xFE, 0x82, 0x82, 0xFE, 0x00},
    {0x00, 0x00, 0x00, 0xFE, 0x00},
    {0x9E, 0x92, 0x92, 0xF2, 0x00},
    {0x92, 0x92, 0x92, 0xFE, 0x00},
    {0xF0, 0x10, 0x10, 0xFE, 0x00},
    {0xF2, 0x92, 0x92, 0x9E, 0x00},
    {0xFE, 0x92, 0x92, 0x9E, 0x00},
    {0x80, 0x80, 0x80, 0xFE, 0x00},
    {0xFE, 0x92, 0x92, 0xFE, 0x00},
    {0xF2, 0x92, 0x92, 0xFE, 0x00},
}};

void SunkenBand(RgbImage& s, int l, int t, int r, int b) {
  // r and b exclusive.
  if (r > l && b > t) s.FillRect({l, t, r, b}, kRulerBand);
  const Color shade = platform::Rgb(128, 128, 128);
  DrawLine(s, shade, l, t, r, t);
  DrawLine(s, shade, l, t, l, b);
  DrawLine(s, platform::kPaper, r - 1, t, r - 1, b);
  DrawLine(s, platform::kPaper, l, b - 1, r, b - 1);
}

void Label(RgbImage& s, int number, int at, bool vertical, Color ink) {
  const std::string digits = std::to_string(number);
  const int n = static_cast<int>(digits.size());
  for (int k = 0; k < n; ++k) {
    const auto& glyph = kDigits[static_cast<size_t>(digits[static_cast<size_t>(k)] - '0')];
    if (!vertical) {
      PutColumnBits({at - (n * 5) / 2 + 5 * k, 4, 5, 7}, s, glyph, ink, kRulerBand);
    } else {
      // Turned a quarter anticlockwise: the bytes in reverse order, each a row read from
      // bit 7 on the left; the digits read upwards.
      const std::array<uint8_t, 5> turned = {glyph[4], glyph[3], glyph[2], glyph[1], glyph[0]};
      PutRowBits({4, at + (n * 5) / 2 - 5 - 5 * k, 7, 5}, s, turned, ink, kRulerBand);
    }
  }
}

// One ruler: positions 16 + i * c - scroll for i up to and including count.
void Marks(RgbImage& s, int count, int section, int cell, int scroll, bool vertical) {
  if (cell <= 0 || section <= 0) return;
  int i = 0;
  while (16 + i * cell - scroll < 16) ++i;
  for (; i <= count; ++i) {
    const int at = 16 + i * cell - scroll;
    const int inSection = i % section;
    const bool eighth = inSection != 0 && inSection % 8 == 0;
    if (inSection == 0 || eighth || i == count) {
      if (vertical)
        DrawLine(s, kRulerMark, 4, at, 12, at);
      else
        DrawLine(s, kRulerMark, at, 4, at, 12);
      if (i > 0) {
        if (eighth && i != count)
          Label(s, inSection, at, vertical, kRulerGrey);
        else
          Label(s, i, at, vertical, kRulerMark);
      }
    } else if (vertical) {
      DrawLine(s, platform::kInk, 7, at, 12, at);
    } else {
      DrawLine(s, platform::kInk, at, 7, at, 12);
    }
  }
}

}  // namespace

void PaintRulers(RgbImage& s, const BoardGeometry& geo, int sx, int sy) {
  s.FillRect({0, 0, s.width(), 15}, kRulerFace);
  SunkenBand(s, 11, 2, geo.boardRect().right + 27 - sx, 13);
  Marks(s, geo.width(), geo.sectionWidth, geo.cellSize, sx, false);

  s.FillRect({0, 15, 15, s.height()}, kRulerFace);
  SunkenBand(s, 2, 11, 13, geo.boardRect().bottom + 27 - sy);
  Marks(s, geo.height(), geo.sectionHeight, geo.cellSize, sy, true);
}

}  // namespace kirrup
