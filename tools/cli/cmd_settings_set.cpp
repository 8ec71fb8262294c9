// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli settings --set KEY=VALUE...: changes keys of section "Set" in the settings file
// in force (LIB/Kirrup.ini beside this tool, or the per-user file) as the program would write them. Every assignment is checked first;
// one that is refused leaves the file as it was. The file is replaced atomically and
// keeps every other line.
#include <cstdio>
#include <vector>

#include "app/settings.h"
#include "app/settings_edit.h"
#include "app/settings_location.h"
#include "platform/profile_file.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "tools/cli/cli.h"

namespace kirrup::cli {

int RunSettingsSet(const std::vector<std::string>& assignments) {
  if (assignments.empty()) {
    std::fprintf(stderr, "kirrup-cli settings --set: give one or more KEY=VALUE (keys: %s)\n",
                 SettableKeysHelp().c_str());
    return 2;
  }
  std::vector<SettingChange> changes;
  for (const std::string& a : assignments) {
    std::string error;
    const auto change = ParseSettingAssignment(a, error);
    if (!change) {
      std::fprintf(stderr, "kirrup-cli settings --set: %s; nothing written\n", error.c_str());
      return 2;
    }
    changes.push_back(*change);
  }
  const SettingsLocation where = FindSettingsFile(platform::ProgramFolder());
  if (!PrepareSettingsFile(where)) {
    std::fprintf(stderr, "kirrup-cli settings --set: cannot create %s; nothing written\n", where.path.c_str());
    return 1;
  }
  const std::string& path = where.path;
  platform::ProfileFile file(path);
  if (!file.Load()) {
    std::fprintf(stderr, "kirrup-cli settings --set: cannot read %s; nothing written\n", path.c_str());
    return 1;
  }
  ApplySettingChanges(file, changes);
  if (!file.Save()) {
    std::fprintf(stderr, "kirrup-cli settings --set: cannot write %s\n", path.c_str());
    return 1;
  }
  for (const SettingChange& c : changes)
    std::printf("%s=%s\n", platform::Utf16ToUtf8(c.key).c_str(), platform::Utf16ToUtf8(c.value).c_str());
  return 0;
}

}  // namespace kirrup::cli
