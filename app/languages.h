// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The language tables of the user interface: the texts of the effect lists, the main
// dialog's captions, the note panel and the menus. English and Simplified Chinese are
// built in; more languages come from the settings file, up to sixteen in all.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_file.h"

namespace kirrup {

inline constexpr int kMaxLanguages = 16;

// Longest text each slot holds; longer texts from the file are cut.
inline constexpr size_t kLanguageNameChars = 39;
inline constexpr size_t kEffectTextChars = 79;    // B, D, E
inline constexpr size_t kCaptionTextChars = 39;   // C
inline constexpr size_t kNoteTextChars = 199;     // L
inline constexpr size_t kMenuTextChars = 39;      // M

struct LanguageTable {
  std::u16string name;  // listed to the user; also the name of its section
  uint16_t id = 0;      // Windows language identifier, 0 when the file gives none
  std::array<std::u16string, 9> openTexts;     // B1..B9: opening effects
  std::array<std::u16string, 4> middleTexts;   // D1..D4: middle effects
  std::array<std::u16string, 7> closeTexts;    // E1..E7: closing effects
  std::array<std::u16string, 18> captions;     // C1..C18: main dialog controls
  std::array<std::u16string, 3> notes;         // L1..L3: note panel for 7, 11, 16 LEDs
  std::array<std::u16string, 24> menuTexts;    // M1..M24: menu entries

  bool operator==(const LanguageTable&) const = default;
};

const LanguageTable& BuiltInEnglish();  // "English", 0x0409
const LanguageTable& BuiltInChinese();  // "简体中文", 0x0804

struct LanguageList {
  // As constructed: the two built-in tables, English current.
  LanguageList();

  std::vector<LanguageTable> tables;  // in list order; at most kMaxLanguages
  int current = 0;                    // index of the language the windows show
  bool chineseMissing = true;         // set by ReadLanguages
  bool englishMissing = true;
  // tables[appendedFrom..] are the built-in copies ReadLanguages appended; WriteLanguages writes them.
  size_t appendedFrom = 2;

  int count() const { return static_cast<int>(tables.size()); }
  // The current table (the first one if current is out of range).
  const LanguageTable& Current() const;
};

// Start-up, before section "Set": sections "Language" and one per language, then the
// missing built-in tables appended.
void ReadLanguages(const platform::ProfileFile& file, LanguageList& list);
// Exit, after section "Set": section "LangCodePage" and the appended built-in tables.
void WriteLanguages(platform::ProfileFile& file, const LanguageList& list);

// The first table whose id is the system's user-interface language; when none has it,
// the first table of the same language (and script); else 0.
int SelectLanguage(const LanguageList& list, uint16_t systemLanguageId);

// A Windows language identifier for a locale name such as "zh_CN", "en_GB", "de",
// "zh-Hant-TW" or "C" (English); 0 for a language Windows has no id for.
uint16_t WindowsLanguageId(std::string_view localeName);

// Whether a table is Chinese, so that the program's own texts (tool tips, the About box,
// names read to a screen reader) follow it: by its language id, or, for a table the
// settings file lists without one (the built-ins after the first exit), by the built-in
// Chinese name.
bool IsChineseTable(const LanguageTable& table);

// --- Texts for the windows --------------------------------------------------------

// "[b]" marks a paragraph break: each becomes two line breaks ("\r\n\r\n").
std::u16string ExpandParagraphs(std::u16string_view text);
// The note panel text for a LED type (0..2; others give the 7-LED note), expanded.
std::u16string NoteText(const LanguageTable& table, int ledType);

// Control ids that C1..C18 caption, in order (1 is the Exit button).
inline constexpr std::array<int, 18> kCaptionControlIds = {
    1028, 1029, 1032, 1030, 1034, 1035, 1040, 1056, 1057, 1059, 1013, 1010, 1011, 1012, 1, 1043, 1058, 1047};
// Commands that M1..M17 name: the line window's menu has the first eight, the drawing
// board's menu all seventeen.
inline constexpr std::array<int, 17> kMenuCommandIds = {
    8028, 8029, 8026, 8024, 57637, 8007, 8027, 8040, 8037, 8025, 8030, 8031, 8032, 8033, 8034, 8035, 8036};
// The LED colour menu: red, green, blue, yellow (M18..M21).
inline constexpr std::array<int, 4> kColorMenuCommandIds = {8014, 8015, 8016, 8017};
// The drawing board menu's submenus as the menu resource names them (M22..M24).
inline constexpr std::array<std::u16string_view, 3> kSubmenuCaptions = {u"网格大小", u"旋转", u"镜向"};

// The caption of a control, or null when C1..C18 do not name it.
const std::u16string* CaptionText(const LanguageTable& table, int controlId);
// The text of a menu command (M1..M21), or null when the command has none.
const std::u16string* MenuText(const LanguageTable& table, int command);
// The text of a submenu found by its resource caption (M22..M24), or null.
const std::u16string* SubmenuText(const LanguageTable& table, std::u16string_view resourceCaption);
// The selection a refilled list gets back: the old one when the list held items and
// had one, else 0.
int KeptSelection(int oldItemCount, int oldSelection);

}  // namespace kirrup
