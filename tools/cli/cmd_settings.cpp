// kirrup-cli settings: what the program would use from LIB/Kirrup.ini beside this tool,
// read with the program's own code. Never writes the file.
#include <cstdio>

#include "app/languages.h"
#include "app/settings.h"
#include "fonts/font_engine.h"
#include "platform/profile_file.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "tools/cli/cli.h"
#include "tools/cli/settings_report.h"

namespace kirrup::cli {

int RunSettings(const std::vector<std::string>& args) {
  if (!args.empty()) return Usage();
  const std::string path = SettingsPath(platform::ProgramFolder());
  platform::ProfileFile file(path);
  file.Load();
  LanguageList languages;
  ReadLanguages(file, languages);
  FontEngine fonts;
  const Settings s = ReadSettings(file, fonts);

  std::printf("SettingsFile=%s\n", path.c_str());
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
    std::fprintf(stderr, "kirrup-cli settings: warning: %s: %s\n", path.c_str(), file.loadError().reason.c_str());
    return 1;
  }
  return 0;
}

}  // namespace kirrup::cli
