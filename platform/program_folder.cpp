// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/program_folder.h"

#include <unistd.h>

#include <vector>

namespace kirrup::platform {

std::string ExecutablePath() {
  // No fixed limit: grow the buffer until the link fits.
  std::vector<char> buf(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

std::string FolderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(0, slash));
}

std::string ProgramFolder() { return FolderOf(ExecutablePath()); }

}  // namespace kirrup::platform
