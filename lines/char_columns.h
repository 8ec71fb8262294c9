// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// CharColumns: the 84-byte record in which one character leaves or enters a line
// (clipboard, LED data file, undo snapshots, glyph rendering, device image).
//
// Byte layout, little-endian, no padding:
//   0 code u16 | 2 width i32 | 6 height i32 | 10 kind u8 | 11 byteCount u8 | 12 columns[72]
// Columns are whole bytes each ((height + 7) / 8 per column); inside a column the most
// significant bit of the first byte is the bottom row and the rows go upwards.
// In stored order the first column is the character's rightmost, in device order its leftmost.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kirrup {

enum class GlyphKind : uint8_t { NotSet = 0, UserFont = 1, Symbol = 2, Ascii = 3 };

struct CharColumns {
  static constexpr size_t kSize = 84;
  static constexpr size_t kMaxBytes = 72;

  uint16_t code = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t kind = 0;
  uint8_t byteCount = 0;
  std::array<uint8_t, kMaxBytes> columns{};

  // The largest width or height a record from outside (file, clipboard) may claim: far
  // beyond any line or board, yet small enough that no product of the two overflows.
  static constexpr int32_t kMaxExtent = 0xFFFF;
  bool ExtentsInRange() const {
    return width >= -kMaxExtent && width <= kMaxExtent && height >= -kMaxExtent && height <= kMaxExtent;
  }

  // Bytes per column for this record's height (0 or less for a height below 1); exact for
  // any 32-bit height.
  int BytesPerColumn() const { return static_cast<int>((static_cast<int64_t>(height) + 7) / 8); }

  // Dot k of column col (k = 0 is the bottom row); false outside the 72 bytes.
  bool Dot(int col, int k) const;
  void SetDot(int col, int k, bool lit);

  // Serialisation. Parse reads exactly kSize bytes (returns false if fewer are given)
  // and never interprets width/height: checking them is the consumer's job.
  void Write(std::span<uint8_t, kSize> out) const;
  static bool Parse(std::span<const uint8_t> in, CharColumns& out);

  bool operator==(const CharColumns&) const = default;
};

// Arrays of records stored back to back. A trailing partial record is ignored.
std::vector<uint8_t> WriteRecords(std::span<const CharColumns> records);
std::vector<CharColumns> ParseRecords(std::span<const uint8_t> bytes);

}  // namespace kirrup
