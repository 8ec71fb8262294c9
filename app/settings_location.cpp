// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/settings.h"
#include "platform/atomic_file.h"

namespace kirrup {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// mkdir -p; new folders are private to the user, as the XDG rules ask.
bool MakeFolders(const std::string& path) {
  if (path.empty() || Exists(path)) return !path.empty();
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
  return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// A relative XDG_..._HOME is invalid and to be ignored.
std::string XdgHome(const char* xdgValue, const char* home, const char* underHome) {
  if (xdgValue && xdgValue[0] == '/') return xdgValue;
  if (home && home[0] == '/') return std::string(home) + underHome;
  return {};
}

}  // namespace

std::string ConfigHome(const char* xdgConfigHome, const char* home) {
  return XdgHome(xdgConfigHome, home, "/.config");
}

std::string CacheHome(const char* xdgCacheHome, const char* home) { return XdgHome(xdgCacheHome, home, "/.cache"); }

SettingsLocation ChooseSettingsFile(const std::string& programFolder, const SettingsEnvironment& env) {
  SettingsLocation l;
  l.shipped = SettingsPath(programFolder);
  l.path = l.shipped;
  if (!env.libReadOnly) {
    l.why = "the program folder's LIB can be written";
    return l;
  }
  if (env.configHome.empty()) {
    l.why = programFolder + "/LIB cannot be written and no configuration folder is known (HOME is not set)";
    return l;
  }
  l.place = SettingsPlace::UserFolder;
  l.path = env.configHome + "/kirrup/Kirrup.ini";
  l.why = programFolder + "/LIB cannot be written by this user";
  return l;
}

SettingsEnvironment ProbeSettingsEnvironment(const std::string& programFolder) {
  SettingsEnvironment env;
  const std::string lib = programFolder + "/LIB";
  if (::access(lib.c_str(), W_OK) != 0) env.libReadOnly = errno == EACCES || errno == EROFS || errno == EPERM;
  env.configHome = ConfigHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  return env;
}

SettingsLocation FindSettingsFile(const std::string& programFolder) {
  return ChooseSettingsFile(programFolder, ProbeSettingsEnvironment(programFolder));
}

bool PrepareSettingsFile(const SettingsLocation& l) {
  if (l.place != SettingsPlace::UserFolder) return true;
  const size_t slash = l.path.find_last_of('/');
  if (slash == std::string::npos || !MakeFolders(l.path.substr(0, slash))) return false;
  if (Exists(l.path) || !Exists(l.shipped)) return true;
  std::ifstream in(l.shipped, std::ios::binary);
  if (!in) return false;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return false;
  // Atomic: a second program starting at the same moment never reads half a copy.
  return platform::WriteFileAtomically(l.path, bytes);
}

std::string SettingsFileToRead(const SettingsLocation& l) {
  if (l.place == SettingsPlace::UserFolder && !Exists(l.path) && Exists(l.shipped)) return l.shipped;
  return l.path;
}

std::string DeviceImageFolder(const SettingsLocation& l, const std::string& cacheHome) {
  if (l.place != SettingsPlace::UserFolder || cacheHome.empty()) return {};
  return cacheHome + "/kirrup";
}

std::string PrepareDeviceImageFolder(const SettingsLocation& l) {
  const std::string folder = DeviceImageFolder(l, CacheHome(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME")));
  return folder.empty() || MakeFolders(folder) ? folder : std::string();
}

}  // namespace kirrup
