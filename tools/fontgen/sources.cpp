// SPDX-License-Identifier: GPL-2.0-or-later
#include "sources.h"

#include <fstream>
#include <stdexcept>

namespace fontgen {

FreeTypeLibrary::FreeTypeLibrary() {
  if (FT_Init_FreeType(&lib_) != 0) throw std::runtime_error("FreeType does not start");
}
FreeTypeLibrary::~FreeTypeLibrary() { FT_Done_FreeType(lib_); }

BitmapFace::BitmapFace(const FreeTypeLibrary& lib, const std::string& path, int faceIndex,
                       int pixelSize) {
  if (FT_New_Face(lib.get(), path.c_str(), faceIndex, &face_) != 0)
    throw std::runtime_error("cannot open font " + path);
  outline_ = pixelSize > 0 && FT_IS_SCALABLE(face_);
  const bool sized = outline_ ? FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize)) == 0
                              : face_->num_fixed_sizes > 0 && FT_Select_Size(face_, 0) == 0;
  if (!sized) {
    FT_Done_Face(face_);
    throw std::runtime_error("cannot size font " + path);
  }
  ascent_ = static_cast<int>(face_->size->metrics.ascender / 64);
}

BitmapFace::~BitmapFace() { FT_Done_Face(face_); }

std::optional<SourceGlyph> BitmapFace::Load(uint32_t code) const {
  const FT_UInt index = FT_Get_Char_Index(face_, code);
  if (index == 0) return std::nullopt;
  if (FT_Load_Glyph(face_, index, (outline_ ? 0 : FT_LOAD_SBITS_ONLY) | FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
    return std::nullopt;
  const FT_GlyphSlot s = face_->glyph;
  if (s->format != FT_GLYPH_FORMAT_BITMAP) return std::nullopt;
  const FT_Bitmap& b = s->bitmap;
  SourceGlyph g;
  g.bitmap = Glyph(static_cast<int>(b.width), static_cast<int>(b.rows));
  for (unsigned y = 0; y < b.rows; ++y) {
    const unsigned char* row = b.buffer + static_cast<long>(y) * b.pitch;
    for (unsigned x = 0; x < b.width; ++x) {
      const bool lit = b.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x / 8] & (0x80 >> (x % 8))) != 0
                                                          : row[x] >= 128;
      g.bitmap.Set(static_cast<int>(x), static_cast<int>(y), lit);
    }
  }
  g.left = s->bitmap_left;
  g.top = s->bitmap_top;
  g.advance = static_cast<int>((s->advance.x + 32) / 64);
  return g;
}

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

UnifontHex::UnifontHex(const std::string& path) : glyphs_(0x10000) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::string line;
  while (std::getline(in, line)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    const uint32_t code = static_cast<uint32_t>(std::stoul(line.substr(0, colon), nullptr, 16));
    if (code > 0xFFFF) continue;
    const std::string hex = line.substr(colon + 1);
    // 16 rows; each row is hex.size() / 16 digits, 4 columns per digit.
    if (hex.empty() || hex.size() % 16 != 0) throw std::runtime_error("bad unifont line: " + line);
    const int digitsPerRow = static_cast<int>(hex.size() / 16);
    auto g = std::make_unique<Glyph>(digitsPerRow * 4, 16);
    for (int y = 0; y < 16; ++y)
      for (int d = 0; d < digitsPerRow; ++d) {
        const int v = HexValue(hex[static_cast<size_t>(y * digitsPerRow + d)]);
        if (v < 0) throw std::runtime_error("bad unifont line: " + line);
        for (int bit = 0; bit < 4; ++bit) g->Set(d * 4 + bit, y, (v & (8 >> bit)) != 0);
      }
    if (!glyphs_[code]) ++count_;
    glyphs_[code] = std::move(g);
  }
}

const Glyph* UnifontHex::Find(uint32_t code) const {
  return code <= 0xFFFF ? glyphs_[code].get() : nullptr;
}

}  // namespace fontgen
