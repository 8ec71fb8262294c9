// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Changing keys of section "Set" from outside the program: each KEY=VALUE is checked
// against the range the program keeps the key in (a value the program would clamp or
// replace is refused, not clamped) and written as the program writes it.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_file.h"

namespace kirrup {

struct SettingChange {
  std::u16string key;    // the key's own spelling
  std::u16string value;  // as it goes into the file
};

// Parses and checks "KEY=VALUE" (key names ignore case). On failure returns nullopt and
// sets error to a sentence for the user.
std::optional<SettingChange> ParseSettingAssignment(std::string_view assignment, std::string& error);

// Writes the changes into section "Set", each where the key stands (other lines untouched).
void ApplySettingChanges(platform::ProfileFile& file, std::span<const SettingChange> changes);

// The keys that can be set, with their accepted values, one per line (for messages).
std::string SettableKeysHelp();

}  // namespace kirrup
