// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the program lives: its LIB folder (font libraries, USB link library, settings) is there.
#include <string>
#include <string_view>

namespace kirrup::platform {

// The path of the running executable (empty if it cannot be found).
std::string ExecutablePath();
// path cut before its last '/'; the whole path when it has none ("/prog" gives "").
std::string FolderOf(std::string_view path);
// FolderOf(ExecutablePath()).
std::string ProgramFolder();

}  // namespace kirrup::platform
