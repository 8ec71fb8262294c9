// SPDX-License-Identifier: GPL-2.0-or-later
// Any bytes as a settings file: reading, writing the program's keys and reading the
// result back must neither crash nor lose what the reader found before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kirrup::platform::ProfileFile;
  ProfileFile f;
  f.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto foreign = f.Find(u"Set", u"LedGap11", SIZE_MAX);
  const auto english = f.Find(u"English", u"B1");
  f.GetInt(u"Set", u"LedType", 1);
  f.GetString(u"Language", u"1", u"", 158);
  f.WriteInt(u"Set", u"LedType", 2);
  f.WriteString(u"Set", u"SysFont", u"宋体");
  f.WriteString(u"LangCodePage", u"1", u"英文,0409");
  const std::string written = f.Serialize();
  ProfileFile g;
  g.Parse(written);
  if (g.Find(u"Set", u"LedGap11", SIZE_MAX) != foreign) std::abort();
  if (g.Find(u"English", u"B1") != english) std::abort();
  if (g.GetInt(u"Set", u"LedType", 0) != 2) std::abort();
  if (g.Serialize() != written) std::abort();
  return 0;
}
