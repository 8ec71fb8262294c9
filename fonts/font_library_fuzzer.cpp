// SPDX-License-Identifier: GPL-2.0-or-later
// Feeds arbitrary bytes to every library decoder as if they were a loaded library file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fonts/font_library.h"

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
    if (r.byteCount > CharColumns::kMaxBytes) __builtin_trap();
  }
  return 0;
}
