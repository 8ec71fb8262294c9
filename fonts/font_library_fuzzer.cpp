// Feeds arbitrary bytes to the library decoders as if they were a loaded library file, and
// to a user font as its glyph file (with a size table made from the same bytes).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <unistd.h>

#include "fonts/font_library.h"
#include "fonts/user_font.h"

using namespace kirrup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  CharColumns r;
  for (int code = 0; code <= 140; ++code) {
    r = CharColumns{};
    Decode7(bytes, code, 1, r);
    r = CharColumns{};
    DecodeAscii11(bytes, code, r);
    r = CharColumns{};
    DecodeAscii16(bytes, code, r);
  }
  for (int i = -1; i <= 15; ++i) {
    r = CharColumns{};
    DecodeSymbol11(bytes, i, r);
    r = CharColumns{};
    DecodeSymbol16(bytes, i, r);
  }
  // The same bytes as a (short) size table and as the glyph file behind it.
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kirrup_fuzz_" + std::to_string(getpid()) + ".fnt")).string();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  UserFont font;
  font.Load(bytes, path);
  for (uint32_t slot = 0; slot < 64 && slot < size / 2 + 2; ++slot)
    for (int gap = 0; gap <= 4; gap += 4) {
      r = CharColumns{};
      if (font.Read(static_cast<uint16_t>(slot), gap, r) && r.byteCount > CharColumns::kMaxBytes) __builtin_trap();
    }
  return 0;
}
