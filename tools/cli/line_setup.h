// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the line commands take from the program folder before any line exists, as the
// program's start-up does: the 11-LED line settings and the font choice of LIB/Kirrup.ini.
#include <string>

#include "app/settings.h"

namespace kirrup {
class FontEngine;
}

namespace kirrup::cli {

// Reads section "Set" of the settings file beside the tool (defaults when it or a key
// is missing), replaces the 11-LED row of the LedTypeTable and puts bUserFont and
// SysFont into fonts. Returns the rest of the section as read.
Settings LoadProgramSettings(FontEngine& fonts);

// Parses a whole decimal number; false on anything else.
bool ParseInt(const std::string& text, int& value);

}  // namespace kirrup::cli
