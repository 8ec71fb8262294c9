// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settings.h"

#include <algorithm>

#include "fonts/font_engine.h"
#include "lines/led_type.h"

namespace kirrup {
namespace {

// 64-bit so that "value - 1" of the smallest int cannot overflow.
int Clamp(long long v, int lo, int hi) { return static_cast<int>(std::clamp<long long>(v, lo, hi)); }

int FrameSize(int v) {
  return (v < kMinEditorFrameSize || v > kMaxEditorFrameSize) ? kMinEditorFrameSize : v;
}

}  // namespace

std::string SettingsPath(const std::string& programFolder) { return programFolder + "/LIB/Kirrup.ini"; }

Settings ReadSettings(const platform::ProfileFile& file, FontEngine& fonts) {
  Settings s;
  fonts.builtInSwitch = file.GetInt(kSetSection, u"bUserFont", 1);
  const std::u16string face = file.GetString(kSetSection, u"SysFont", u"", 158);
  if (!face.empty()) fonts.systemFontName = face;
  s.ledType = Clamp(static_cast<long long>(file.GetInt(kSetSection, u"LedType", 1)) - 1, 0, 2);
  s.ledColor = static_cast<platform::Color>(file.GetInt(kSetSection, u"LedColor", 255));
  s.ledGap11 = Clamp(file.GetInt(kSetSection, u"LedGap11", 2), 0, 4);
  s.ledScrW11 = Clamp(file.GetInt(kSetSection, u"LedScrW11", 156), 156, 180);
  s.lang = static_cast<int>(std::max<long long>(static_cast<long long>(file.GetInt(kSetSection, u"Lang", 1)) - 1, 0));
  s.makeChrWndCx = FrameSize(file.GetInt(kSetSection, u"MakeChrWndCx", 540));
  s.makeChrWndCy = FrameSize(file.GetInt(kSetSection, u"MakeChrWndCy", 360));
  return s;
}

void WriteSettings(platform::ProfileFile& file, const Settings& s, const FontEngine& fonts) {
  file.WriteInt(kSetSection, u"bUserFont", fonts.builtInSwitch);
  file.WriteString(kSetSection, u"SysFont", fonts.systemFontName);
  file.WriteInt(kSetSection, u"LedType", s.ledType + 1);
  file.WriteInt(kSetSection, u"LedColor", static_cast<int>(s.ledColor));
  file.WriteInt(kSetSection, u"MakeChrWndCx", s.makeChrWndCx);
  file.WriteInt(kSetSection, u"MakeChrWndCy", s.makeChrWndCy);
}

void ApplyLedTypeSettings(const Settings& s) { ApplyLed11Settings(s.ledGap11, s.ledScrW11); }

}  // namespace kirrup
