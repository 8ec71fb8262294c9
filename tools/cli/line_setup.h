#pragma once
// What the line commands need of the program folder before any line exists: the folder
// itself and the 11-LED line settings from LIB/Kirrup.ini.
#include <string>

namespace kirrup::cli {

// The folder of the kirrup-cli program file (the program folder).
std::string ProgramFolder();

// Start-up's replacement of the 11-LED row (LedGap11, LedScrW11), read from the settings
// file of the program folder; defaults when it or the keys are missing.
void ApplyLineSettings(const std::string& programFolder);

// Parses a whole decimal number; false on anything else.
bool ParseInt(const std::string& text, int& value);

}  // namespace kirrup::cli
