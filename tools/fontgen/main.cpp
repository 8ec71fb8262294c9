// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-fontgen: writes the dot-matrix font data of the program folder's LIB/ and the two
// glyph size tables that are compiled into the program. Deterministic: the same sources
// give the same bytes.
//
//   kirrup-fontgen --lib DIR --tables FILE.cpp --unifont unifont.hex --wqy wenquanyi_9pt.pcf
//                  --zenhei wqy-zenhei.ttc --fixed6x10 6x10.pcf.gz --fixed8x13 8x13.pcf.gz
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "glyph.h"
#include "sources.h"

namespace fontgen {
namespace {

// ---- which codes get what -------------------------------------------------------------

// The code units that have no glyph in either user font.
bool HasNoGlyph(uint32_t c) {
  static const std::vector<std::pair<uint32_t, uint32_t>> kRanges = {
      {0x0009, 0x000A}, {0x000D, 0x000D}, {0x001C, 0x001F}, {0x0085, 0x0085}, {0x0302, 0x0302},
      {0x0304, 0x0308}, {0x030A, 0x0322}, {0x0324, 0x033F}, {0x0342, 0x034E}, {0x0360, 0x0362},
      {0x0559, 0x055A}, {0x058A, 0x058A}, {0x064B, 0x0655}, {0x0670, 0x0670}, {0x06D6, 0x06DC},
      {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x07A6, 0x07B0}, {0x07B2, 0x07BF},
      {0x0BE6, 0x0BE6}, {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x200B, 0x200F},
      {0x2029, 0x202E}, {0x206A, 0x206F}, {0xFB1E, 0xFB1E}, {0xFEFF, 0xFEFF}, {0xFFFE, 0xFFFE}};
  for (const auto& [lo, hi] : kRanges)
    if (c >= lo && c <= hi) return true;
  return false;
}

// Ideographs, Hangul, kana, full-width forms, private use: one full cell wide.
bool IsWide(uint32_t c) {
  static const std::vector<std::pair<uint32_t, uint32_t>> kRanges = {
      {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xE000, 0xF8FF}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F},
      {0xFF01, 0xFF60}, {0xFFE0, 0xFFE6}};
  for (const auto& [lo, hi] : kRanges)
    if (c >= lo && c <= hi) return true;
  return false;
}

// Codes drawn at the narrow ASCII width: controls and symbols below 32, and 32..127.
bool IsNarrowFixed(uint32_t c) { return c <= 27 || (c >= 32 && c <= 127); }

// Symbol code of the 11- and 16-LED libraries -> symbol index, or -1.
int SymbolIndex(uint32_t c) {
  if (c >= 1 && c <= 8) return static_cast<int>(c) - 1;
  switch (c) {
    case 11: return 8;
    case 12: return 9;
    case 14: return 10;
    case 15: return 11;
    case 16: return 12;
    case 17: return 13;
    case 18: return 14;
    default: return -1;
  }
}

// ---- placeholders ---------------------------------------------------------------------

// A dashed frame: clearly "no picture here".
Glyph DashedBox(int w, int h, int x0, int y0, int x1, int y1) {
  Glyph g(w, h);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if ((x == x0 || x == x1 || y == y0 || y == y1) && (x + y) % 2 == 0) g.Set(x, y);
  return g;
}

// 16 x 16: a frame with the code's four hexadecimal digits inside.
Glyph HexBox16(uint32_t c) {
  Glyph g(16, 16);
  for (int x = 1; x <= 14; ++x) g.Set(x, 0), g.Set(x, 15);
  for (int y = 0; y <= 15; ++y) g.Set(1, y), g.Set(14, y);
  g.Blit(HexDigit3x5((c >> 12) & 15), 4, 2);
  g.Blit(HexDigit3x5((c >> 8) & 15), 9, 2);
  g.Blit(HexDigit3x5((c >> 4) & 15), 4, 9);
  g.Blit(HexDigit3x5(c & 15), 9, 9);
  return g;
}

// ---- placing source glyphs into cells -----------------------------------------------

// Places a source glyph into a cell of the given size whose baseline lies `ascent` rows
// below the top. When the ink sticks out above or below but is short enough, it is moved
// just far enough to fit; wide glyphs move left in the same way.
Glyph Place(const SourceGlyph& s, int width, int height, int ascent, bool fitInk) {
  int x0 = std::max(0, s.left), y0 = ascent - s.top;
  if (fitInk) {
    int top = height, bottom = -1, right = -1;
    for (int y = 0; y < s.bitmap.height; ++y)
      for (int x = 0; x < s.bitmap.width; ++x)
        if (s.bitmap.Lit(x, y)) {
          top = std::min(top, y0 + y), bottom = std::max(bottom, y0 + y);
          right = std::max(right, x0 + x);
        }
    if (bottom >= 0) {
      if (bottom - top + 1 <= height) {
        if (top < 0) y0 -= top;
        else if (bottom >= height) y0 -= bottom - height + 1;
      }
      if (right >= width) x0 = std::max(0, x0 - (right - width + 1));
    }
  }
  Glyph g(width, height);
  g.Blit(s.bitmap, x0, y0);
  return g;
}

// The whole cell of a fixed-width bitmap font (e.g. 6 x 10), baseline where the font has it.
Glyph Cell(const BitmapFace& face, uint32_t code, int width, int height, bool* found) {
  const auto s = face.Load(code);
  *found = s.has_value();
  if (!s) return Glyph(width, height);
  return Place(*s, width, height, face.ascent(), false);
}

// ---- encoders -------------------------------------------------------------------------

// A glyph in the record's column layout: columns right to left, ceil(h / 8) bytes each,
// the bottom row in the most significant bit of the first byte, set bit = lit.
void AppendColumns(const Glyph& g, std::vector<uint8_t>& out) {
  const int bpc = (g.height + 7) / 8;
  for (int col = 0; col < g.width; ++col) {
    const int x = g.width - 1 - col;
    std::vector<uint8_t> bytes(static_cast<size_t>(bpc), 0);
    for (int k = 0; k < g.height; ++k)
      if (g.Lit(x, g.height - 1 - k)) bytes[static_cast<size_t>(k / 8)] |= 0x80 >> (k % 8);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
}

// Library files are 2-byte words with the data in the low byte.
class WordFile {
 public:
  explicit WordFile(int records, int recordBytes) {
    // The 4-byte header is not read by the program; it names the record count and size.
    Put(static_cast<uint8_t>(records));
    Put(static_cast<uint8_t>(recordBytes));
  }
  void Put(uint8_t low) { bytes_.push_back(low), bytes_.push_back(0); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// 7 LEDs: five words, rightmost column first; bits 0..2 = rows 0..2, bits 4..7 = rows 3..6, lit.
void PutRecord7(WordFile& f, const Glyph& g) {
  for (int j = 0; j < 5; ++j) {
    const int x = 4 - j;
    uint8_t c = 0;
    for (int r = 0; r < 7; ++r)
      if (g.Lit(x, r)) c |= static_cast<uint8_t>(r < 3 ? 1 << r : 1 << (r + 1));
    f.Put(c);
  }
}

// ASCII of 11 and 16 LEDs: eight columns of two words (high, low) of v, rightmost first;
// bit b of v is row b + shift, set = dark; bits above the used rows are dark too.
void PutAsciiRecord16(WordFile& f, const Glyph& g, int shift) {
  for (int j = 0; j < 8; ++j) {
    const int x = 7 - j;
    uint16_t v = 0xFFFF;
    for (int b = 0; b + shift < 16; ++b)
      if (g.Lit(x, b + shift)) v &= static_cast<uint16_t>(~(1u << b));
    f.Put(static_cast<uint8_t>(v >> 8));
    f.Put(static_cast<uint8_t>(v & 0xFF));
  }
}

// Symbols: the record's column bytes (16 rows, two bytes a column), set = dark.
void PutSymbolBytes(WordFile& f, const Glyph& g16) {
  std::vector<uint8_t> cols;
  AppendColumns(g16, cols);
  for (uint8_t b : cols) f.Put(static_cast<uint8_t>(~b));
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

// ---- the user fonts -------------------------------------------------------------------

struct Sources {
  FreeTypeLibrary ft;
  UnifontHex unifont;
  BitmapFace wqy;      // WenQuanYi Bitmap Song 9pt, 12-pixel strike
  BitmapFace zenhei;   // WenQuanYi Zen Hei Sharp drawn at 12 pixels
  BitmapFace fixed6x10;
  BitmapFace fixed8x13;

  explicit Sources(const std::map<std::string, std::string>& a)
      : unifont(a.at("--unifont")),
        wqy(ft, a.at("--wqy"), 0, 0),
        zenhei(ft, a.at("--zenhei"), 2, 12),
        fixed6x10(ft, a.at("--fixed6x10"), 0, 0),
        fixed8x13(ft, a.at("--fixed8x13"), 0, 0) {}
};

// The small picture a code below 32 shows in the user fonts: the symbol of the 11- and 16-LED
// libraries (the 11-LED font is read at the symbol index, the 16-LED one at the code), or the
// 7-LED symbol of codes 18..27.
const Glyph* SmallPictureFor(uint32_t c, bool led11) {
  if (led11) {
    if (c <= 14) return &SmallSymbol(static_cast<int>(c));
    if (c >= 18 && c <= 27) return &SmallSymbol(static_cast<int>(c) - 18);
    return nullptr;
  }
  if (SymbolIndex(c) >= 0) return &SmallSymbol(SymbolIndex(c));
  if (c >= 19 && c <= 27) return &SmallSymbol(static_cast<int>(c) - 18);
  return nullptr;
}

// 11 rows; the baseline of the ASCII design lies 9 rows below the top, as in THE_11ASCII.bin.
Glyph UserGlyph11(const Sources& src, uint32_t c) {
  constexpr int kH = 11;
  if (c < 32) {
    Glyph g(6, kH);
    if (const Glyph* p = SmallPictureFor(c, true)) g.Blit(*p, 0, 2);
    else g = DashedBox(6, kH, 0, 1, 4, 9);
    return g;
  }
  bool found = false;
  if (c <= 127) {
    Glyph cell = Cell(src.fixed6x10, c, 6, 10, &found);
    if (!found) return DashedBox(6, kH, 0, 1, 4, 9);
    Glyph g(6, kH);
    g.Blit(cell, 0, 1);
    return g;
  }
  const bool wide = IsWide(c);
  if (!wide) {
    Glyph cell = Cell(src.fixed6x10, c, 6, 10, &found);
    if (found) {
      Glyph g(6, kH);
      g.Blit(cell, 0, 1);
      return g;
    }
  }
  // The ideograph designs fill rows 0..10 with the baseline above the last row.
  for (const BitmapFace* face : {&src.wqy, &src.zenhei}) {
    const auto s = face->Load(c);
    if (!s) continue;
    int w = 11;
    if (!wide) {
      w = s->advance;
      if (w < 1) w = std::max(1, s->left + s->bitmap.width);
      w = std::clamp(w, 1, 16);
    }
    return Place(*s, w, kH, 10, true);
  }
  return DashedBox(11, kH, 0, 0, 10, 10);
}

Glyph UserGlyph16(const Sources& src, uint32_t c) {
  constexpr int kH = 16;
  if (c < 32) {
    Glyph g(8, kH);
    if (const Glyph* p = SmallPictureFor(c, false)) g.Blit(*p, 1, 4);
    else g = DashedBox(8, kH, 0, 2, 6, 13);
    return g;
  }
  const Glyph* u = src.unifont.Find(c);
  if (IsNarrowFixed(c)) {
    Glyph g(8, kH);
    if (u) g.Blit(*u, 0, 0);
    else g = DashedBox(8, kH, 0, 2, 6, 13);
    return g;
  }
  if (IsWide(c)) {
    if (!u) return HexBox16(c);
    Glyph g(16, kH);
    g.Blit(*u, u->width < 16 ? (16 - u->width) / 2 : 0, 0);
    return g;
  }
  if (!u) return HexBox16(c);
  return *u;  // 8 or 16 wide, at most 32 in Unifont
}

struct UserFont {
  std::vector<uint8_t> table;   // 131072 bytes: width, height per code
  std::vector<uint8_t> glyphs;  // all glyphs back to back in code order
};

UserFont BuildUserFont(const Sources& src, bool led11) {
  UserFont f;
  f.table.assign(131072, 0);
  const int maxWidth = led11 ? 16 : 36;
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    if (HasNoGlyph(c)) continue;
    Glyph g = led11 ? UserGlyph11(src, c) : UserGlyph16(src, c);
    if (g.width > maxWidth) {
      Glyph cut(maxWidth, g.height);
      cut.Blit(g, 0, 0);
      g = cut;
    }
    f.table[2 * c] = static_cast<uint8_t>(g.width);
    f.table[2 * c + 1] = static_cast<uint8_t>(g.height);
    AppendColumns(g, f.glyphs);
  }
  return f;
}

// ---- the five library files -----------------------------------------------------------

std::vector<uint8_t> BuildLib7() {
  WordFile f(105, 10);
  for (int code = 32; code <= 136; ++code)
    PutRecord7(f, code <= 126 ? Ascii5x7(code) : SmallSymbol(code - 127));
  return f.bytes();
}

std::vector<uint8_t> BuildAscii16(const Sources& src, bool led11) {
  WordFile f(95, 32);
  for (int code = 32; code <= 126; ++code) {
    bool found = false;
    Glyph g(8, 16);
    if (led11) {
      // 6 x 10 design in rows 1..10, one empty column on the left.
      g.Blit(Cell(src.fixed6x10, static_cast<uint32_t>(code), 6, 10, &found), 1, 1);
      PutAsciiRecord16(f, g, 1);
    } else {
      // 8 x 13 design in rows 3..15.
      g.Blit(Cell(src.fixed8x13, static_cast<uint32_t>(code), 8, 13, &found), 0, 3);
      PutAsciiRecord16(f, g, 3);
    }
    if (!found) throw std::runtime_error("ASCII source lacks code " + std::to_string(code));
  }
  return f.bytes();
}

std::vector<uint8_t> BuildSymbols(bool led11) {
  WordFile f(15, 64);
  for (int i = 0; i < kSymbolCount; ++i) {
    Glyph g(led11 ? 12 : 16, 16);
    if (led11) {
      for (int w = 0; w < 8; ++w) f.Put(0xFF);  // words 0..7 are not read
      g.Blit(Symbol12x11(i), 0, 0);
    } else {
      g.Blit(Symbol16x16(i), 0, 0);
    }
    PutSymbolBytes(f, g);
  }
  return f.bytes();
}

// ---- the compiled-in size tables ------------------------------------------------------

void WriteTablesSource(const std::string& path, const UserFont& f11, const UserFont& f16) {
  std::string s =
      "// Generated by kirrup-fontgen from the font sources: the glyph size tables of the two\n"
      "// user fonts (id 168: 11 LEDs, id 167: 16 LEDs). Do not edit.\n"
      "#include \"fonts/glyph_size_tables.h\"\n\nnamespace kirrup {\nnamespace {\n\n";
  auto emit = [&](const char* name, const std::vector<uint8_t>& t) {
    s += "const char ";
    s += name;
    s += "[] =\n";
    static const char* kHex = "0123456789abcdef";
    for (size_t i = 0; i < t.size(); i += 64) {
      s += "    \"";
      for (size_t j = i; j < i + 64 && j < t.size(); ++j) {
        s += "\\x";
        s += kHex[t[j] >> 4];
        s += kHex[t[j] & 15];
      }
      s += "\"\n";
    }
    s += ";\n\n";
  };
  emit("kTable168", f11.table);
  emit("kTable167", f16.table);
  s +=
      "}  // namespace\n\n"
      "std::span<const uint8_t> GlyphSizeTableResource(int id) {\n"
      "  const char* t = id == 168 ? kTable168 : id == 167 ? kTable167 : nullptr;\n"
      "  if (!t) return {};\n"
      "  return {reinterpret_cast<const uint8_t*>(t), kGlyphSizeTableBytes};\n"
      "}\n\n}  // namespace kirrup\n";
  std::ofstream out(path, std::ios::trunc);
  out << s;
  if (!out) throw std::runtime_error("cannot write " + path);
}

int Run(int argc, char** argv) {
  std::map<std::string, std::string> a;
  for (int i = 1; i + 1 < argc; i += 2) a[argv[i]] = argv[i + 1];
  for (const char* k : {"--lib", "--tables", "--unifont", "--wqy", "--zenhei", "--fixed6x10", "--fixed8x13"})
    if (!a.count(k)) {
      std::fprintf(stderr, "kirrup-fontgen: missing %s\n", k);
      return 2;
    }
  const Sources src(a);
  const std::string lib = a["--lib"] + "/";
  WriteFile(lib + "THE_7ASCII.bin", BuildLib7());
  WriteFile(lib + "THE_11ASCII.bin", BuildAscii16(src, true));
  WriteFile(lib + "THE_11FH.bin", BuildSymbols(true));
  WriteFile(lib + "THE_16ASCII.bin", BuildAscii16(src, false));
  WriteFile(lib + "THE_16FH.bin", BuildSymbols(false));
  const UserFont f11 = BuildUserFont(src, true);
  const UserFont f16 = BuildUserFont(src, false);
  WriteFile(lib + "UserZK11.fnt", f11.glyphs);
  WriteFile(lib + "UserZK16.fnt", f16.glyphs);
  WriteTablesSource(a["--tables"], f11, f16);
  return 0;
}

}  // namespace
}  // namespace fontgen

int main(int argc, char** argv) {
  try {
    return fontgen::Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kirrup-fontgen: %s\n", e.what());
    return 1;
  }
}
