// Any bytes as the settings file: the language tables and section "Set" are read as at
// start-up, every value must come out within its checks, and what exit writes must read
// back to the same settings and languages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/languages.h"
#include "app/settings.h"
#include "fonts/font_engine.h"

using namespace kirrup;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::ProfileFile file;
  file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  LanguageList languages;
  ReadLanguages(file, languages);
  FontEngine fonts;
  const Settings s = ReadSettings(file, fonts);
  Check(s.ledType >= 0 && s.ledType <= 2);
  Check(s.ledGap11 >= 0 && s.ledGap11 <= 4 && s.ledScrW11 >= 156 && s.ledScrW11 <= 180 && s.lang >= 0);
  Check(s.makeChrWndCx >= 100 && s.makeChrWndCx <= 1024 && s.makeChrWndCy >= 100 && s.makeChrWndCy <= 1024);
  Check(languages.count() >= 2 && languages.count() <= 16);
  Check(!fonts.systemFontName.empty() && fonts.systemFontName.size() <= 158);
  for (int i = 0; i < languages.count(); ++i) {
    const LanguageTable& t = languages.tables[static_cast<size_t>(i)];
    for (int type = -1; type <= 3; ++type) NoteText(t, type);
  }
  SelectLanguage(languages, static_cast<uint16_t>(size));

  WriteSettings(file, s, fonts);
  WriteLanguages(file, languages);
  platform::ProfileFile again;
  again.Parse(file.Serialize());
  FontEngine fontsAgain;
  const Settings back = ReadSettings(again, fontsAgain);
  Check(back.ledType == s.ledType && back.ledColor == s.ledColor && back.makeChrWndCx == s.makeChrWndCx &&
        back.makeChrWndCy == s.makeChrWndCy);
  Check(fontsAgain.builtInSwitch == fonts.builtInSwitch && fontsAgain.systemFontName == fonts.systemFontName);
  LanguageList languagesAgain;
  ReadLanguages(again, languagesAgain);
  Check(languagesAgain.count() == languages.count());
  return 0;
}
