// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settings.h"

#include <gtest/gtest.h>

#include "fonts/font_engine.h"
#include "lines/led_type.h"
#include "platform/utf.h"

namespace kirrup {
namespace {

using platform::ProfileFile;

ProfileFile SetSection(std::string_view keys) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : platform::Utf8ToUtf16("[Set]\r\n" + std::string(keys))) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  ProfileFile f;
  f.Parse(bytes);
  return f;
}

TEST(Settings, MissingKeysTakeTheirDefaults) {
  FontEngine fonts;
  fonts.builtInSwitch = 7;
  const Settings s = ReadSettings(ProfileFile(), fonts);
  EXPECT_EQ(s, Settings{});
  EXPECT_EQ(s.ledType, 0);
  EXPECT_EQ(s.ledColor, 255u);
  EXPECT_EQ(s.ledGap11, 2);
  EXPECT_EQ(s.ledScrW11, 156);
  EXPECT_EQ(s.makeChrWndCx, 540);
  EXPECT_EQ(s.makeChrWndCy, 360);
  EXPECT_EQ(fonts.builtInSwitch, 1);
  EXPECT_EQ(fonts.systemFontName, u"宋体");
}

TEST(Settings, ValuesAreCheckedAfterReading) {
  struct Case {
    const char* keys;
    int ledType, gap, width, lang, cx, cy;
  };
  const Case cases[] = {
      {"LedType=0\r\nLedGap11=9\r\nLedScrW11=100\r\n", 0, 4, 156, 0, 540, 360},
      {"LedType=-5\r\nLedGap11=-1\r\nLedScrW11=500\r\nLang=0\r\n", 0, 0, 180, 0, 540, 360},
      {"LedType=4\r\nLang=3\r\nMakeChrWndCx=50\r\nMakeChrWndCy=1025\r\n", 2, 2, 156, 2, 100, 100},
      {"LedType=2\r\nMakeChrWndCx=2000\r\nMakeChrWndCy=1024\r\n", 1, 2, 156, 0, 100, 1024},
      {"LedType=-2147483648\r\nLang=-2147483648\r\nMakeChrWndCx=100\r\n", 0, 2, 156, 0, 100, 360},
      {"LedType=3\r\nLedGap11=3\r\nLedScrW11=170\r\nMakeChrWndCx=abc\r\n", 2, 3, 170, 0, 540, 360},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    FontEngine fonts;
    const Settings s = ReadSettings(SetSection(c.keys), fonts);
    EXPECT_EQ(s.ledType, c.ledType);
    EXPECT_EQ(s.ledGap11, c.gap);
    EXPECT_EQ(s.ledScrW11, c.width);
    EXPECT_EQ(s.lang, c.lang);
    EXPECT_EQ(s.makeChrWndCx, c.cx);
    EXPECT_EQ(s.makeChrWndCy, c.cy);
  }
}

TEST(Settings, FontKeysGoIntoTheFontEngine) {
  FontEngine fonts;
  ReadSettings(SetSection("bUserFont=0\r\nSysFont=  DejaVu Sans \r\n"), fonts);
  EXPECT_EQ(fonts.builtInSwitch, 0);
  EXPECT_EQ(fonts.systemFontName, u"DejaVu Sans");

  FontEngine keeps;
  ReadSettings(SetSection("SysFont=\r\n"), keeps);  // present but empty
  EXPECT_EQ(keeps.systemFontName, u"宋体");

  FontEngine cut;
  ReadSettings(SetSection("SysFont=" + std::string(200, 'F') + "\r\n"), cut);
  EXPECT_EQ(cut.systemFontName.size(), 158u);
}

TEST(Settings, WritesSixKeysInOrderAndReadsThemBack) {
  FontEngine fonts;
  fonts.builtInSwitch = 0;
  fonts.systemFontName = u"Noto Sans";
  Settings s;
  s.ledType = 2;
  s.ledColor = 0xFF0000;
  s.ledGap11 = 4;  // never written
  s.lang = 3;      // never written
  s.makeChrWndCx = 800;
  s.makeChrWndCy = 600;
  ProfileFile f;
  WriteSettings(f, s, fonts);
  const std::u16string text = [&] {
    const std::string bytes = f.Serialize();
    std::u16string t;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      t.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return t;
  }();
  EXPECT_EQ(text,
            u"[Set]\r\nbUserFont=0\r\nSysFont=Noto Sans\r\nLedType=3\r\nLedColor=16711680\r\n"
            u"MakeChrWndCx=800\r\nMakeChrWndCy=600\r\n");
  FontEngine back;
  const Settings r = ReadSettings(f, back);
  EXPECT_EQ(r.ledType, 2);
  EXPECT_EQ(r.ledColor, 0xFF0000u);
  EXPECT_EQ(r.ledGap11, 2);
  EXPECT_EQ(r.lang, 0);
  EXPECT_EQ(r.makeChrWndCx, 800);
  EXPECT_EQ(back.builtInSwitch, 0);
  EXPECT_EQ(back.systemFontName, u"Noto Sans");
}

TEST(Settings, ApplyReplacesTheElevenLedRowOnly) {
  Settings s;
  s.ledGap11 = 0;
  s.ledScrW11 = 180;
  ApplyLedTypeSettings(s);
  EXPECT_EQ(LedTypeRow(kLed11).gap, 0);
  EXPECT_EQ(LedTypeRow(kLed11).maxWidth, 180);
  EXPECT_EQ(LedTypeRow(kLed7), DefaultLedTypeTable()[kLed7]);
  EXPECT_EQ(LedTypeRow(kLed16), DefaultLedTypeTable()[kLed16]);
  ResetLedTypeTable();
}

TEST(Settings, PathIsInTheLibFolder) {
  EXPECT_EQ(SettingsPath("/opt/kirrup"), "/opt/kirrup/LIB/Kirrup.ini");
  EXPECT_EQ(SettingsPath(""), "/LIB/Kirrup.ini");
}

}  // namespace
}  // namespace kirrup
