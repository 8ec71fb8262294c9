// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What `kirrup-cli settings` tells beside the values: where they came from and what the
// program would load at start-up, with the reason for everything it would pass over in
// silence (the program itself shows no message for these).
#include <cstdio>
#include <string>

#include "platform/profile_file.h"

namespace kirrup::cli {

// Prints, as KEY=VALUE lines: the settings file's state, each font library and user font
// of <programFolder>/LIB loaded or not and why, and the USB link library's state.
// Returns false when the settings file exists but was refused (its values are then the
// defaults although the user has a file).
bool PrintSettingsSources(const std::string& programFolder, const platform::ProfileFile& file, std::FILE* out);

}  // namespace kirrup::cli
