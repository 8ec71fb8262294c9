// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/languages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "app/windows_language_ids.h"

namespace kirrup {
namespace {

const LanguageTable kEnglish = {
    .name = u"English",
    .id = 0x0409,
    .openTexts = {
        u"Left to Right",  // B1
        u"Right to Left",  // B2
        u"Up to Down",  // B3
        u"Down to Up",  // B4
        u"Middle to Two nearby",  // B5
        u"Two nearby to Middle",  // B6
        u"All display",  // B7
        u"Contra rotation",  // B8
        u"Clockwise rotation",  // B9
    },
    .middleTexts = {
        u"Contra rotation",  // D1
        u"Clockwise rotation",  // D2
        u"Flash 2 times",  // D3
        u"Remain",  // D4
    },
    .closeTexts = {
        u"From right to left",  // E1
        u"From left to right",  // E2
        u"From down to up",  // E3
        u"From up to down",  // E4
        u"From middle to two nearby",  // E5
        u"From two nearby to middle",  // E6
        u"All extinguishes",  // E7
    },
    .captions = {
        u"Open",  // C1
        u"Save",  // C2
        u"Clear",  // C3
        u"LedType",  // C4
        u"UserFont",  // C5
        u"SysFont",  // C6
        u"Language",  // C7
        u"Display Data",  // C8
        u"Open Option",  // C9
        u"Close Option",  // C10
        u"Color",  // C11
        u"Start",  // C12
        u"Stop",  // C13
        u"Send",  // C14
        u"Exit",  // C15
        u"Note",  // C16
        u"Middle Option",  // C17
        u"Use Middle Option",  // C18
    },
    .notes = {
        // As the Chinese notes: what a line takes with the built-in font.
        u"With the built-in font:[b]each line takes up to 18 Latin characters.",  // L1
        u"With the built-in font:[b]each line takes up to 18 Latin characters[b]or 12 Chinese characters.",  // L2
        u"With the built-in font:[b]each line takes up to 18 Latin characters[b]or 9 Chinese characters.",  // L3
    },
    .menuTexts = {
        u"Undo",  // M1
        u"Redo",  // M2
        u"Cut",  // M3
        u"Copy",  // M4
        u"Paste Graph",  // M5
        u"Paste Text",  // M6
        u"Delete",  // M7
        u"Select All",  // M8
        u"Clear All",  // M9
        u"Paste",  // M10
        u"Left Rotate 90",  // M11
        u"Right Rotate 90",  // M12
        u"Rotate 180",  // M13
        u"Horizontal Mirror",  // M14
        u"Vertical Mirror",  // M15
        u"Inverse Color",  // M16
        u"Hollow",  // M17
        u"Red",  // M18
        u"Green",  // M19
        u"Blue",  // M20
        u"Yellow",  // M21
        u"Grid Size",  // M22
        u"Rotate",  // M23
        u"Mirror",  // M24
    },
};

const LanguageTable kChinese = {
    .name = u"简体中文",
    .id = 0x0804,
    .openTexts = {
        u"从左到右开",  // B1
        u"从右到左开",  // B2
        u"从上到下开",  // B3
        u"从下到上开",  // B4
        u"从中间到两边开",  // B5
        u"从两边到中间开",  // B6
        u"全显开",  // B7
        u"逆时针旋转开",  // B8
        u"顺时针旋转开",  // B9
    },
    .middleTexts = {
        u"逆时针旋转",  // D1
        u"顺时针旋转",  // D2
        u"闪烁2次",  // D3
        u"停留",  // D4
    },
    .closeTexts = {
        u"从右到左关",  // E1
        u"从左到右关",  // E2
        u"从下到上关",  // E3
        u"从上到下关",  // E4
        u"从两边到中间关",  // E5
        u"从中间到两边关",  // E6
        u"全灭",  // E7
    },
    .captions = {
        u"打开",  // C1
        u"保存",  // C2
        u"清除",  // C3
        u"LED类型",  // C4
        u"用户字库",  // C5
        u"系统字库",  // C6
        u"语言",  // C7
        u"显示内容",  // C8
        u"开幕方式",  // C9
        u"闭幕方式",  // C10
        u"灯色",  // C11
        u"开始",  // C12
        u"停止",  // C13
        u"发送",  // C14
        u"退出",  // C15
        u"提示",  // C16
        u"中间过程",  // C17
        u"用中间过程",  // C18
    },
    .notes = {
        u"使用用户字库时:[b]  英文每段最多可以[b]输入18个字",  // L1
        u"使用用户字库时:[b]  英文每段最多可以[b]输入18个字[b]  中文每段最多可以[b]输入12个字",  // L2
        u"使用用户字库时:[b]  英文每段最多可以[b]输入18个字[b]  中文每段最多可以[b]输入9个字",  // L3
    },
    .menuTexts = {
        u"撤消",  // M1
        u"重复",  // M2
        u"剪切",  // M3
        u"复制",  // M4
        u"粘贴字符图形",  // M5
        u"粘贴自文本",  // M6
        u"删除",  // M7
        u"全选",  // M8
        u"清除图板",  // M9
        u"粘贴",  // M10
        u"左转90度",  // M11
        u"右转90度",  // M12
        u"旋转180度",  // M13
        u"水平镜向",  // M14
        u"垂直镜向",  // M15
        u"反色",  // M16
        u"镂空",  // M17
        u"红色",  // M18
        u"绿色",  // M19
        u"蓝色",  // M20
        u"黄色",  // M21
        u"网格大小",  // M22
        u"旋转",  // M23
        u"镜向",  // M24
    },
};

// Written at every exit for translators; never read.
struct CodePage {
  const char16_t* name;
  uint16_t id;
};
constexpr CodePage kCodePages[] = {
    {u"英文", 0x0409}, {u"简体中文", 0x0804}, {u"繁体中文", 0x0404}, {u"韩文", 0x0012}, {u"日文", 0x0011},
    {u"法文", 0x040C}, {u"德文", 0x0007},     {u"意大利文", 0x0010}, {u"西班牙文", 0x000A},
};

constexpr char16_t kLanguageSection[] = u"Language";
constexpr char16_t kCodePageSection[] = u"LangCodePage";

std::u16string Number(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

// Every text slot of a table with its key and capacity, in file order. The 65 keys are
// made once: each read and write of a table walks them all.
template <typename Table, typename Fn>
void ForEachText(Table& t, Fn&& fn) {
  static const std::vector<std::u16string> keys = [] {
    std::vector<std::u16string> out;
    const LanguageTable sizes;
    auto group = [&](char16_t letter, const auto& slots) {
      for (size_t i = 0; i < slots.size(); ++i) out.push_back(letter + Number(static_cast<int>(i + 1)));
    };
    group(u'B', sizes.openTexts);
    group(u'D', sizes.middleTexts);
    group(u'E', sizes.closeTexts);
    group(u'C', sizes.captions);
    group(u'L', sizes.notes);
    group(u'M', sizes.menuTexts);
    return out;
  }();
  size_t k = 0;
  auto group = [&](auto& slots, size_t chars) {
    for (auto& slot : slots) fn(keys[k++], slot, chars);
  };
  group(t.openTexts, kEffectTextChars);
  group(t.middleTexts, kEffectTextChars);
  group(t.closeTexts, kEffectTextChars);
  group(t.captions, kCaptionTextChars);
  group(t.notes, kNoteTextChars);
  group(t.menuTexts, kMenuTextChars);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return platform::FoldCase(x) == platform::FoldCase(y); });
}

// Hexadecimal digits from the start, stopping at the first other character; low 16 bits.
uint16_t HexId(std::u16string_view s) {
  uint32_t v = 0;
  for (char16_t c : s) {
    int d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else break;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return static_cast<uint16_t>(v & 0xFFFF);
}

std::u16string CutName(std::u16string_view name) {
  name = name.substr(0, std::min(name.size(), kLanguageNameChars));
  if (!name.empty() && name.back() >= 0xD800 && name.back() <= 0xDBFF) name.remove_suffix(1);
  return std::u16string(name);
}

}  // namespace

const LanguageTable& BuiltInEnglish() { return kEnglish; }
const LanguageTable& BuiltInChinese() { return kChinese; }

LanguageList::LanguageList() : tables{kEnglish, kChinese} {}

const LanguageTable& LanguageList::Current() const {
  if (current >= 0 && current < count()) return tables[static_cast<size_t>(current)];
  return tables.empty() ? kEnglish : tables.front();
}

void ReadLanguages(const platform::ProfileFile& file, LanguageList& list) {
  list.chineseMissing = true;
  list.englishMissing = true;
  list.tables.clear();
  for (int n = 1; n <= kMaxLanguages; ++n) {
    const auto value = file.Find(kLanguageSection, Number(n), 158);
    if (!value) continue;
    const std::u16string_view v = Trim(*value);
    if (v.empty()) continue;
    const size_t comma = v.find(u',');
    LanguageTable t;
    t.name = CutName(v.substr(0, comma));
    if (t.name.empty()) continue;
    if (comma != std::u16string_view::npos) t.id = HexId(v.substr(comma + 1));
    list.tables.push_back(std::move(t));
  }
  for (LanguageTable& t : list.tables) {
    ForEachText(t, [&](const std::u16string& key, std::u16string& text, size_t chars) {
      text = file.GetString(t.name, key, u"", chars);
    });
    if (SameName(t.name, kChinese.name)) list.chineseMissing = false;
    if (SameName(t.name, kEnglish.name)) list.englishMissing = false;
  }
  list.appendedFrom = list.tables.size();
  if (list.englishMissing && list.count() < kMaxLanguages) list.tables.push_back(kEnglish);
  if (list.chineseMissing && list.count() < kMaxLanguages) list.tables.push_back(kChinese);
  if (list.current >= list.count()) list.current = 0;
}

void WriteLanguages(platform::ProfileFile& file, const LanguageList& list) {
  for (int i = 0; i < static_cast<int>(std::size(kCodePages)); ++i) {
    char buf[8];
    std::snprintf(buf, sizeof buf, ",%04X", kCodePages[i].id);
    file.WriteString(kCodePageSection, Number(i + 1), kCodePages[i].name + std::u16string(buf, buf + std::char_traits<char>::length(buf)));
  }
  // An appended table goes under the "Language" key of its list position, unless the
  // file already names a language there: then under the next free key, so that no
  // language of the file is lost.
  auto taken = [&](int n) {
    const auto v = file.Find(kLanguageSection, Number(n), 158);
    if (!v) return false;
    const std::u16string_view t = Trim(*v);
    return !t.empty() && t.front() != u',';
  };
  for (size_t i = list.appendedFrom; i < list.tables.size(); ++i) {
    const LanguageTable& t = list.tables[i];
    int n = static_cast<int>(i) + 1;
    while (n <= kMaxLanguages && taken(n)) ++n;
    if (n > kMaxLanguages) {
      n = 1;
      while (n <= kMaxLanguages && taken(n)) ++n;
    }
    if (n > kMaxLanguages) continue;
    file.WriteString(kLanguageSection, Number(n), t.name);
    ForEachText(t, [&](const std::u16string& key, const std::u16string& text, size_t) {
      file.WriteString(t.name, key, text);
    });
  }
}

int SelectLanguage(const LanguageList& list, uint16_t systemLanguageId) {
  if (systemLanguageId == 0) return 0;  // a locale without a Windows id matches nothing
  for (int i = 0; i < list.count(); ++i) {
    if (list.tables[static_cast<size_t>(i)].id == systemLanguageId) return i;
  }
  // No table for the user's territory: one for the language (a neutral id such as 0007,
  // or another territory's) serves better than the first table.
  for (int i = 0; i < list.count(); ++i) {
    if (SameWindowsLanguage(list.tables[static_cast<size_t>(i)].id, systemLanguageId)) return i;
  }
  return 0;
}

uint16_t WindowsLanguageId(std::string_view localeName) {
  // Split "ll[_-]Script[_-]RR[.codeset][@modifier]" into language, script and region.
  localeName = localeName.substr(0, localeName.find_first_of(".@"));
  std::string parts[3];
  int count = 0;
  size_t start = 0;
  while (start <= localeName.size() && count < 3) {
    size_t end = localeName.find_first_of("_-", start);
    if (end == std::string_view::npos) end = localeName.size();
    std::string p(localeName.substr(start, end - start));
    for (char& c : p) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    parts[count++] = p;
    start = end + 1;
  }
  const std::string& lang = parts[0];
  std::string script, region;
  for (int i = 1; i < count; ++i) (parts[i].size() == 4 ? script : region) = parts[i];
  // The untranslated "C" locale speaks English.
  if (lang.empty() || lang == "c" || lang == "posix") return 0x0409;
  return WindowsLanguageIdOf(lang, script, region);
}

std::u16string ExpandParagraphs(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size();) {
    const size_t mark = std::min(text.find(u"[b]", i), text.size());
    out.append(text.substr(i, mark - i));
    if (mark == text.size()) break;
    out += u"\r\n\r\n";
    i = mark + 3;
  }
  return out;
}

