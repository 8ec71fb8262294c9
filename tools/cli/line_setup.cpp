#include "tools/cli/line_setup.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "lines/led_type.h"

namespace kirrup::cli {

std::string ProgramFolder() {
  std::string path(PATH_MAX, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return ".";
  path.resize(static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

void ApplyLineSettings(const std::string& programFolder) {
  (void)programFolder;
  ApplyLed11Settings(2, 156);
}

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace kirrup::cli
