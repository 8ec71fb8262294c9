// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/text_rasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <unordered_map>
#include <vector>

namespace kirrup::platform {
namespace {

struct FcPatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FcFontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct FcCharSetDeleter {
  void operator()(FcCharSet* s) const { FcCharSetDestroy(s); }
};
using PatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FcFontSetDeleter>;
using CharSetPtr = std::unique_ptr<FcCharSet, FcCharSetDeleter>;

class FtLibrary {
 public:
  FtLibrary() {
    if (FT_Init_FreeType(&lib_) != 0) lib_ = nullptr;
  }
  ~FtLibrary() {
    if (lib_) FT_Done_FreeType(lib_);
  }
  FtLibrary(const FtLibrary&) = delete;
  FtLibrary& operator=(const FtLibrary&) = delete;
  FT_Library get() const { return lib_; }

 private:
  FT_Library lib_ = nullptr;
};

class Face {
 public:
  Face(FT_Library lib, const std::string& file, int index) : file_(file), index_(index) {
    if (FT_New_Face(lib, file.c_str(), index, &face_) != 0) face_ = nullptr;
  }
  ~Face() {
    if (face_) FT_Done_Face(face_);
  }
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  FT_Face get() const { return face_; }
  const std::string& file() const { return file_; }
  int index() const { return index_; }

  // Sizes the face: cell (win ascent + win descent) -> cellHeight pixels; horizontally either
  // the average width -> avgWidth pixels (stretch < 0) or the given stretch of the em.
  // Returns the horizontal stretch (em width / em height) in force.
  double SetSize(int cellHeight, int avgWidth, double stretch) {
    if (!FT_IS_SCALABLE(face_)) {
      int best = 0;
      for (int i = 1; i < face_->num_fixed_sizes; ++i)
        if (std::abs(face_->available_sizes[i].height - cellHeight) <
            std::abs(face_->available_sizes[best].height - cellHeight))
          best = i;
      if (face_->num_fixed_sizes > 0) FT_Select_Size(face_, best);
      return stretch > 0 ? stretch : 1.0;
    }
    const double upem = face_->units_per_EM > 0 ? face_->units_per_EM : 1000;
    double cell = 0, avg = 0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      cell = os2->usWinAscent + os2->usWinDescent;
      avg = os2->xAvgCharWidth;
    } else {
      cell = face_->ascender - face_->descender;
    }
    if (cell <= 0) cell = upem;
    const double emY = cellHeight * upem / cell;
    double emX = emY;
    if (stretch > 0) emX = emY * stretch;
    else if (avg > 0) emX = avgWidth * upem / avg;
    FT_Set_Char_Size(face_, std::max<FT_F26Dot6>(1, std::lround(emX * 64)),
                     std::max<FT_F26Dot6>(1, std::lround(emY * 64)), 72, 72);
    return emX / emY;
  }

  // Pixels from the cell's top to the baseline at the current size.
  int Ascent(int cellHeight) const {
    if (!FT_IS_SCALABLE(face_)) return static_cast<int>(face_->size->metrics.ascender / 64);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    double asc = face_->ascender, cell = face_->ascender - face_->descender;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
      asc = os2->usWinAscent, cell = os2->usWinAscent + os2->usWinDescent;
    if (cell <= 0) return cellHeight * 4 / 5;
    return static_cast<int>(std::lround(cellHeight * asc / cell));
  }

 private:
  FT_Face face_ = nullptr;
  std::string file_;
  int index_ = 0;
};

std::string PatternString(const FcPattern* p, const char* object) {
  FcChar8* s = nullptr;
  if (FcPatternGetString(p, object, 0, &s) != FcResultMatch || !s) return {};
  return reinterpret_cast<const char*>(s);
}
int PatternInt(const FcPattern* p, const char* object) {
  int v = 0;
  FcPatternGetInteger(p, object, 0, &v);
  return v;
}

}  // namespace

struct TextRasterizer::Impl {
  FtLibrary lib;
  int cellHeight = 0;
  int avgWidth = 0;
  double stretch = 1.0;
  int ascent = 0;
  std::string family;
  PatternPtr pattern;                  // the request, after fontconfig's substitutions
  FontSetPtr candidates;               // faces that may have missing characters, best first
  bool candidatesLoaded = false;
  std::vector<std::unique_ptr<Face>> faces;  // [0] the chosen face, then stand-ins
  struct Slot {
    int face = 0;
    FT_UInt glyph = 0;  // 0: no face has the character, the chosen face's missing-glyph box
  };
  std::unordered_map<char32_t, Slot> slots;  // which face draws a character

  Face* OpenFace(const std::string& file, int index) {
    for (auto& f : faces)
      if (f->file() == file && f->index() == index) return f.get();
    auto face = std::make_unique<Face>(lib.get(), file, index);
    if (!face->get()) return nullptr;
    const double s = face->SetSize(cellHeight, avgWidth, faces.empty() ? -1.0 : stretch);
    if (faces.empty()) stretch = s;
    faces.push_back(std::move(face));
    return faces.back().get();
  }

