// SPDX-License-Identifier: GPL-2.0-or-later
// A fuzzed program folder: a user font size table, its glyph file and a library file are
// loaded as at start-up and glyphs rendered from them for every LED type. Nothing may
// crash, block or produce a record that breaks its own layout.
//
// Input: table length (2 bytes, little-endian), the size table, glyph file length (2 bytes),
// the glyph file; the rest is the library file (each of the five names in turn, by input).
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "fonts/font_engine.h"
#include "lines/led_type.h"
#include "tests/fixtures/fuzz_check.h"

using namespace kirrup;

namespace {

std::span<const uint8_t> Take(const uint8_t*& p, const uint8_t* end) {
  if (end - p < 2) return {};
  const size_t n = std::min<size_t>(p[0] | (p[1] << 8), static_cast<size_t>(end - p - 2));
  const std::span<const uint8_t> part(p + 2, n);
  p += 2 + n;
  return part;
}

void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kirrup-font-fuzz-" + std::to_string(::getpid()));
  static const std::filesystem::path lib = folder / "LIB";
  static const bool made = std::filesystem::create_directories(lib) || true;
  (void)made;
  const uint8_t* p = data;
  const uint8_t* const end = data + size;
  const std::span<const uint8_t> table = Take(p, end);
  const std::span<const uint8_t> glyphs = Take(p, end);
  const std::span<const uint8_t> library(p, static_cast<size_t>(end - p));
  std::filesystem::remove_all(lib);
  std::filesystem::create_directories(lib);
  WriteFile(lib / "UserZK11.fnt", glyphs);
  WriteFile(lib / "UserZK16.fnt", glyphs);
  const auto which = static_cast<FontLibrary>(size % kFontLibraryCount);
  WriteFile(lib / FontLibraryFileName(which), library);

  ResetLedTypeTable();
  ApplyLed11Settings(static_cast<int>(size % 5), 156);
  FontEngine fonts;
  fonts.LoadLibraries(folder.string(), table, table);
  CHECK(fonts.library(which).loaded == (!library.empty() && library.size() <= kMaxLibraryBytes));
  // The symbols, most of ASCII and the first codes the table reaches, for all three types: every
  // user font lookup opens the glyph file, so more codes only slow the search down.
  const int lastCode = std::clamp<int>(static_cast<int>(table.size() / 2), 64, 160);
  for (int type = 0; type < 3; ++type) {
    for (int code = 0; code <= lastCode; ++code) {
      CharColumns r;
      if (!fonts.RenderGlyph(type, static_cast<uint16_t>(code), r)) continue;
      CHECK(r.byteCount <= CharColumns::kMaxBytes && r.width >= 0 && r.height >= 0);
      for (int col = 0; col < r.width; ++col)
        for (int k = 0; k < r.height; ++k) r.Dot(col, k);
    }
  }
  return 0;
}
