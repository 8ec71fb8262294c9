// SPDX-License-Identifier: GPL-2.0-or-later
// The exit's settings write: load a settings file with the full language template,
// write section "Set", "LangCodePage" and two language tables (about 140 keys), serialise.
#include <benchmark/benchmark.h>

#include "app/languages.h"
#include "platform/profile_file.h"

namespace {

using kirrup::platform::ProfileFile;

std::string TemplateFile(int extraSections) {
  ProfileFile f;
  kirrup::LanguageList list;
  kirrup::ReadLanguages(f, list);  // nothing in the file: both built-ins are appended
  kirrup::WriteLanguages(f, list);
  for (int i = 0; i < extraSections; ++i) {
    const std::string n = std::to_string(i);
    f.WriteString(u"S" + std::u16string(n.begin(), n.end()), u"k", u"v");
  }
  return f.Serialize();
}

void ExitWrite(benchmark::State& state) {
  const std::string bytes = TemplateFile(static_cast<int>(state.range(0)));
  kirrup::LanguageList list;
  kirrup::ReadLanguages(ProfileFile(), list);
  for (auto _ : state) {
    ProfileFile f;
    f.Parse(bytes);
    for (int i = 0; i < 6; ++i) f.WriteInt(u"Set", u"Key" + std::u16string(1, char16_t(u'A' + i)), i);
    kirrup::WriteLanguages(f, list);
    benchmark::DoNotOptimize(f.Serialize());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ExitWrite)->Arg(0)->Arg(5000);

}  // namespace
