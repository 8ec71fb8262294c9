// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A user font: a size table in the program and a glyph file in LIB/ that holds every
// code's glyph back to back in code order, already in the record's column layout.
// The glyph file is never held in memory: every lookup opens, seeks, reads and closes it.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "lines/char_columns.h"

namespace kirrup {

class UserFont {
 public:
  // Builds the offset table from a size table (entries past its end count as empty) and
  // sets the glyph file; the font is available when that file exists. An empty table
  // leaves the font without path and unavailable.
  void Load(std::span<const uint8_t> sizeTable, std::filesystem::path glyphFile);
  // Frees the offset table; lookups then produce nothing.
  void Release();

  bool available() const { return available_; }
  bool hasTable() const { return !offsets_.empty(); }
  const std::filesystem::path& path() const { return path_; }

  // Width and height of a slot, and its byte offset in the glyph file.
  int Width(uint16_t slot) const;
  int Height(uint16_t slot) const;
  uint32_t Offset(uint16_t slot) const {
    return offsets_.empty() ? 0 : offsets_[std::min<size_t>(slot, offsets_.size() - 1)];
  }
  // The glyph file's length its table asks for: every slot's bytes back to back.
  uint64_t GlyphBytes() const;

  // Reads a slot into a cleared record: `gap` empty two-byte columns first (the character's
  // right side; 11 LEDs), then the glyph's bytes. Fills width, height and byteCount.
  // False when the file does not open, there is no table, or the file ends before the
  // glyph's last byte.
  bool Read(uint16_t slot, int gap, CharColumns& record) const;

 private:
  std::vector<uint8_t> sizeTable_;
  std::vector<uint32_t> offsets_;  // slots 0 .. the table's last, and its total, while loaded
  std::filesystem::path path_;
  bool available_ = false;
};

}  // namespace kirrup
