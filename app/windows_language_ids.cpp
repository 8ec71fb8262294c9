// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/windows_language_ids.h"

#include <algorithm>
#include <cctype>

namespace kirrup {
namespace {

// The specific ids by language, then the neutral ids (a language without its territory),
// as Windows defines them. Codes are those the toolkit's locale names give (Quechua "qu"
// for Windows' "quz", Central Kurdish "ckb"); the Serbian "CS" rows are the ids of the
// former Serbia and Montenegro, kept so that tables carrying them are recognised.
constexpr WindowsLocale kLocales[] = {
    {"af", "", "ZA", 0x0436}, {"sq", "", "AL", 0x041C}, {"gsw", "", "FR", 0x0484}, {"am", "", "ET", 0x045E},
    {"ar", "", "SA", 0x0401}, {"ar", "", "IQ", 0x0801}, {"ar", "", "EG", 0x0C01}, {"ar", "", "LY", 0x1001},
    {"ar", "", "DZ", 0x1401}, {"ar", "", "MA", 0x1801}, {"ar", "", "TN", 0x1C01}, {"ar", "", "OM", 0x2001},
    {"ar", "", "YE", 0x2401}, {"ar", "", "SY", 0x2801}, {"ar", "", "JO", 0x2C01}, {"ar", "", "LB", 0x3001},
    {"ar", "", "KW", 0x3401}, {"ar", "", "AE", 0x3801}, {"ar", "", "BH", 0x3C01}, {"ar", "", "QA", 0x4001},
    {"hy", "", "AM", 0x042B}, {"as", "", "IN", 0x044D}, {"az", "Latn", "AZ", 0x042C},
    {"az", "Cyrl", "AZ", 0x082C}, {"bn", "", "IN", 0x0445}, {"bn", "", "BD", 0x0845}, {"ba", "", "RU", 0x046D},
    {"eu", "", "ES", 0x042D}, {"be", "", "BY", 0x0423}, {"bs", "Latn", "BA", 0x141A},
    {"bs", "Cyrl", "BA", 0x201A}, {"br", "", "FR", 0x047E}, {"bg", "", "BG", 0x0402}, {"my", "", "MM", 0x0455},
    {"ca", "", "ES", 0x0403}, {"ku", "Arab", "IQ", 0x0492}, {"ckb", "", "IQ", 0x0492},
    {"chr", "", "US", 0x045C}, {"zh", "Hans", "CN", 0x0804}, {"zh", "Hant", "TW", 0x0404},
    {"zh", "Hant", "HK", 0x0C04}, {"zh", "Hans", "SG", 0x1004}, {"zh", "Hant", "MO", 0x1404},
    {"co", "", "FR", 0x0483}, {"hr", "", "HR", 0x041A}, {"hr", "", "BA", 0x101A}, {"cs", "", "CZ", 0x0405},
    {"da", "", "DK", 0x0406}, {"fa", "", "AF", 0x048C}, {"dv", "", "MV", 0x0465}, {"nl", "", "NL", 0x0413},
    {"nl", "", "BE", 0x0813}, {"dz", "", "BT", 0x0C51}, {"en", "", "US", 0x0409}, {"en", "", "GB", 0x0809},
    {"en", "", "AU", 0x0C09}, {"en", "", "CA", 0x1009}, {"en", "", "NZ", 0x1409}, {"en", "", "IE", 0x1809},
    {"en", "", "ZA", 0x1C09}, {"en", "", "JM", 0x2009}, {"en", "", "029", 0x2409}, {"en", "", "BZ", 0x2809},
    {"en", "", "TT", 0x2C09}, {"en", "", "ZW", 0x3009}, {"en", "", "PH", 0x3409}, {"en", "", "ID", 0x3809},
    {"en", "", "HK", 0x3C09}, {"en", "", "IN", 0x4009}, {"en", "", "MY", 0x4409}, {"en", "", "SG", 0x4809},
    {"en", "", "AE", 0x4C09}, {"en", "", "BH", 0x5009}, {"en", "", "EG", 0x5409}, {"en", "", "JO", 0x5809},
    {"en", "", "KW", 0x5C09}, {"en", "", "TR", 0x6009}, {"en", "", "YE", 0x6409}, {"et", "", "EE", 0x0425},
    {"fo", "", "FO", 0x0438}, {"fil", "", "PH", 0x0464}, {"fi", "", "FI", 0x040B}, {"fr", "", "FR", 0x040C},
    {"fr", "", "BE", 0x080C}, {"fr", "", "CA", 0x0C0C}, {"fr", "", "CH", 0x100C}, {"fr", "", "LU", 0x140C},
    {"fr", "", "MC", 0x180C}, {"fr", "", "029", 0x1C0C}, {"fr", "", "RE", 0x200C}, {"fr", "", "CD", 0x240C},
    {"fr", "", "SN", 0x280C}, {"fr", "", "CM", 0x2C0C}, {"fr", "", "CI", 0x300C}, {"fr", "", "ML", 0x340C},
    {"fr", "", "MA", 0x380C}, {"fr", "", "HT", 0x3C0C}, {"fy", "", "NL", 0x0462}, {"ff", "Latn", "SN", 0x0867},
    {"ff", "", "NG", 0x0467}, {"gl", "", "ES", 0x0456}, {"ka", "", "GE", 0x0437}, {"de", "", "DE", 0x0407},
    {"de", "", "CH", 0x0807}, {"de", "", "AT", 0x0C07}, {"de", "", "LU", 0x1007}, {"de", "", "LI", 0x1407},
    {"el", "", "GR", 0x0408}, {"kl", "", "GL", 0x046F}, {"gn", "", "PY", 0x0474}, {"gu", "", "IN", 0x0447},
    {"ha", "Latn", "NG", 0x0468}, {"haw", "", "US", 0x0475}, {"he", "", "IL", 0x040D},
    {"hi", "", "IN", 0x0439}, {"hu", "", "HU", 0x040E}, {"is", "", "IS", 0x040F}, {"ig", "", "NG", 0x0470},
    {"id", "", "ID", 0x0421}, {"iu", "Latn", "CA", 0x085D}, {"iu", "Cans", "CA", 0x045D},
    {"ga", "", "IE", 0x083C}, {"xh", "", "ZA", 0x0434}, {"zu", "", "ZA", 0x0435}, {"it", "", "IT", 0x0410},
    {"it", "", "CH", 0x0810}, {"ja", "", "JP", 0x0411}, {"kn", "", "IN", 0x044B}, {"ks", "Arab", "IN", 0x0460},
    {"ks", "Deva", "IN", 0x0860}, {"kk", "", "KZ", 0x043F}, {"km", "", "KH", 0x0453},
    {"quc", "", "GT", 0x0486}, {"rw", "", "RW", 0x0487}, {"sw", "", "KE", 0x0441}, {"kok", "", "IN", 0x0457},
    {"ko", "", "KR", 0x0412}, {"ky", "", "KG", 0x0440}, {"lo", "", "LA", 0x0454}, {"la", "", "VA", 0x0476},
    {"lv", "", "LV", 0x0426}, {"lt", "", "LT", 0x0427}, {"dsb", "", "DE", 0x082E}, {"lb", "", "LU", 0x046E},
    {"mk", "", "MK", 0x042F}, {"ms", "", "MY", 0x043E}, {"ms", "", "BN", 0x083E}, {"ml", "", "IN", 0x044C},
    {"mt", "", "MT", 0x043A}, {"mni", "", "IN", 0x0458}, {"mi", "", "NZ", 0x0481}, {"arn", "", "CL", 0x047A},
    {"mr", "", "IN", 0x044E}, {"moh", "", "CA", 0x047C}, {"mn", "Cyrl", "MN", 0x0450},
    {"mn", "Mong", "CN", 0x0850}, {"mn", "Mong", "MN", 0x0C50}, {"ne", "", "NP", 0x0461},
    {"ne", "", "IN", 0x0861}, {"nb", "", "NO", 0x0414}, {"no", "", "NO", 0x0414}, {"nn", "", "NO", 0x0814},
    {"oc", "", "FR", 0x0482}, {"or", "", "IN", 0x0448}, {"om", "", "ET", 0x0472}, {"ps", "", "AF", 0x0463},
    {"fa", "", "IR", 0x0429}, {"pl", "", "PL", 0x0415}, {"pt", "", "BR", 0x0416}, {"pt", "", "PT", 0x0816},
    {"pa", "Guru", "IN", 0x0446}, {"pa", "Arab", "PK", 0x0846}, {"qu", "", "BO", 0x046B},
    {"qu", "", "EC", 0x086B}, {"qu", "", "PE", 0x0C6B}, {"ro", "", "RO", 0x0418}, {"ro", "", "MD", 0x0818},
    {"rm", "", "CH", 0x0417}, {"ru", "", "RU", 0x0419}, {"ru", "", "MD", 0x0819}, {"sah", "", "RU", 0x0485},
    {"se", "", "NO", 0x043B}, {"se", "", "SE", 0x083B}, {"se", "", "FI", 0x0C3B}, {"smj", "", "NO", 0x103B},
    {"smj", "", "SE", 0x143B}, {"sma", "", "NO", 0x183B}, {"sma", "", "SE", 0x1C3B}, {"sms", "", "FI", 0x203B},
    {"smn", "", "FI", 0x243B}, {"sa", "", "IN", 0x044F}, {"gd", "", "GB", 0x0491},
    {"sr", "Cyrl", "RS", 0x281A}, {"sr", "Latn", "RS", 0x241A}, {"sr", "Cyrl", "ME", 0x301A},
    {"sr", "Latn", "ME", 0x2C1A}, {"sr", "Cyrl", "BA", 0x1C1A}, {"sr", "Latn", "BA", 0x181A},
    {"sr", "Cyrl", "CS", 0x0C1A}, {"sr", "Latn", "CS", 0x081A}, {"nso", "", "ZA", 0x046C},
    {"st", "", "ZA", 0x0430}, {"tn", "", "ZA", 0x0432}, {"tn", "", "BW", 0x0832}, {"sd", "Arab", "PK", 0x0859},
    {"sd", "Deva", "IN", 0x0459}, {"si", "", "LK", 0x045B}, {"sk", "", "SK", 0x041B}, {"sl", "", "SI", 0x0424},
    {"so", "", "SO", 0x0477}, {"es", "", "ES", 0x0C0A}, {"es", "", "MX", 0x080A}, {"es", "", "GT", 0x100A},
    {"es", "", "CR", 0x140A}, {"es", "", "PA", 0x180A}, {"es", "", "DO", 0x1C0A}, {"es", "", "VE", 0x200A},
    {"es", "", "CO", 0x240A}, {"es", "", "PE", 0x280A}, {"es", "", "AR", 0x2C0A}, {"es", "", "EC", 0x300A},
    {"es", "", "CL", 0x340A}, {"es", "", "UY", 0x380A}, {"es", "", "PY", 0x3C0A}, {"es", "", "BO", 0x400A},
    {"es", "", "SV", 0x440A}, {"es", "", "HN", 0x480A}, {"es", "", "NI", 0x4C0A}, {"es", "", "PR", 0x500A},
    {"es", "", "US", 0x540A}, {"es", "", "419", 0x580A}, {"es", "", "CU", 0x5C0A}, {"sv", "", "SE", 0x041D},
    {"sv", "", "FI", 0x081D}, {"syr", "", "SY", 0x045A}, {"tg", "Cyrl", "TJ", 0x0428},
    {"tzm", "Latn", "DZ", 0x085F}, {"tzm", "Tfng", "MA", 0x0C5F}, {"tzm", "Arab", "MA", 0x045F},
    {"ta", "", "IN", 0x0449}, {"ta", "", "LK", 0x0849}, {"tt", "", "RU", 0x0444}, {"te", "", "IN", 0x044A},
    {"th", "", "TH", 0x041E}, {"bo", "", "CN", 0x0451}, {"ti", "", "ET", 0x0473}, {"ti", "", "ER", 0x0873},
    {"ts", "", "ZA", 0x0431}, {"tr", "", "TR", 0x041F}, {"tk", "", "TM", 0x0442}, {"uk", "", "UA", 0x0422},
    {"hsb", "", "DE", 0x042E}, {"ur", "", "PK", 0x0420}, {"ur", "", "IN", 0x0820}, {"ug", "", "CN", 0x0480},
    {"uz", "Latn", "UZ", 0x0443}, {"uz", "Cyrl", "UZ", 0x0843}, {"ve", "", "ZA", 0x0433},
    {"vi", "", "VN", 0x042A}, {"cy", "", "GB", 0x0452}, {"wo", "", "SN", 0x0488}, {"ii", "", "CN", 0x0478},
    {"yi", "", "001", 0x043D}, {"yo", "", "NG", 0x046A}, {"ar", "", "", 0x0001}, {"bg", "", "", 0x0002},
    {"ca", "", "", 0x0003}, {"zh", "Hans", "", 0x0004}, {"cs", "", "", 0x0005}, {"da", "", "", 0x0006},
    {"de", "", "", 0x0007}, {"el", "", "", 0x0008}, {"en", "", "", 0x0009}, {"es", "", "", 0x000A},
    {"fi", "", "", 0x000B}, {"fr", "", "", 0x000C}, {"he", "", "", 0x000D}, {"hu", "", "", 0x000E},
    {"is", "", "", 0x000F}, {"it", "", "", 0x0010}, {"ja", "", "", 0x0011}, {"ko", "", "", 0x0012},
    {"nl", "", "", 0x0013}, {"nb", "", "", 0x0014}, {"no", "", "", 0x0014}, {"pl", "", "", 0x0015},
    {"pt", "", "", 0x0016}, {"rm", "", "", 0x0017}, {"ro", "", "", 0x0018}, {"ru", "", "", 0x0019},
    {"hr", "", "", 0x001A}, {"sk", "", "", 0x001B}, {"sq", "", "", 0x001C}, {"sv", "", "", 0x001D},
    {"th", "", "", 0x001E}, {"tr", "", "", 0x001F}, {"ur", "", "", 0x0020}, {"id", "", "", 0x0021},
    {"uk", "", "", 0x0022}, {"be", "", "", 0x0023}, {"sl", "", "", 0x0024}, {"et", "", "", 0x0025},
    {"lv", "", "", 0x0026}, {"lt", "", "", 0x0027}, {"tg", "Cyrl", "", 0x0028}, {"fa", "", "", 0x0029},
    {"vi", "", "", 0x002A}, {"hy", "", "", 0x002B}, {"az", "Latn", "", 0x002C}, {"eu", "", "", 0x002D},
    {"hsb", "", "", 0x002E}, {"mk", "", "", 0x002F}, {"st", "", "", 0x0030}, {"ts", "", "", 0x0031},
    {"tn", "", "", 0x0032}, {"ve", "", "", 0x0033}, {"xh", "", "", 0x0034}, {"zu", "", "", 0x0035},
    {"af", "", "", 0x0036}, {"ka", "", "", 0x0037}, {"fo", "", "", 0x0038}, {"hi", "", "", 0x0039},
    {"mt", "", "", 0x003A}, {"se", "", "", 0x003B}, {"ga", "", "", 0x003C}, {"yi", "", "", 0x003D},
    {"ms", "", "", 0x003E}, {"kk", "", "", 0x003F}, {"ky", "", "", 0x0040}, {"sw", "", "", 0x0041},
    {"tk", "", "", 0x0042}, {"uz", "Latn", "", 0x0043}, {"tt", "", "", 0x0044}, {"bn", "", "", 0x0045},
    {"pa", "Guru", "", 0x0046}, {"gu", "", "", 0x0047}, {"or", "", "", 0x0048}, {"ta", "", "", 0x0049},
    {"te", "", "", 0x004A}, {"kn", "", "", 0x004B}, {"ml", "", "", 0x004C}, {"as", "", "", 0x004D},
    {"mr", "", "", 0x004E}, {"sa", "", "", 0x004F}, {"mn", "Cyrl", "", 0x0050}, {"bo", "", "", 0x0051},
    {"cy", "", "", 0x0052}, {"km", "", "", 0x0053}, {"lo", "", "", 0x0054}, {"my", "", "", 0x0055},
    {"gl", "", "", 0x0056}, {"kok", "", "", 0x0057}, {"mni", "", "", 0x0058}, {"sd", "Arab", "", 0x0059},
    {"syr", "", "", 0x005A}, {"si", "", "", 0x005B}, {"chr", "", "", 0x005C}, {"iu", "Latn", "", 0x005D},
    {"am", "", "", 0x005E}, {"tzm", "Latn", "", 0x005F}, {"ks", "Arab", "", 0x0060}, {"ne", "", "", 0x0061},
    {"fy", "", "", 0x0062}, {"ps", "", "", 0x0063}, {"fil", "", "", 0x0064}, {"dv", "", "", 0x0065},
    {"ff", "Latn", "", 0x0067}, {"ha", "Latn", "", 0x0068}, {"yo", "", "", 0x006A}, {"qu", "", "", 0x006B},
    {"nso", "", "", 0x006C}, {"ba", "", "", 0x006D}, {"lb", "", "", 0x006E}, {"kl", "", "", 0x006F},
    {"ig", "", "", 0x0070}, {"om", "", "", 0x0072}, {"ti", "", "", 0x0073}, {"gn", "", "", 0x0074},
    {"haw", "", "", 0x0075}, {"la", "", "", 0x0076}, {"so", "", "", 0x0077}, {"ii", "", "", 0x0078},
    {"arn", "", "", 0x007A}, {"moh", "", "", 0x007C}, {"br", "", "", 0x007E}, {"ug", "", "", 0x0080},
    {"mi", "", "", 0x0081}, {"oc", "", "", 0x0082}, {"co", "", "", 0x0083}, {"gsw", "", "", 0x0084},
    {"sah", "", "", 0x0085}, {"quc", "", "", 0x0086}, {"rw", "", "", 0x0087}, {"wo", "", "", 0x0088},
    {"fa", "", "", 0x008C}, {"gd", "", "", 0x0091}, {"ckb", "", "", 0x0092}, {"zh", "Hant", "", 0x7C04},
    {"sr", "Cyrl", "", 0x6C1A}, {"sr", "Latn", "", 0x701A}, {"sr", "", "", 0x7C1A}, {"bs", "Cyrl", "", 0x641A},
    {"bs", "Latn", "", 0x681A}, {"bs", "", "", 0x781A}, {"nn", "", "", 0x7814}, {"nb", "", "", 0x7C14},
    {"uz", "Cyrl", "", 0x7843}, {"az", "Cyrl", "", 0x742C}, {"mn", "Mong", "", 0x7C50},
    {"iu", "Cans", "", 0x785D}, {"pa", "Arab", "", 0x7C46}, {"ha", "Latn", "", 0x7C68},
    {"tzm", "Tfng", "", 0x785F}, {"smj", "", "", 0x7C3B}, {"sma", "", "", 0x783B}, {"sms", "", "", 0x743B},
    {"smn", "", "", 0x703B},
};

bool Equal(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::span<const WindowsLocale> WindowsLocales() { return kLocales; }

uint16_t WindowsLanguageIdOf(std::string_view language, std::string_view script, std::string_view territory) {
  const WindowsLocale* territoryMatch = nullptr;
  const WindowsLocale* scriptMatch = nullptr;
  const WindowsLocale* first = nullptr;
  for (const WindowsLocale& l : kLocales) {
    if (!Equal(l.language, language) || l.territory.empty()) continue;
    const bool sameScript = !script.empty() && Equal(l.script, script);
    if (!territory.empty() && Equal(l.territory, territory)) {
      if (sameScript) return l.id;
      if (!territoryMatch) territoryMatch = &l;
    }
    if (sameScript && !scriptMatch) scriptMatch = &l;
    if (!first) first = &l;
  }
  if (territoryMatch) return territoryMatch->id;
  if (scriptMatch) return scriptMatch->id;
  return first ? first->id : 0;
}

const WindowsLocale* WindowsLocaleOf(uint16_t id) {
  for (const WindowsLocale& l : kLocales) {
    if (l.id == id) return &l;
  }
  return nullptr;
}

bool SameWindowsLanguage(uint16_t a, uint16_t b) {
  const WindowsLocale* la = WindowsLocaleOf(a);
  const WindowsLocale* lb = WindowsLocaleOf(b);
  if (!la || !lb) return false;
  // "no" and "nb" are one language under two codes.
  auto language = [](const WindowsLocale* l) { return l->language == "no" ? std::string_view("nb") : l->language; };
  if (language(la) != language(lb)) return false;
  return la->script.empty() || lb->script.empty() || la->script == lb->script;
}

}  // namespace kirrup
