// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The font side of the application object: the built-in dot-matrix libraries, the two
// user fonts, the three LED fonts drawn from an installed font, and RenderGlyph that
// chooses between them. The font switch and the system font name live here (their one
// home); the settings reader and writer and the main dialog use them directly.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "fonts/font_library.h"
#include "fonts/glyph_source.h"
#include "fonts/system_glyph.h"
#include "fonts/user_font.h"

namespace kirrup {

class FontEngine final : public GlyphSource {
 public:
  FontEngine();
  ~FontEngine() override;
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  int builtInSwitch = 1;                    // bUserFont: non-zero = font libraries, 0 = system font
  std::u16string systemFontName = u"宋体";  // SysFont: face the LED fonts are created from

  // Start-up: the five library files, the two size tables and the user font paths,
  // all from <programFolder>/LIB.
  void LoadLibraries(const std::string& programFolder);
  // The same with other size tables (an empty span: that user font has no table).
  void LoadLibraries(const std::string& programFolder, std::span<const uint8_t> sizeTable11,
                     std::span<const uint8_t> sizeTable16);
  // Deletes and creates again the LED font of one type (0..2) from systemFontName.
  void CreateLedFont(int type);
  // The three LED fonts at start-up.
  void CreateLedFonts();

  // Exit, in the order the application calls them.
  void ReleaseLedFonts();
  void ReleaseUserFontTables();
  void ReleaseLibraries();

  bool RenderGlyph(int ledType, uint16_t code, CharColumns& record) override;
  bool RenderSystemGlyph(int ledType, uint16_t code, CharColumns& record);
  bool HasGlyph(int ledType, uint16_t code) override;

  // Library state, for the symbol picker and diagnostics.
  const LibraryBuffer& library(FontLibrary lib) const { return libraries_[static_cast<int>(lib)]; }
  const UserFont& userFont11() const { return userFont11_; }
  const UserFont& userFont16() const { return userFont16_; }
  // The LED font of a type, or null before it is created.
  LedFont* ledFont(int type) const;

 private:
  // The LED font of a type (an invalid one counts as 7 LEDs), created when it is missing.
  LedFont& SystemFont(int& ledType);
  bool RenderBuiltIn7(uint16_t code, CharColumns& record) const;
  bool RenderBuiltIn11(uint16_t code, CharColumns& record) const;
  bool RenderBuiltIn16(uint16_t code, CharColumns& record) const;

  std::array<LibraryBuffer, kFontLibraryCount> libraries_;
  UserFont userFont11_;
  UserFont userFont16_;
  std::array<std::unique_ptr<LedFont>, 3> ledFonts_;
};

}  // namespace kirrup
