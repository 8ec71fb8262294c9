// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the settings file lives. Beside the program (LIB/Kirrup.ini) whenever this user can
// write that folder: the build tree and portable copies keep working as they always did.
// An installed program in a system folder cannot write there, and every change of settings
// would be lost at exit; its settings live in the user's configuration folder instead
// ($XDG_CONFIG_HOME/kirrup/Kirrup.ini), started from a copy of the shipped LIB/Kirrup.ini.
#include <string>

namespace kirrup {

enum class SettingsPlace { ProgramFolder, UserFolder };

struct SettingsLocation {
  SettingsPlace place = SettingsPlace::ProgramFolder;
  std::string path;     // read at start-up, written at exit
  std::string shipped;  // <ProgramFolder>/LIB/Kirrup.ini, the per-user file's first content
  std::string why;      // one line for people: why this place

  bool operator==(const SettingsLocation&) const = default;
};

// What the choice depends on, gathered from the system by ProbeSettingsEnvironment.
struct SettingsEnvironment {
  bool libReadOnly = false;  // LIB/ exists and this user cannot create files in it
  std::string configHome;    // the user's configuration folder; empty when none is known
};

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; empty without either.
// Either argument may be null (unset).
std::string ConfigHome(const char* xdgConfigHome, const char* home);

// The decision itself. A missing LIB/ keeps the program folder's path: the program is not
// set up there at all, and a file elsewhere would only hide that.
SettingsLocation ChooseSettingsFile(const std::string& programFolder, const SettingsEnvironment& env);

SettingsEnvironment ProbeSettingsEnvironment(const std::string& programFolder);

// ChooseSettingsFile(programFolder, ProbeSettingsEnvironment(programFolder)).
SettingsLocation FindSettingsFile(const std::string& programFolder);

// Makes the per-user file ready before it is first read: creates its folder and, when the
// file does not exist yet, copies the shipped file there (when there is one). Does nothing
// for the program folder's file. False when the folder or the copy could not be made.
bool PrepareSettingsFile(const SettingsLocation& location);

// The file whose content is in force right now, without changing anything: the per-user
// file once it exists, else the shipped one it will start from.
std::string SettingsFileToRead(const SettingsLocation& location);

// $XDG_CACHE_HOME when it is an absolute path, else $HOME/.cache; empty without either.
std::string CacheHome(const char* xdgCacheHome, const char* home);

// The folder Send writes "USBSendData.bin" into: empty for the working directory, where a
// program with a writable folder keeps it; <cacheHome>/kirrup for one whose settings live
// in the user's folder (installed read-only, usually started from the menu in the home
// folder, which is no place for the file); the working directory when no cache folder is
// known.
std::string DeviceImageFolder(const SettingsLocation& location, const std::string& cacheHome);
// The same from the environment, the folder made (private to the user) when it is used.
// Empty also when it cannot be made: the working directory is then the place.
std::string PrepareDeviceImageFolder(const SettingsLocation& location);

}  // namespace kirrup
