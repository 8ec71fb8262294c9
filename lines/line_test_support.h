// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Helpers shared by the line, data file and device image tests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fonts/glyph_source.h"
#include "lines/char_columns.h"
#include "lines/led_type.h"
#include "lines/message_line.h"

namespace kirrup::testing {

// A record in stored order whose dot (screen column i from the left, row j from the top)
// is lit when dot(i, j) says so.
inline CharColumns MakeRecord(uint16_t code, int width, int height,
                              const std::function<bool(int, int)>& dot) {
  CharColumns r{};
  r.code = code;
  r.width = width;
  r.height = height;
  const int bpc = (height + 7) / 8;
  r.byteCount = static_cast<uint8_t>(std::min(width * bpc, 72));
  for (int i = 0; i < width; ++i)
    for (int j = 0; j < height; ++j)
      if (dot(i, j)) r.SetDot(width - 1 - i, height - 1 - j, true);
  return r;
}

// A pattern that differs between codes, columns and rows.
inline bool PatternDot(uint32_t seed, int i, int j) {
  uint32_t h = seed * 2654435761u ^ static_cast<uint32_t>(i) * 73856093u ^ static_cast<uint32_t>(j) * 19349663u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return (h & 3) == 0;
}

// Glyphs for tests: width from a table (default 5 + gap 1 like the 7-LED ASCII font),
// height the LED count, dots from PatternDot. Codes listed in missing have no glyph.
class FakeGlyphs : public GlyphSource {
 public:
  std::function<int(uint16_t)> widthOf = [](uint16_t) { return 6; };
  std::vector<uint16_t> missing;
  int calls = 0;

  bool RenderGlyph(int ledType, uint16_t code, CharColumns& record) override {
    ++calls;
    for (uint16_t m : missing)
      if (m == code) return false;
    const int h = LedTypeRow(ledType).height;
    const CharColumns made = MakeRecord(0, widthOf(code), h, [code](int i, int j) {
      return PatternDot(code, i, j);
    });
    record.width = made.width;
    record.height = made.height;
    record.byteCount = made.byteCount;
    record.columns = made.columns;
    record.kind = 3;
    return true;
  }
};

// Dots of a line's strip, columns 0 .. LineEnd-1 and rows 0 .. height-1, as text rows.
inline std::vector<std::string> LineDots(const MessageLine& line, int from = 0, int to = -1) {
  if (to < 0) to = line.LineEnd();
  std::vector<std::string> rows(static_cast<size_t>(line.height()));
  for (int y = 0; y < line.height(); ++y)
    for (int x = from; x < to; ++x) rows[static_cast<size_t>(y)] += line.Lit(x, y) ? '#' : '.';
  return rows;
}

}  // namespace kirrup::testing
