// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/languages.h"
#include "app/windows_language_ids.h"

#include <gtest/gtest.h>

#include "platform/utf.h"

namespace kirrup {
namespace {

using platform::ProfileFile;

ProfileFile Ini(std::string_view utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : platform::Utf8ToUtf16(utf8)) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  ProfileFile f;
  f.Parse(bytes);
  return f;
}

std::vector<std::u16string> Names(const LanguageList& list) {
  std::vector<std::u16string> names;
  for (const auto& t : list.tables) names.push_back(t.name);
  return names;
}

TEST(Languages, BuiltInTablesFillEverySlotWithinItsCapacity) {
  for (const LanguageTable* t : {&BuiltInEnglish(), &BuiltInChinese()}) {
    int texts = 0;
    auto check = [&](const auto& slots, size_t chars) {
      for (const auto& s : slots) {
        EXPECT_FALSE(s.empty());
        EXPECT_LE(s.size(), chars);
        ++texts;
      }
    };
    check(t->openTexts, kEffectTextChars);
    check(t->middleTexts, kEffectTextChars);
    check(t->closeTexts, kEffectTextChars);
    check(t->captions, kCaptionTextChars);
    check(t->notes, kNoteTextChars);
    check(t->menuTexts, kMenuTextChars);
    EXPECT_EQ(texts, 65);
  }
  EXPECT_EQ(BuiltInEnglish().captions[7], u"Display Data");
  EXPECT_EQ(BuiltInChinese().closeTexts[4], u"从两边到中间关");
  EXPECT_EQ(BuiltInChinese().menuTexts[23], u"镜向");
}

TEST(Languages, WithoutLanguageSectionBothBuiltInsAreAppendedAndWrittenAtExit) {
  ProfileFile file;
  LanguageList list;
  ReadLanguages(file, list);
  EXPECT_EQ(Names(list), (std::vector<std::u16string>{u"English", u"简体中文"}));
  EXPECT_TRUE(list.englishMissing);
  EXPECT_TRUE(list.chineseMissing);
  EXPECT_EQ(SelectLanguage(list, 0x0804), 1);
  EXPECT_EQ(SelectLanguage(list, 0x0409), 0);
  EXPECT_EQ(SelectLanguage(list, 0x0407), 0);

  WriteLanguages(file, list);
  EXPECT_EQ(file.GetString(u"LangCodePage", u"1", u""), u"英文,0409");
  EXPECT_EQ(file.GetString(u"LangCodePage", u"6", u""), u"法文,040C");
  EXPECT_EQ(file.GetString(u"LangCodePage", u"9", u""), u"西班牙文,000A");
  EXPECT_EQ(file.GetString(u"Language", u"1", u""), u"English");
  EXPECT_EQ(file.GetString(u"Language", u"2", u""), u"简体中文");
  EXPECT_EQ(file.GetString(u"English", u"B9", u""), u"Clockwise rotation");
  EXPECT_EQ(file.GetString(u"简体中文", u"L3", u""), BuiltInChinese().notes[2]);

  // The next run finds both in the file, with id 0, and writes nothing more.
  const std::string afterFirstExit = file.Serialize();
  ProfileFile second;
  second.Parse(afterFirstExit);
  LanguageList again;
  ReadLanguages(second, again);
  EXPECT_EQ(Names(again), (std::vector<std::u16string>{u"English", u"简体中文"}));
  EXPECT_FALSE(again.englishMissing || again.chineseMissing);
  EXPECT_EQ(again.tables[1].id, 0);
  LanguageTable chineseFromFile = BuiltInChinese();
  chineseFromFile.id = 0;
  EXPECT_EQ(again.tables[1], chineseFromFile);
  EXPECT_EQ(SelectLanguage(again, 0x0804), 0);
  // Read back without its id, the Chinese table still gives the program's own texts in Chinese.
  EXPECT_TRUE(IsChineseTable(again.tables[1]));
  EXPECT_FALSE(IsChineseTable(again.tables[0]));
  WriteLanguages(second, again);
  EXPECT_EQ(second.Serialize(), afterFirstExit);
}

TEST(Languages, EntriesAreTrimmedSplitAtTheCommaAndReadAsHex) {
  ProfileFile file = Ini(
      "[Language]\r\n"
      "1=  Deutsch,0407  \r\n"
      "2=Dansk,0x0406\r\n"
      "3=Suomi, 040B\r\n"
      "4=,0409\r\n"
      "5=\r\n"
      "6=Big,12345\r\n"
      "7=" + std::string(50, 'N') + "\r\n"
      "17=Beyond\r\n"
      "[Deutsch]\r\nB1=Links nach rechts\r\nB2=" + std::string(100, 'x') + "\r\n");
  LanguageList list;
  ReadLanguages(file, list);
  ASSERT_EQ(list.count(), 7);
  EXPECT_EQ(list.tables[0].name, u"Deutsch");
  EXPECT_EQ(list.tables[0].id, 0x0407);
  EXPECT_EQ(list.tables[1].id, 0);  // the reading stops at the x
  EXPECT_EQ(list.tables[2].id, 0);  // a blank after the comma stops it too
  EXPECT_EQ(list.tables[3].name, u"Big");
  EXPECT_EQ(list.tables[3].id, 0x2345);
  EXPECT_EQ(list.tables[4].name, std::u16string(39, u'N'));
  EXPECT_EQ(list.tables[5].name, u"English");
  EXPECT_EQ(list.tables[6].name, u"简体中文");
  EXPECT_EQ(list.tables[0].openTexts[0], u"Links nach rechts");
  EXPECT_EQ(list.tables[0].openTexts[1], std::u16string(79, u'x'));
  EXPECT_EQ(list.tables[0].openTexts[2], u"");
  EXPECT_EQ(SelectLanguage(list, 0x0407), 0);
}

TEST(Languages, NamesMatchTheBuiltInsIgnoringCase) {
  ProfileFile file = Ini("[Language]\r\n3=english\r\n[ENGLISH]\r\nC1=Öffnen\r\n");
  LanguageList list;
  ReadLanguages(file, list);
  EXPECT_EQ(Names(list), (std::vector<std::u16string>{u"english", u"简体中文"}));
  EXPECT_FALSE(list.englishMissing);
  EXPECT_EQ(list.tables[0].captions[0], u"Öffnen");
  EXPECT_EQ(list.tables[0].captions[1], u"");  // the file's own (empty) texts
  WriteLanguages(file, list);
  EXPECT_EQ(file.GetString(u"Language", u"2", u""), u"简体中文");
  EXPECT_EQ(file.GetString(u"Language", u"3", u""), u"english");
  EXPECT_EQ(file.GetString(u"English", u"C2", u"none"), u"none");
}

TEST(Languages, SixteenAtMostAndOnlyAppendedTablesAreWritten) {
  std::string ini = "[Language]\r\n";
  for (int i = 1; i <= 15; ++i) ini += std::to_string(i) + "=L" + std::to_string(i) + "\r\n";
  ProfileFile file = Ini(ini);
  LanguageList list;
  ReadLanguages(file, list);
  ASSERT_EQ(list.count(), 16);
  EXPECT_EQ(list.tables[15].name, u"English");
  EXPECT_TRUE(list.chineseMissing);
  WriteLanguages(file, list);
  EXPECT_EQ(file.GetString(u"Language", u"16", u""), u"English");
  EXPECT_EQ(file.GetString(u"Language", u"1", u""), u"L1");
  EXPECT_EQ(file.Find(u"简体中文", u"B1"), std::nullopt);
}

TEST(Languages, AppendedTablesNeverOverwriteALanguageOfTheFile) {
  // Key 1 is empty, so the list is Deutsch, English, Chinese; English's list position
  // is 2, where Deutsch stands in the file.
  ProfileFile file = Ini("[Language]\r\n1=\r\n2=Deutsch\r\n");
  LanguageList list;
  ReadLanguages(file, list);
  EXPECT_EQ(Names(list), (std::vector<std::u16string>{u"Deutsch", u"English", u"简体中文"}));
  WriteLanguages(file, list);
  EXPECT_EQ(file.GetString(u"Language", u"2", u""), u"Deutsch");
  EXPECT_EQ(file.GetString(u"Language", u"3", u""), u"English");
  EXPECT_EQ(file.GetString(u"Language", u"4", u""), u"简体中文");
  LanguageList next;
  ReadLanguages(file, next);
  EXPECT_EQ(Names(next), Names(list));
}

TEST(Languages, TextsForWindows) {
  const LanguageTable& zh = BuiltInChinese();
  EXPECT_EQ(ExpandParagraphs(u"a[b]b[b]"), u"a\r\n\r\nb\r\n\r\n");
  EXPECT_EQ(ExpandParagraphs(u"[b"), u"[b");
  EXPECT_EQ(NoteText(zh, 1), u"使用用户字库时:\r\n\r\n  英文每段最多可以\r\n\r\n输入18个字\r\n\r\n  中文每段最多可以\r\n\r\n输入12个字");
  // The English notes give the character counts the Chinese ones give.
  auto digits = [](std::u16string note) { return std::erase_if(note, [](char16_t c) { return c < u'0' || c > u'9'; }), note; };
  for (int type = 0; type < 3; ++type) EXPECT_EQ(digits(NoteText(BuiltInEnglish(), type)), digits(NoteText(zh, type)));
  EXPECT_EQ(*CaptionText(BuiltInEnglish(), 1), u"Exit");
  EXPECT_EQ(*CaptionText(BuiltInEnglish(), 1047), u"Use Middle Option");
  EXPECT_EQ(CaptionText(BuiltInEnglish(), 1033), nullptr);
  EXPECT_EQ(*MenuText(zh, 57637), u"粘贴字符图形");
  EXPECT_EQ(*MenuText(zh, 8036), u"镂空");
  EXPECT_EQ(*MenuText(BuiltInEnglish(), 8017), u"Yellow");
  EXPECT_EQ(MenuText(zh, 8010), nullptr);  // the LED type menu is not translated
  EXPECT_EQ(*SubmenuText(BuiltInEnglish(), u"旋转"), u"Rotate");
  EXPECT_EQ(SubmenuText(BuiltInEnglish(), u"Rotate"), nullptr);
  EXPECT_EQ(KeptSelection(9, 4), 4);
  EXPECT_EQ(KeptSelection(0, -1), 0);
  EXPECT_EQ(KeptSelection(9, -1), 0);
}

TEST(Languages, WindowsLanguageIdFromLocaleNames) {
  EXPECT_EQ(WindowsLanguageId("zh_CN"), 0x0804);
  EXPECT_EQ(WindowsLanguageId("zh"), 0x0804);
  EXPECT_EQ(WindowsLanguageId("zh_TW"), 0x0404);
  EXPECT_EQ(WindowsLanguageId("zh-Hant"), 0x0404);
  EXPECT_EQ(WindowsLanguageId("zh_Hans_HK"), 0x0C04);
  EXPECT_EQ(WindowsLanguageId("en_US.UTF-8"), 0x0409);
  EXPECT_EQ(WindowsLanguageId("en_GB"), 0x0809);
  EXPECT_EQ(WindowsLanguageId("de_AT@euro"), 0x0C07);
  EXPECT_EQ(WindowsLanguageId("fr"), 0x040C);
  EXPECT_EQ(WindowsLanguageId("ja_JP"), 0x0411);
  EXPECT_EQ(WindowsLanguageId("ko_KR"), 0x0412);
  EXPECT_EQ(WindowsLanguageId("pt_BR"), 0x0416);
  EXPECT_EQ(WindowsLanguageId("C"), 0x0409);
  EXPECT_EQ(WindowsLanguageId(""), 0x0409);
  EXPECT_EQ(WindowsLanguageId("xx_YY"), 0);  // no id: the first table
}

TEST(Languages, WindowsLanguageIdKeepsTerritoryAndScript) {
  const std::pair<const char*, uint16_t> cases[] = {
      {"en_AU", 0x0C09}, {"sw_KE", 0x0441}, {"sw_TZ", 0x0441}, {"sr_RS", 0x281A},     {"sr_Latn_RS", 0x241A},
      {"sr_Latn", 0x241A}, {"nb_NO", 0x0414}, {"no_NO", 0x0414}, {"nn_NO", 0x0814},   {"es_ES", 0x0C0A},
      {"es_419", 0x580A}, {"es", 0x0C0A},    {"zh_SG", 0x1004}, {"zh_Hant_MO", 0x1404}, {"fil_PH", 0x0464},
      {"pa_Arab_PK", 0x0846}, {"ckb_IQ", 0x0492}, {"qu_PE", 0x0C6B}, {"fr_CA", 0x0C0C}, {"ar_MA", 0x1801},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(WindowsLanguageId(name), id) << name;
  // Each territory row is what its own codes give back.
  for (const WindowsLocale& l : WindowsLocales()) {
    if (!l.territory.empty() && l.language != "no" && l.language != "ku") {
      EXPECT_EQ(WindowsLanguageIdOf(l.language, l.script, l.territory), l.id) << l.language << "_" << l.territory;
    }
  }
}

TEST(Languages, SelectLanguageExactIdThenTheLanguageThenTheFirst) {
  LanguageList list;
  const std::pair<const char16_t*, uint16_t> tables[] = {
      {u"Deutsch", 0x0007}, {u"English (UK)", 0x0809}, {u"Kiswahili", 0x0441}, {u"Srpski", 0x241A}, {u"繁體中文", 0x0404},
  };
  for (const auto& [name, id] : tables) {
    LanguageTable t = BuiltInEnglish();
    t.name = name;
    t.id = id;
    list.tables.push_back(t);
  }
  // English 0x0409, 简体中文 0x0804, then the five above.
  const std::pair<uint16_t, int> cases[] = {
      {0x0809, 3}, {0x0409, 0}, {0x0C09, 0}, {0x0407, 2}, {0x0C07, 2}, {0x0441, 4}, {0x241A, 5},
      {0x281A, 0},  // Cyrillic Serbian: not the Latin table
      {0x101A, 0},  // Croatian shares Serbian's primary id, not its language
      {0x1004, 1}, {0x0C04, 6}, {0x0411, 0}, {0, 0},
  };
  for (const auto& [system, index] : cases) EXPECT_EQ(SelectLanguage(list, system), index) << std::hex << system;
}

}  // namespace
}  // namespace kirrup
