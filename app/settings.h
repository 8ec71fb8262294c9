// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Section "Set" of the settings file LIB/Kirrup.ini: read once at start-up with its
// defaults and checks, written once at exit. The font switch (bUserFont) and the
// system font name (SysFont) have their home on the FontEngine and are read into and
// written from it.
#include <cstdint>
#include <string>

#include "platform/profile_file.h"
#include "platform/raster.h"

namespace kirrup {

class FontEngine;

inline constexpr char16_t kSetSection[] = u"Set";
// MakeChrWndCx and MakeChrWndCy outside this range are read as the smallest.
inline constexpr int kMinEditorFrameSize = 100;
inline constexpr int kMaxEditorFrameSize = 1024;

struct Settings {
  int ledType = 0;                  // LedType index: 0 = 7, 1 = 11, 2 = 16 LEDs (stored one higher)
  platform::Color ledColor = 0x0000FF;  // LedColor, 0x00BBGGRR (red)
  int ledGap11 = 2;                 // LedGap11, 0..4: gap of the 11-LED row; never written
  int ledScrW11 = 156;              // LedScrW11, 156..180: maxWidth of the 11-LED row; never written
  int lang = 0;                     // Lang - 1, at least 0; never written
  int makeChrWndCx = 540;           // MakeChrWndCx: character editor frame width, 100..1024
  int makeChrWndCy = 360;           // MakeChrWndCy: its height, 100..1024

  bool operator==(const Settings&) const = default;
};

// "<programFolder>/LIB/Kirrup.ini".
std::string SettingsPath(const std::string& programFolder);

// Reads section "Set": missing keys take their defaults, values are checked as the
// comments above say; bUserFont and SysFont (when present and not empty) go into fonts.
Settings ReadSettings(const platform::ProfileFile& file, FontEngine& fonts);

// Writes bUserFont, SysFont, LedType (index + 1), LedColor, MakeChrWndCx, MakeChrWndCy
// in this order. The caller saves the file.
void WriteSettings(platform::ProfileFile& file, const Settings& settings, const FontEngine& fonts);

// Puts LedGap11 and LedScrW11 into the 11-LED row of the LedTypeTable (before any line exists).
void ApplyLedTypeSettings(const Settings& settings);

}  // namespace kirrup