std::u16string NoteText(const LanguageTable& table, int ledType) {
  return ExpandParagraphs(table.notes[(ledType >= 0 && ledType <= 2) ? ledType : 0]);
}

const std::u16string* CaptionText(const LanguageTable& table, int controlId) {
  for (size_t i = 0; i < kCaptionControlIds.size(); ++i) {
    if (kCaptionControlIds[i] == controlId) return &table.captions[i];
  }
  return nullptr;
}

const std::u16string* MenuText(const LanguageTable& table, int command) {
  for (size_t i = 0; i < kMenuCommandIds.size(); ++i) {
    if (kMenuCommandIds[i] == command) return &table.menuTexts[i];
  }
  for (size_t i = 0; i < kColorMenuCommandIds.size(); ++i) {
    if (kColorMenuCommandIds[i] == command) return &table.menuTexts[17 + i];
  }
  return nullptr;
}

const std::u16string* SubmenuText(const LanguageTable& table, std::u16string_view resourceCaption) {
  for (size_t i = 0; i < kSubmenuCaptions.size(); ++i) {
    if (kSubmenuCaptions[i] == resourceCaption) return &table.menuTexts[21 + i];
  }
  return nullptr;
}

int KeptSelection(int oldItemCount, int oldSelection) {
  return (oldItemCount > 0 && oldSelection >= 0) ? oldSelection : 0;
}

bool IsChineseTable(const LanguageTable& table) {
  if (table.id != 0) return (table.id & 0x3FF) == 0x04;
  return SameName(table.name, BuiltInChinese().name);
}

}  // namespace kirrup
