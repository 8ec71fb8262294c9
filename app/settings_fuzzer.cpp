// SPDX-License-Identifier: GPL-2.0-or-later
// Any bytes as the settings file: the language tables and section "Set" are read as at
// start-up, every value must come out within its checks, and what exit writes must read
// back to the same settings and languages.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/languages.h"
#include "app/settings.h"
#include "fonts/font_engine.h"
#include "tests/fixtures/fuzz_check.h"

using namespace kirrup;

namespace {

platform::ProfileFile RoundTrip(platform::ProfileFile file, const Settings& s, const FontEngine& fonts,
                                const LanguageList& languages) {
  WriteSettings(file, s, fonts);
  WriteLanguages(file, languages);
  platform::ProfileFile again;
  again.Parse(file.Serialize());
  return again;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::ProfileFile file;
  file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  // Kept between inputs: the reader empties it first, and only the current index outlives that.
  static LanguageList languages;
  languages.current = 0;
  ReadLanguages(file, languages);
  FontEngine fonts;
  const Settings s = ReadSettings(file, fonts);
  CHECK(s.ledType >= 0 && s.ledType <= 2);
  CHECK(s.ledGap11 >= 0 && s.ledGap11 <= 4 && s.ledScrW11 >= 156 && s.ledScrW11 <= 180 && s.lang >= 0);
  CHECK(s.makeChrWndCx >= 100 && s.makeChrWndCx <= 1024 && s.makeChrWndCy >= 100 && s.makeChrWndCy <= 1024);
  CHECK(languages.count() >= 2 && languages.count() <= 16);
  CHECK(!fonts.systemFontName.empty() && fonts.systemFontName.size() <= 158);
  for (int i = 0; i < languages.count(); ++i) {
    const LanguageTable& t = languages.tables[static_cast<size_t>(i)];
    for (int type = -1; type <= 3; ++type) NoteText(t, type);
  }
  SelectLanguage(languages, static_cast<uint16_t>(size));

  // What exit writes reads back the same. A value read with quotes inside (cut at a NUL)
  // may lose them once, as the profile functions do: the second round trip must be exact.
  // Writing and reading back every language twice is the slow part (a file of sixteen
  // languages costs as much as a few dozen inputs without it): one input in 128.
  if (!fuzz::OneIn(data, size, 128)) return 0;
  platform::ProfileFile once = RoundTrip(file, s, fonts, languages);
  FontEngine fontsOnce;
  LanguageList languagesOnce;
  ReadLanguages(once, languagesOnce);
  const Settings sOnce = ReadSettings(once, fontsOnce);
  CHECK(sOnce.ledType == s.ledType && sOnce.ledColor == s.ledColor && sOnce.makeChrWndCx == s.makeChrWndCx &&
        sOnce.makeChrWndCy == s.makeChrWndCy && fontsOnce.builtInSwitch == fonts.builtInSwitch);
  CHECK(languagesOnce.count() == languages.count());
  platform::ProfileFile twice = RoundTrip(once, sOnce, fontsOnce, languagesOnce);
  FontEngine fontsTwice;
  CHECK(ReadSettings(twice, fontsTwice) == sOnce && fontsTwice.systemFontName == fontsOnce.systemFontName);
  return 0;
}