  Slot Resolve(char32_t c) {
    if (const FT_UInt g = FT_Get_Char_Index(faces[0]->get(), c)) return {0, g};
    // Control characters and surrogate code units are not text: the chosen face draws them
    // (as its missing-glyph box) without a search through the installed fonts.
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF)) return {};
    if (auto it = slots.find(c); it != slots.end()) return it->second;
    Slot slot;
    for (size_t i = 1; i < faces.size() && slot.glyph == 0; ++i)
      if (const FT_UInt g = FT_Get_Char_Index(faces[i]->get(), c)) slot = {static_cast<int>(i), g};
    if (slot.glyph == 0) slot = AskFontconfig(c);
    slots.emplace(c, slot);
    return slot;
  }

  Slot AskFontconfig(char32_t c) {
    if (!candidatesLoaded) {
      candidatesLoaded = true;
      FcResult result = FcResultNoMatch;
      candidates.reset(FcFontSort(nullptr, pattern.get(), FcTrue, nullptr, &result));
    }
    if (!candidates) return {};
    for (int i = 0; i < candidates->nfont; ++i) {
      FcPattern* p = candidates->fonts[i];
      FcCharSet* cs = nullptr;
      if (FcPatternGetCharSet(p, FC_CHARSET, 0, &cs) != FcResultMatch || !FcCharSetHasChar(cs, c))
        continue;
      Face* face = OpenFace(PatternString(p, FC_FILE), PatternInt(p, FC_INDEX));
      if (!face) continue;
      if (const FT_UInt g = FT_Get_Char_Index(face->get(), c)) {
        for (size_t k = 0; k < faces.size(); ++k)
          if (faces[k].get() == face) return {static_cast<int>(k), g};
      }
    }
    return {};
  }

  // Loads and renders the character into its face's glyph slot.
  FT_GlyphSlot Load(char32_t c) {
    const Slot slot = Resolve(c);
    FT_Face face = faces[slot.face]->get();
    const FT_Int32 flags = FT_IS_SCALABLE(face) ? FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT
                                                : FT_LOAD_DEFAULT;
    if (FT_Load_Glyph(face, slot.glyph, flags) != 0) return nullptr;
    if (face->glyph->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0)
      return nullptr;
    return face->glyph;
  }
};

TextRasterizer::TextRasterizer(std::string_view familyUtf8, int cellHeight, int avgWidth)
    : impl_(std::make_unique<Impl>()) {
  impl_->cellHeight = std::max(1, cellHeight);
  impl_->avgWidth = std::max(1, avgWidth);
  if (!impl_->lib.get() || !FcInit()) return;
  // Weight 400, upright, variable pitch of the Swiss family: the named family first,
  // the generic sans-serif family behind it.
  PatternPtr p(FcPatternCreate());
  const std::string family(familyUtf8);
  if (!family.empty()) FcPatternAddString(p.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddString(p.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddInteger(p.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(p.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddDouble(p.get(), FC_PIXEL_SIZE, impl_->cellHeight);
  FcConfigSubstitute(nullptr, p.get(), FcMatchPattern);
  FcDefaultSubstitute(p.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, p.get(), &result));
  impl_->pattern = std::move(p);
  if (!match) return;
  if (!impl_->OpenFace(PatternString(match.get(), FC_FILE), PatternInt(match.get(), FC_INDEX))) return;
  impl_->family = PatternString(match.get(), FC_FAMILY);
  impl_->ascent = impl_->faces[0]->Ascent(impl_->cellHeight);
}

TextRasterizer::~TextRasterizer() = default;

bool TextRasterizer::ok() const { return !impl_->faces.empty(); }
std::string TextRasterizer::familyName() const { return impl_->family; }
std::string TextRasterizer::fileName() const { return ok() ? impl_->faces[0]->file() : std::string(); }

namespace {

void Blit(FT_GlyphSlot slot, int ascent, Bitmap1& target, int x, int y) {
  const FT_Bitmap& b = slot->bitmap;
  const int ox = x + slot->bitmap_left;
  const int oy = y + ascent - slot->bitmap_top;
  for (unsigned r = 0; r < b.rows; ++r) {
    const unsigned char* row = b.buffer + static_cast<long>(r) * b.pitch;
    for (unsigned col = 0; col < b.width; ++col) {
      const bool lit = b.pixel_mode == FT_PIXEL_MODE_MONO ? (row[col / 8] & (0x80 >> (col % 8))) != 0
                                                          : row[col] >= 128;
      if (lit) target.Set(ox + static_cast<int>(col), oy + static_cast<int>(r), true);
    }
  }
}

int Advance(FT_GlyphSlot slot) { return static_cast<int>((slot->advance.x + 32) / 64); }

}  // namespace

TextExtent TextRasterizer::Measure(char32_t c) {
  if (!ok()) return {};
  const FT_GlyphSlot slot = impl_->Load(c);
  return {slot ? Advance(slot) : 0, impl_->cellHeight};
}

void TextRasterizer::Draw(char32_t c, Bitmap1& target, int x, int y) {
  if (!ok()) return;
  if (const FT_GlyphSlot slot = impl_->Load(c)) Blit(slot, impl_->ascent, target, x, y);
}

bool TextRasterizer::HasGlyph(char32_t c) { return ok() && impl_->Resolve(c).glyph != 0; }

TextExtent TextRasterizer::MeasureAndDraw(char32_t c, Bitmap1& target, int x, int y) {
  if (!ok()) return {};
  const FT_GlyphSlot slot = impl_->Load(c);
  const TextExtent e{slot ? Advance(slot) : 0, impl_->cellHeight};
  if (slot && e.cx > 0) Blit(slot, impl_->ascent, target, x, y);
  return e;
}

}  // namespace kirrup::platform
