#pragma once
// The font side of the application object: the built-in dot-matrix libraries, the two
// user fonts, the three LED fonts drawn from an installed font, and RenderGlyph that
// chooses between them. The font switch and the system font name live here (their one
// home); the settings reader and writer and the main dialog use them directly.
#include <cstdint>
#include <string>

#include "fonts/glyph_source.h"

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
  // Deletes and creates again the LED font of one type (0..2) from systemFontName.
  void CreateLedFont(int type);

  // Exit, in the order the application calls them.
  void ReleaseLedFonts();
  void ReleaseUserFontTables();
  void ReleaseLibraries();

  bool RenderGlyph(int ledType, uint16_t code, CharColumns& record) override;
  bool RenderSystemGlyph(int ledType, uint16_t code, CharColumns& record);
};

}  // namespace kirrup
