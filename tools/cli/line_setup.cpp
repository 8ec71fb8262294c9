// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/line_setup.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "app/settings.h"
#include "app/settings_location.h"
#include "fonts/font_engine.h"
#include "platform/profile_file.h"
#include "platform/program_folder.h"

namespace kirrup::cli {

Settings LoadProgramSettings(FontEngine& fonts) {
  platform::ProfileFile file(SettingsFileToRead(FindSettingsFile(platform::ProgramFolder())));
  file.Load();
  const Settings settings = ReadSettings(file, fonts);
  ApplyLedTypeSettings(settings);
  return settings;
}

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace kirrup::cli
