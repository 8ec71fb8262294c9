// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/settings_report.h"

#include <string>

#include "app/application.h"
#include "fonts/font_engine.h"
#include "fonts/glyph_size_tables.h"
#include "platform/dynamic_library.h"

namespace kirrup::cli {
namespace {

// How many of a library's glyph records lie inside the loaded data.
std::string GlyphCount(const FontEngine& fonts, FontLibrary lib) {
  const auto data = std::span<const uint8_t>(fonts.library(lib).data);
  int first = 0, last = 0;
  bool (*decode)(std::span<const uint8_t>, int, CharColumns&) = nullptr;
  switch (lib) {
    case FontLibrary::k7Ascii: first = 32, last = 136; break;
    case FontLibrary::k11Ascii: first = 32, last = 126, decode = DecodeAscii11; break;
    case FontLibrary::k11Symbols: first = 0, last = 14, decode = DecodeSymbol11; break;
    case FontLibrary::k16Ascii: first = 32, last = 126, decode = DecodeAscii16; break;
    case FontLibrary::k16Symbols: first = 0, last = 14, decode = DecodeSymbol16; break;
  }
  int found = 0;
  for (int code = first; code <= last; ++code) {
    CharColumns r;
    found += decode ? decode(data, code, r) : Decode7(data, code, 1, r);
  }
  const int all = last - first + 1;
  return std::to_string(found) + " of " + std::to_string(all) + " glyphs" +
         (found < all ? " (the file ends inside a record)" : "");
}

std::string LibraryState(const FontEngine& fonts, FontLibrary lib) {
  const LibraryBuffer& b = fonts.library(lib);
  if (b.loaded) return "loaded, " + std::to_string(b.size) + " bytes, " + GlyphCount(fonts, lib);
  if (!b.error.reason.empty()) return "not loaded: " + b.error.reason;
  if (b.size == 0) return "not loaded: empty";
  return "not loaded: " + std::to_string(b.size) + " bytes, longer than " + std::to_string(kMaxLibraryBytes);
}

std::string UserFontState(const UserFont& font) {
  if (!font.hasTable()) return "not available: no size table";
  uint64_t size = 0;
  platform::FileError why;
  if (!platform::OpenRegularFile(font.path().string(), size, &why)) return "not available: " + why.reason;
  const uint64_t wanted = font.GlyphBytes();
  if (size < wanted)
    return "available, " + std::to_string(size) + " bytes, shorter than the " + std::to_string(wanted) +
           " its size table asks for: the glyphs past its end are missing";
  return "available, " + std::to_string(size) + " bytes";
}

std::string UsbLinkState(const std::string& programFolder) {
  platform::DynamicLibrary lib;
  if (!lib.Load(programFolder + "/" + kUsbLibraryName)) return "not loaded: " + lib.error();
  std::string missing;
  for (const char* name : {"OpenUSBDevice", "CloseUSBDevice", "WriteUSB", "ReadUSB"})
    if (!lib.Symbol(name)) missing += std::string(missing.empty() ? "" : ", ") + name;
  if (!missing.empty()) return "loaded, but lacks " + missing + ": the program runs without a device link";
  return "loaded, all four entry points";
}

}  // namespace

bool PrintSettingsSources(const std::string& programFolder, const platform::ProfileFile& file, std::FILE* out) {
  const platform::FileError& e = file.loadError();
  const bool refused = !e.reason.empty() && !e.missing();
  if (e.reason.empty())
    std::fprintf(out, "SettingsFileState=read\n");
  else if (e.missing())
    std::fprintf(out, "SettingsFileState=missing (%s): the defaults apply\n", e.reason.c_str());
  else
    std::fprintf(out, "SettingsFileState=not read (%s): the defaults apply and the program will not save its settings\n",
                 e.reason.c_str());

  FontEngine fonts;
  fonts.LoadLibraries(programFolder);
  for (int i = 0; i < kFontLibraryCount; ++i) {
    const auto lib = static_cast<FontLibrary>(i);
    std::fprintf(out, "%s=%s\n", FontLibraryFileName(lib), LibraryState(fonts, lib).c_str());
  }
  std::fprintf(out, "UserZK11.fnt=%s\n", UserFontState(fonts.userFont11()).c_str());
  std::fprintf(out, "UserZK16.fnt=%s\n", UserFontState(fonts.userFont16()).c_str());
  std::fprintf(out, "UsbLink=%s: %s\n", kUsbLibraryName, UsbLinkState(programFolder).c_str());
  return !refused;
}

}  // namespace kirrup::cli
