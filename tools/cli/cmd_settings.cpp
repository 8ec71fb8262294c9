// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli settings: what the program would use from its settings file (LIB/Kirrup.ini
// beside this tool, or the per-user file when LIB cannot be written), read with the
// program's own code. Only --set writes the file (cmd_settings_set.cpp).
#include <cstdio>

#include "app/languages.h"
#include "app/settings.h"
#include "app/settings_location.h"
#include "fonts/font_engine.h"
#include "platform/profile_file.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "tools/cli/cli.h"
#include "tools/cli/settings_report.h"

namespace kirrup::cli {

const char kSettingsUsage[] =
    "settings [--set KEY=VALUE ...]\n"
    "  What the program would use from its settings file (LIB/Kirrup.ini beside this tool, or the\n"
    "  per-user file when LIB cannot be written); the file is not changed.\n"
    "  --set KEY=VALUE ...  changes keys of section Set as the program would write them\n"
    "                       (LedType 1..3, bUserFont 0|1, SysFont, LedColor, Lang, MakeChrWndCx,\n"
    "                       MakeChrWndCy, LedGap11, LedScrW11); nothing is written when one is refused.\n";

int RunSettings(const std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "--set") return RunSettingsSet({args.begin() + 1, args.end()});
  if (!args.empty()) return BadArguments("settings", "no arguments are taken but --set, not '" + args[0] + "'");
  const SettingsLocation where = FindSettingsFile(platform::ProgramFolder());
  const std::string path = where.path;
  const std::string readPath = SettingsFileToRead(where);
  platform::ProfileFile file(readPath);
  file.Load();
  LanguageList languages;
  ReadLanguages(file, languages);
  FontEngine fonts;
  const Settings s = ReadSettings(file, fonts);

  std::printf("SettingsFile=%s\n", path.c_str());
  std::printf("SettingsPlace=%s (%s)\n", where.place == SettingsPlace::UserFolder ? "user" : "program folder",
              where.why.c_str());
  if (readPath != path)
    std::printf("SettingsStartFrom=%s (copied on the program's first exit)\n", where.shipped.c_str());
  std::printf("bUserFont=%d\n", fonts.builtInSwitch);
  std::printf("SysFont=%s\n", platform::Utf16ToUtf8(fonts.systemFontName).c_str());
  std::printf("LedType=%d\n", s.ledType + 1);
  std::printf("LedColor=%d\n", static_cast<int>(s.ledColor));
  std::printf("LedGap11=%d\n", s.ledGap11);
  std::printf("LedScrW11=%d\n", s.ledScrW11);
  std::printf("Lang=%d\n", s.lang + 1);
  std::printf("MakeChrWndCx=%d\n", s.makeChrWndCx);
  std::printf("MakeChrWndCy=%d\n", s.makeChrWndCy);
  for (int i = 0; i < languages.count(); ++i) {
    const LanguageTable& t = languages.tables[static_cast<size_t>(i)];
    std::printf("Language.%d=%s,%04X\n", i + 1, platform::Utf16ToUtf8(t.name).c_str(), t.id);
  }
  if (!PrintSettingsSources(platform::ProgramFolder(), file, stdout)) {
    std::fprintf(stderr, "kirrup-cli settings: warning: %s: %s\n", readPath.c_str(), file.loadError().reason.c_str());
    return 1;
  }
  return 0;
}

}  // namespace kirrup::cli
