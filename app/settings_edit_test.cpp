// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settings_edit.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "fonts/font_engine.h"
#include "platform/utf.h"

namespace kirrup {
namespace {

TEST(SettingsEdit, AssignmentsAreCheckedAgainstTheProgramsRanges) {
  struct Case {
    const char* assignment;
    const char* key;    // null: refused
    const char16_t* value;
  } cases[] = {
      {"LedType=3", "LedType", u"3"},
      {"ledtype=1", "LedType", u"1"},
      {"LedType=0", nullptr, nullptr},
      {"LedType=4", nullptr, nullptr},
      {"LedType=", nullptr, nullptr},
      {"LedType=2x", nullptr, nullptr},
      {"LedType=99999999999999999999", nullptr, nullptr},
      {"bUserFont=0", "bUserFont", u"0"},
      {"bUserFont=2", nullptr, nullptr},
      {"LedColor=green", "LedColor", u"65280"},
      {"LedColor=0xFF0000", "LedColor", u"16711680"},
      {"LedColor=16777216", nullptr, nullptr},
      {"LedColor=-1", nullptr, nullptr},
      {"LedGap11=4", "LedGap11", u"4"},
      {"LedGap11=5", nullptr, nullptr},
      {"LedScrW11=155", nullptr, nullptr},
      {"MakeChrWndCx=1024", "MakeChrWndCx", u"1024"},
      {"MakeChrWndCy=99", nullptr, nullptr},
      {"Lang=0", nullptr, nullptr},
      {"SysFont=WenQuanYi Zen Hei", "SysFont", u"WenQuanYi Zen Hei"},
      {"SysFont=宋体", "SysFont", u"宋体"},
      {"SysFont=", nullptr, nullptr},
      {"SysFont= padded", nullptr, nullptr},
      {"SysFont=two\nlines", nullptr, nullptr},
      {"Colour=1", nullptr, nullptr},
      {"=1", nullptr, nullptr},
      {"LedType", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto change = ParseSettingAssignment(c.assignment, error);
    if (!c.key) {
      EXPECT_FALSE(change) << c.assignment;
      EXPECT_FALSE(error.empty()) << c.assignment;
      continue;
    }
    ASSERT_TRUE(change) << c.assignment << ": " << error;
    EXPECT_EQ(platform::Utf16ToUtf8(change->key), c.key);
    EXPECT_EQ(change->value, c.value);
  }
  std::string error;
  ParseSettingAssignment("SysFont=" + std::string(159, 'x'), error);
  EXPECT_NE(error.find("out of range"), std::string::npos);
}

TEST(SettingsEdit, WrittenKeysReadBackAndOtherLinesStay) {
  platform::ProfileFile file;
  file.Parse("[Set]\r\nLEDTYPE=1\r\n; kept\r\nLedColor=255\r\n[Other]\r\nx=1\r\n");
  std::string error;
  std::vector<SettingChange> changes;
  for (const char* a : {"LedType=3", "SysFont=DejaVu Sans", "MakeChrWndCx=800"})
    changes.push_back(*ParseSettingAssignment(a, error));
  ApplySettingChanges(file, changes);
  const std::string text = file.Serialize();
  EXPECT_NE(text.find("; kept\r\nLedColor=255\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Other]\r\nx=1\r\n"), std::string::npos);
  EXPECT_EQ(text.find("LEDTYPE=1"), std::string::npos);  // replaced where it stood
  FontEngine fonts;
  const Settings s = ReadSettings(file, fonts);
  EXPECT_EQ(s.ledType, 2);
  EXPECT_EQ(s.ledColor, 255u);
  EXPECT_EQ(s.makeChrWndCx, 800);
  EXPECT_EQ(fonts.systemFontName, u"DejaVu Sans");
}

}  // namespace
}  // namespace kirrup
