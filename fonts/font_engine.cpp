// Placeholder so the application links until the font subsystem lands.
#include "fonts/font_engine.h"

namespace kirrup {

FontEngine::FontEngine() = default;
FontEngine::~FontEngine() = default;
void FontEngine::LoadLibraries(const std::string&) {}
void FontEngine::CreateLedFont(int) {}
void FontEngine::ReleaseLedFonts() {}
void FontEngine::ReleaseUserFontTables() {}
void FontEngine::ReleaseLibraries() {}
bool FontEngine::RenderGlyph(int, uint16_t, CharColumns&) { return false; }
bool FontEngine::RenderSystemGlyph(int, uint16_t, CharColumns&) { return false; }

}  // namespace kirrup
