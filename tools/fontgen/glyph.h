// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A 1-bit picture as the generator handles it: row 0 is the top row.
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace fontgen {

struct Glyph {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> px;  // width * height, 1 = lit

  Glyph() = default;
  Glyph(int w, int h) : width(w), height(h), px(static_cast<size_t>(w) * h, 0) {}

  bool Lit(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && px[static_cast<size_t>(y) * width + x];
  }
  void Set(int x, int y, bool lit = true) {
    if (x >= 0 && y >= 0 && x < width && y < height) px[static_cast<size_t>(y) * width + x] = lit;
  }
  // Copies src with its top-left at (dx, dy); parts outside are dropped.
  void Blit(const Glyph& src, int dx, int dy) {
    for (int y = 0; y < src.height; ++y)
      for (int x = 0; x < src.width; ++x)
        if (src.Lit(x, y)) Set(dx + x, dy + y);
  }
};

// Builds a glyph from rows of '#' (lit) and '.' (unlit); all rows must be equally long.
inline Glyph FromArt(std::initializer_list<const char*> rows) {
  std::vector<std::string> r(rows.begin(), rows.end());
  Glyph g(r.empty() ? 0 : static_cast<int>(r[0].size()), static_cast<int>(r.size()));
  for (int y = 0; y < g.height; ++y) {
    if (static_cast<int>(r[y].size()) != g.width) throw std::logic_error("ragged art: " + r[y]);
    for (int x = 0; x < g.width; ++x) g.Set(x, y, r[y][x] == '#');
  }
  return g;
}

// Our own designs (designs.cpp).
const Glyph& Ascii5x7(int code);          // 32..126, 5 x 7
constexpr int kSymbolCount = 15;          // heart, smiley, star, note, arrows ->, <-, up, down,
                                          // sun, moon, umbrella, house, envelope, check, diamond
const Glyph& SmallSymbol(int index);      // 5 x 7
const Glyph& Symbol12x11(int index);      // 12 x 11
const Glyph& Symbol16x16(int index);      // 16 x 16
const Glyph& HexDigit3x5(int digit);      // 0..15

}  // namespace fontgen
