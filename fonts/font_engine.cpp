// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/font_engine.h"

#include <filesystem>

#include "fonts/glyph_size_tables.h"
#include "lines/led_type.h"
#include "platform/code_page.h"

namespace kirrup {

FontEngine::FontEngine() = default;
FontEngine::~FontEngine() = default;

void FontEngine::LoadLibraries(const std::string& programFolder) {
  LoadLibraries(programFolder, GlyphSizeTableResource(kSizeTable11), GlyphSizeTableResource(kSizeTable16));
}

void FontEngine::LoadLibraries(const std::string& programFolder, std::span<const uint8_t> sizeTable11,
                               std::span<const uint8_t> sizeTable16) {
  const std::filesystem::path lib = std::filesystem::path(programFolder) / "LIB";
  for (int i = 0; i < kFontLibraryCount; ++i)
    libraries_[i] = LoadLibraryFile(lib / FontLibraryFileName(static_cast<FontLibrary>(i)));
  userFont11_.Load(sizeTable11, lib / "UserZK11.fnt");
  userFont16_.Load(sizeTable16, lib / "UserZK16.fnt");
}

void FontEngine::CreateLedFont(int type) {
  if (type < 0 || type > 2) return;
  ledFonts_[type].reset();
  ledFonts_[type] = std::make_unique<LedFont>(systemFontName, type);
}

void FontEngine::CreateLedFonts() {
  for (int type = 0; type < 3; ++type) CreateLedFont(type);
}

LedFont* FontEngine::ledFont(int type) const {
  return type >= 0 && type <= 2 ? ledFonts_[type].get() : nullptr;
}

void FontEngine::ReleaseLedFonts() {
  for (auto& f : ledFonts_) f.reset();
}

void FontEngine::ReleaseUserFontTables() {
  userFont11_.Release();
  userFont16_.Release();
}

void FontEngine::ReleaseLibraries() {
  for (auto& l : libraries_) l = LibraryBuffer{};
}

bool FontEngine::RenderGlyph(int ledType, uint16_t code, CharColumns& record) {
  if (builtInSwitch == 0) return RenderSystemGlyph(ledType, code, record);
  switch (ledType) {
    case kLed7: return RenderBuiltIn7(code, record);
    case kLed11: return RenderBuiltIn11(code, record);
    case kLed16: return RenderBuiltIn16(code, record);
    default: return false;
  }
}

LedFont& FontEngine::SystemFont(int& ledType) {
  if (ledType < 0 || ledType > 2) ledType = kLed7;
  // A font not created yet (a tool that never ran start-up) is created on first use.
  if (!ledFonts_[ledType]) CreateLedFont(ledType);
  return *ledFonts_[ledType];
}

bool FontEngine::RenderSystemGlyph(int ledType, uint16_t code, CharColumns& record) {
  LedFont& font = SystemFont(ledType);
  return RenderWithFont(font, ledType, code, record);
}

bool FontEngine::HasGlyph(int ledType, uint16_t code) {
  // The libraries give no glyph at all for a code they lack.
  return builtInSwitch != 0 || SystemFont(ledType).rasterizer().HasGlyph(code);
}

bool FontEngine::RenderBuiltIn7(uint16_t code, CharColumns& record) const {
  const char16_t unit = code;
  const auto bytes = platform::ToAnsiCodePage(std::u16string_view(&unit, 1));
  if (!bytes || bytes->empty()) return false;
  const auto b = static_cast<uint8_t>((*bytes)[0]);
  int tableCode = 0;
  if (b >= 18 && b <= 27) {
    record.kind = static_cast<uint8_t>(GlyphKind::Symbol);
    tableCode = b + 109;
  } else if (b >= 32 && b <= 126) {
    record.kind = static_cast<uint8_t>(GlyphKind::Ascii);
    tableCode = b;
  } else {
    return false;
  }
  const LibraryBuffer& lib = library(FontLibrary::k7Ascii);
  return lib.loaded && Decode7(lib.data, tableCode, LedTypeRow(kLed7).gap, record);
}

bool FontEngine::RenderBuiltIn11(uint16_t code, CharColumns& record) const {
  const int gap = LedTypeRow(kLed11).gap;
  if (const int index = SymbolIndex(code); index >= 0) {
    record.kind = static_cast<uint8_t>(GlyphKind::Symbol);
    record.byteCount = 24;
    const LibraryBuffer& lib = library(FontLibrary::k11Symbols);
    if (lib.loaded) return DecodeSymbol11(lib.data, index, record);
    // Without the symbol file the user font stands in, read at the symbol's index.
    return userFont11_.Read(static_cast<uint16_t>(index), gap, record);
  }
  if (code >= 32 && code <= 126) {
    record.kind = static_cast<uint8_t>(GlyphKind::Ascii);
    const LibraryBuffer& lib = library(FontLibrary::k11Ascii);
    if (lib.loaded) return DecodeAscii11(lib.data, code, record);
    return userFont11_.Read(code, gap, record);
  }
  record.kind = static_cast<uint8_t>(GlyphKind::UserFont);
  return userFont11_.available() && userFont11_.Read(code, gap, record);
}

bool FontEngine::RenderBuiltIn16(uint16_t code, CharColumns& record) const {
  if (SymbolIndex(code) >= 0) {
    record.kind = static_cast<uint8_t>(GlyphKind::Symbol);
    record.byteCount = 32;
    const LibraryBuffer& lib = library(FontLibrary::k16Symbols);
    if (lib.loaded) return DecodeSymbol16(lib.data, SymbolIndex(code), record);
    return userFont16_.Read(code, 0, record);
  }
  if (code >= 32 && code <= 126) {
    record.kind = static_cast<uint8_t>(GlyphKind::Ascii);
    record.byteCount = 16;
    const LibraryBuffer& lib = library(FontLibrary::k16Ascii);
    if (lib.loaded) return DecodeAscii16(lib.data, code, record);
    return userFont16_.Read(code, 0, record);
  }
  record.kind = static_cast<uint8_t>(GlyphKind::UserFont);
  return userFont16_.available() && userFont16_.Read(code, 0, record);
}

}  // namespace kirrup
