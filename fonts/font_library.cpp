// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_library.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>

namespace kirrup {
namespace {

constexpr size_t kHeader = 4;

bool Fits(std::span<const uint8_t> data, size_t offset, size_t bytes) {
  return offset <= data.size() && bytes <= data.size() - offset;
}

// ASCII of 11 and 16 LEDs: eight columns of v = high * 256 + low; the column is
// NOT((v << shift) | fill), 16 bits, high byte first. Set bits of the file are dark.
bool DecodeAscii(std::span<const uint8_t> data, int code, int shift, uint16_t fill, CharColumns& out) {
  if (code < 32 || code > 126) return false;
  const size_t b = kHeader + static_cast<size_t>(code - 32) * 32;
  if (!Fits(data, b, 32)) return false;
  for (size_t j = 0; j < 8; ++j) {
    const unsigned v = data[b + 4 * j] * 256u + data[b + 4 * j + 2];
    const auto w = static_cast<uint16_t>(~((v << shift) | fill));
    out.columns[2 * j] = static_cast<uint8_t>(w >> 8);
    out.columns[2 * j + 1] = static_cast<uint8_t>(w & 0xFF);
  }
  out.width = 8;
  out.height = 16;
  out.byteCount = 16;
  return true;
}

// Symbols: `count` column bytes, each the NOT of the low byte of a word from `skip` bytes on.
bool DecodeSymbol(std::span<const uint8_t> data, int index, size_t skip, int width, CharColumns& out) {
  if (index < 0 || index > 14) return false;
  const size_t b = kHeader + static_cast<size_t>(index) * 64;
  if (!Fits(data, b, 64)) return false;
  const size_t count = static_cast<size_t>(width) * 2;
  for (size_t i = 0; i < count; ++i) out.columns[i] = static_cast<uint8_t>(~data[b + skip + 2 * i]);
  out.width = width;
  out.height = 16;
  out.byteCount = static_cast<uint8_t>(count);
  return true;
}

}  // namespace

const char* FontLibraryFileName(FontLibrary lib) {
  static const char* const kNames[kFontLibraryCount] = {
      "THE_7ASCII.bin", "THE_11ASCII.bin", "THE_11FH.bin", "THE_16ASCII.bin", "THE_16FH.bin"};
  return kNames[static_cast<int>(lib)];
}

LibraryBuffer LoadLibraryFile(const std::filesystem::path& path) {
  LibraryBuffer lib;
  uint64_t size = 0;
  const platform::UniqueFd fd = platform::OpenRegularFile(path.string(), size, &lib.error);
  if (!fd) return lib;
  lib.size = size;
  if (lib.size < 1 || lib.size > kMaxLibraryBytes) return lib;
  std::vector<uint8_t> data(static_cast<size_t>(lib.size));
  // A file that shrank between measuring and reading keeps only what was read.
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::read(fd.get(), data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) lib.error = platform::FileError{errno, std::strerror(errno)};
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  data.resize(done);
  if (data.empty()) return lib;
  lib.size = data.size();
  lib.data = std::move(data);
  lib.loaded = true;
  return lib;
}

int SymbolIndex(uint16_t code) {
  if (code >= 1 && code <= 8) return code - 1;
  if (code == 11 || code == 12) return code - 3;
  if (code >= 14 && code <= 18) return code - 4;
  return -1;
}

bool Decode7(std::span<const uint8_t> data, int tableCode, int gap, CharColumns& out) {
  if (tableCode < 32 || tableCode > 136 || gap < 0) return false;
  const size_t b = kHeader + static_cast<size_t>(tableCode - 32) * 10;
  if (!Fits(data, b, 10)) return false;
  const int width = gap + 5;
  // One byte a column; a gap that would push columns past the record keeps only what fits.
  const int lead = std::min<int>(gap, CharColumns::kMaxBytes);
  std::fill_n(out.columns.begin(), lead, 0);
  for (int j = 0; j < 5 && lead + j < static_cast<int>(CharColumns::kMaxBytes); ++j) {
    const uint8_t c = data[b + 2 * static_cast<size_t>(j)];
    out.columns[static_cast<size_t>(lead + j)] = static_cast<uint8_t>((c & 0xF0) | ((c & 0x07) << 1));
  }
  out.width = width;
  out.height = 7;
  out.byteCount = static_cast<uint8_t>(std::min<int>(width, CharColumns::kMaxBytes));
  return true;
}

bool DecodeAscii11(std::span<const uint8_t> data, int code, CharColumns& out) {
  return DecodeAscii(data, code, 1, 0x1, out);
}
bool DecodeAscii16(std::span<const uint8_t> data, int code, CharColumns& out) {
  return DecodeAscii(data, code, 3, 0x7, out);
}
bool DecodeSymbol11(std::span<const uint8_t> data, int index, CharColumns& out) {
  return DecodeSymbol(data, index, 16, 12, out);
}
bool DecodeSymbol16(std::span<const uint8_t> data, int index, CharColumns& out) {
  return DecodeSymbol(data, index, 0, 16, out);
}

}  // namespace kirrup
