// SPDX-License-Identifier: GPL-2.0-or-later
// A fuzzed program folder: a user font size table, its glyph file and a library file are
// loaded as at start-up and glyphs rendered from them for every LED type. Nothing may
// crash, block or produce a record that breaks its own layout.
//
// Input: table length (2 bytes, little-endian), the size table, glyph file length (2 bytes),
// the glyph file; the rest is the library file (each of the five names in turn, by input).
//
// The folder's files live in memory: each name in LIB is a link to a memfd of this
// process (/proc/self/fd/N), rewritten for every input, so the font code opens, seeks and
// reads them by path as it does at start-up, without a disk under it.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// A memfd reached by path through a link in the folder.
int MemoryFile(const std::filesystem::path& link, const char* name) {
  const int fd = ::memfd_create(name, MFD_CLOEXEC);
  CHECK(fd >= 0);
  std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(fd), link);
  return fd;
}

void Fill(int fd, std::span<const uint8_t> bytes) {
  CHECK(::ftruncate(fd, 0) == 0);
  CHECK(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
}

struct MemoryFolder {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kirrup-font-fuzz-" + std::to_string(::getpid()));
  std::filesystem::path lib = folder / "LIB";
  int glyphs = -1;   // both user font names show the one glyph file
  int library = -1;  // shown under the name of the input's library; the other names are missing
  FontLibrary libraryName = FontLibrary::k7Ascii;

  MemoryFolder() {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(lib);
    glyphs = MemoryFile(lib / "UserZK11.fnt", "glyphs");
    std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(glyphs), lib / "UserZK16.fnt");
    library = MemoryFile(lib / FontLibraryFileName(libraryName), "library");
  }
  ~MemoryFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  void NameLibrary(FontLibrary name) {
    if (name == libraryName) return;
    std::filesystem::rename(lib / FontLibraryFileName(libraryName), lib / FontLibraryFileName(name));
    libraryName = name;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static MemoryFolder files;
  const uint8_t* p = data;
  const uint8_t* const end = data + size;
  const std::span<const uint8_t> table = Take(p, end);
  const std::span<const uint8_t> glyphs = Take(p, end);
  const std::span<const uint8_t> library(p, static_cast<size_t>(end - p));
  Fill(files.glyphs, glyphs);
  const auto which = static_cast<FontLibrary>(size % kFontLibraryCount);
  files.NameLibrary(which);
  Fill(files.library, library);

  ResetLedTypeTable();
  ApplyLed11Settings(static_cast<int>(size % 5), 156);
  FontEngine fonts;
  fonts.LoadLibraries(files.folder.string(), table, table);
  CHECK(fonts.library(which).loaded == (!library.empty() && library.size() <= kMaxLibraryBytes));
  // The symbols, most of ASCII and the first codes the table reaches, for all three types.
  // Every user font lookup opens the glyph file: an input renders every thirty-second code
  // (which ones, it chooses by its size), one input in thirty-two renders every code, and
  // one in a hundred and twenty-eight reads every dot too.
  const bool everyCode = fuzz::OneIn(data, size, 32);
  const bool everyDot = fuzz::OneIn(data, size, 128);
  const int step = everyCode ? 1 : 32;
  const int lastCode = std::clamp<int>(static_cast<int>(table.size() / 2), 64, 160);
  for (int type = 0; type < 3; ++type) {
    for (int code = everyCode ? 0 : static_cast<int>(size / 5 % 32); code <= lastCode; code += step) {
      CharColumns r;
      if (!fonts.RenderGlyph(type, static_cast<uint16_t>(code), r)) continue;
      CHECK(r.byteCount <= CharColumns::kMaxBytes && r.width >= 0 && r.height >= 0);
      // A dot's place grows with its column and row: the far corner is the furthest read.
      if (r.width > 0 && r.height > 0) r.Dot(r.width - 1, r.height - 1);
      // Columns from the 72nd on lie wholly past the record's bytes, whatever the height.
      if (everyDot)
        for (int col = 0; col < std::min<int>(r.width, CharColumns::kMaxBytes + 1); ++col)
          for (int k = 0; k < r.height; ++k) r.Dot(col, k);
    }
  }
  return 0;
}
