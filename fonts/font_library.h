// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The five built-in dot-matrix library files: loading and decoding of one glyph record.
//
// Container: 2-byte words of which only the low byte (even offset) carries data; a 4-byte
// header; then fixed-size records. Every decoder checks that the whole record lies inside
// the data and produces nothing otherwise.
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "lines/char_columns.h"
#include "platform/read_file.h"

namespace kirrup {

enum class FontLibrary : int { k7Ascii = 0, k11Ascii, k11Symbols, k16Ascii, k16Symbols };
constexpr int kFontLibraryCount = 5;
constexpr uint64_t kMaxLibraryBytes = 32768;

// "THE_7ASCII.bin", ... in load order.
const char* FontLibraryFileName(FontLibrary lib);

struct LibraryBuffer {
  bool loaded = false;
  uint64_t size = 0;  // the file's length as found, also when it was too long to load
  std::vector<uint8_t> data;
  platform::FileError error;  // why it could not be opened or read (nothing for a size refused)
};

// Reads the file whole when it is a regular file of 1..32768 bytes; otherwise it stays not
// loaded. Opening never waits (a FIFO is refused at once).
LibraryBuffer LoadLibraryFile(const std::filesystem::path& path);

// The symbol index (0..14) of an 11/16-LED symbol code (1..8, 11, 12, 14..18), or -1.
int SymbolIndex(uint16_t code);

// Each fills width, height, byteCount and the column bytes; false when the record does not fit.
// 7 LEDs: table code 32..136; `gap` empty columns first (the character's right side).
bool Decode7(std::span<const uint8_t> data, int tableCode, int gap, CharColumns& out);
bool DecodeAscii11(std::span<const uint8_t> data, int code, CharColumns& out);   // 32..126
bool DecodeSymbol11(std::span<const uint8_t> data, int index, CharColumns& out);  // 0..14
bool DecodeAscii16(std::span<const uint8_t> data, int code, CharColumns& out);   // 32..126
bool DecodeSymbol16(std::span<const uint8_t> data, int index, CharColumns& out);  // 0..14

}  // namespace kirrup
